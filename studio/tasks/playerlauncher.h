// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "shippedfiles.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class Platform;
class QTemporaryDir;
class QWidget;

// Starts the game player, which lies beside the studio, on a level: to try
// it, typing a walkthrough, or from one of its locations. The player gets the level path untouched by
// any shell, after "--", so a level whose name starts with "-" is still taken
// for the level. The studio does not wait for it; a player that cannot be
// started is said so over the window given as parent.
class PlayerLauncher
{
public:
    explicit PlayerLauncher(Platform &platform);
    ~PlayerLauncher();

    // The test launch after "Save Level Changes".
    void test(QWidget *parent, const QString &level);
    // The player types lines first, one about every half second.
    void playTyping(QWidget *parent, const QString &level, const QStringList &lines);
    // "Play from Here": the player goes on with a game saved as though the
    // player had just walked into the location, carrying the given items
    // (bit n: item n, 0 = A), in the given language of the player's
    // language file (1 for the first).
    void playFrom(QWidget *parent, const QString &level, GridRef at, std::uint32_t carried, int language);
    // The names of the languages the player offers; nothing, with the
    // author told why, when its language file is missing or unusable.
    std::optional<QStringList> languages(QWidget *parent);

private:
    // Writes the lines into a file that lasts as long as the studio runs;
    // empty, with the author told, when it cannot be written.
    QString walkthroughFile(QWidget *parent, const QStringList &lines);
    // The path of a new file named after kind in a folder that lasts as
    // long as the studio runs: the player reads it as it starts, which may
    // be after the studio has moved on. Empty, with why, when the folder
    // cannot be made.
    QString newFile(const QString &kind, const QString &suffix, QString *why);

    Platform &platform;
    ShippedFiles files;
    std::unique_ptr<QTemporaryDir> folder;
    int fileCount = 0;
};
