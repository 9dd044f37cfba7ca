// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

class CheckLevelDialog;
class LevelDocument;
class LevelSaver;
class Platform;
class PlayerLauncher;

// "Play the Walkthrough" of the "Check Level" window: once the level file
// holds the level as checked (saved first if the author agrees), the player
// starts on it typing the walkthrough the check found; "Play into It" does
// the same with the shortest way into a dead end, so the author sees the
// player get stuck.
class WalkthroughPlayer
{
public:
    WalkthroughPlayer(LevelDocument &document, Platform &platform, LevelSaver &saver, PlayerLauncher &player);

    void play(CheckLevelDialog &checker);
    // deadEnd: its place in the check's list of ways to get stuck.
    void playInto(CheckLevelDialog &checker, int deadEnd);

private:
    void type(CheckLevelDialog &checker, const std::vector<std::string> &commands);
    // Whether the walkthrough wins the level the player would play: the level
    // is as checked, and the file holds it, saved first if the author agrees.
    bool playable(CheckLevelDialog &checker);

    LevelDocument &document;
    Platform &platform;
    LevelSaver &saver;
    PlayerLauncher &player;
};
