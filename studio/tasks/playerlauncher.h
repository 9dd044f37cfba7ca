// SPDX-License-Identifier: MIT
#pragma once

#include "shippedfiles.h"

#include <QStringList>

#include <memory>

class Platform;
class QTemporaryDir;
class QWidget;

// Starts the game player, which lies beside the studio, on a level: to try
// it, or typing a walkthrough. The player gets the level path untouched by
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

private:
    // Writes the lines into a file that lasts as long as the studio runs;
    // empty, with the author told, when it cannot be written.
    QString walkthroughFile(QWidget *parent, const QStringList &lines);

    Platform &platform;
    ShippedFiles files;
    std::unique_ptr<QTemporaryDir> walkthroughs;
    int walkthroughCount = 0;
};
