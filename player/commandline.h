// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The player's options and the level it is asked to play, read from the
// program's arguments before any window system is touched.
class CommandLine
{
public:
    // arguments without the program name
    static CommandLine parse(const std::vector<std::string> &arguments);
    // The help, as --help shows it.
    static std::string usage();

    bool tty = false;
    bool help = false;
    bool version = false;
    std::string languageFile; // empty: Language.txt from the data folder
    // Lines typed for the user before the user types; empty: none.
    std::string walkthroughFile;
    // The saved game to go on with instead of a level; empty: none.
    std::string restoreFile;
    // Where the game is saved when the input ends or the player quits; empty: nowhere.
    std::string saveFile;
    // What follows the options, joined by single spaces, double quotes removed.
    std::string level;
    std::string error; // a wrong option; empty when the arguments are fine
};
