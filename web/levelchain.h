// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The levels a game can reach from its first level: that level and, one
// level after another, every level a LOADLEVEL location names, found where
// the player finds it (from the current folder, else beside the level naming
// it). Each level is read whole and must read without a fault.
class LevelChain
{
public:
    struct File
    {
        std::string path; // as the player names it when it loads the level
        std::string bytes;
    };

    struct Result
    {
        std::vector<File> files; // the first level first
        std::string error; // names the file and the line; empty when all was read

        bool ok() const { return error.empty(); }
    };

    static Result follow(const std::string &firstLevel);
};
