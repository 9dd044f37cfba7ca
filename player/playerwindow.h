// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "gamehost.h"

#include <QWidget>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class Console;
class GameFileActions;
class HintAsker;
class Platform;
class QAction;
class QLabel;
class QTimer;

// The player's window: one console filling it, green on black, where the game
// writes and where the user types each command at the end and presses Enter;
// whatever is typed or pasted goes there, wherever the caret was.
// The game starts once the window is first shown. Ctrl+plus and Ctrl+minus
// change the console's text size, which the player remembers; a screen reader
// hears each turn's new text as one piece. F1 (actionHint, also in the
// console's menu) shows a hint in a line under the console, found while the
// game goes on, and gone with the next command.
class PlayerWindow : public QWidget, public GameHost
{
    Q_OBJECT

public:
    // The console's text size in points: its default and its range.
    static constexpr int DefaultFontSize = 12;
    static constexpr int MinFontSize = 8;
    static constexpr int MaxFontSize = 40;

    PlayerWindow(Platform &platform, const Game::Setup &setup, QWidget *parent = nullptr);

    int fontSize() const;

    void append(TextView text) override;
    void clear() override;
    void prependLineBreak() override;
    void inform(const std::string &text) override;

    // Types the lines into the console one at a time, each as soon as the
    // game waits and pace after the one before, so the user can follow them;
    // the keyboard is the user's again after the last.
    void typeLines(std::vector<Text> lines, std::chrono::milliseconds pace = std::chrono::milliseconds(500));

    const Game &currentGame() const { return game; }
    // Plays a new game on setup in place of the one played, begun by begin
    // (which calls start() or restore() on it). When begin returns why the
    // new game cannot be played, the game played goes on untouched and the
    // reason is returned; else the lines still to type are dropped.
    std::string replaceGame(const Game::Setup &setup, const std::function<std::string(Game &)> &begin);
    // Saving, restoring and restarting the game.
    GameFileActions &gameFiles() const { return *files; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void lineEntered();
    // Asks the game's questions, then closes the window when the game has
    // ended or goes inert when it stopped.
    void settle();
    void typeNext();
    // Puts what the game wrote since the console was last shown into it, in
    // one insertion, so that a screen reader reads the turn as one text.
    void flush();
    void setFontSize(int points);
    void hint();
    void showHint(const QString &line);
    void dropHint();

    Platform &platform;
    Console *Text1;
    QString pending; // written by the game, not yet in the console
    Game game;
    bool shown = false;
    bool busy = false; // a line is being handled; a question may be open
    std::deque<Text> typed; // lines still to type for the user
    bool typing = false; // the first of them stands typed, before its Enter
    QTimer *typist;
    GameFileActions *files;
    QAction *actionHint;
    QLabel *HintLine;
    HintAsker *hints;
};
