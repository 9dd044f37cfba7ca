// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"

#include <QObject>
#include <QString>

#include <string>

class Platform;
class PlayerWindow;
class QWidget;

// The player window's saved games: "Save Game…" (Ctrl+S) and "Restore
// Game…" (Ctrl+O), each through the desktop's file dialog, and "Restart",
// which starts the game over from its first level, as actions of the
// console's context menu. A restore replaces the game played only when the
// saved game can go on; otherwise the game played goes on and a message
// says why, naming the file.
class GameFileActions : public QObject
{
    Q_OBJECT

public:
    static constexpr char Filter[] = "Saved games (*.qwsave)";

    // setup: the one the window started with.
    GameFileActions(PlayerWindow &window, QWidget &console, Platform &platform, const Game::Setup &setup);

    // Goes on with the game saved in path in place of the one played;
    // empty when it does, else why not (the game played goes on).
    std::string restore(const std::string &path);
    // Saves the game played to path; empty when saved, else why not.
    std::string save(const std::string &path) const;

    // What the actions do, asking the user where they need to.
    void saveGame();
    void restoreGame();
    void restart();

private:
    PlayerWindow &window;
    Platform &platform;
    Game::Setup setup; // restart plays its level; after a restore, the saved game's first
    QString lastFile; // the saved game last saved or restored: the dialog's suggestion
};
