// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The levels a game can reach from its first level: that level and, one
// level after another, every level a LOADLEVEL location names, found where
// the player finds it (from the current folder, else beside the level naming
// it). Each level must be one, and read whole: a fault that lost lines, or
// a file that gives no level, stops the chain with its message.
class LevelChain
{
public:
    // One name the player may load a level by.
    struct Route
    {
        std::string path;
        // How many leading characters of path are the folder of a first
        // level named by an absolute path: only the command line names
        // them, never a level. 0 when there are none.
        std::size_t hidden = 0;
    };

    struct File
    {
        std::string path; // as the player names it when it first loads the level
        std::string bytes;
        // Every name it is reached by, path first: LOADLEVEL lines that
        // name one level two ways each make the player load it by theirs.
        std::vector<Route> routes;
    };

    struct Result
    {
        std::vector<File> files; // the first level first
        std::string error; // names the file and the line; empty when all was read
        // Faults that lost nothing, which the player shows as it loads the level.
        std::vector<std::string> warnings;

        bool ok() const { return error.empty(); }
    };

    static Result follow(const std::string &firstLevel);
};
