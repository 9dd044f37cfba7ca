// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>

// Where the player finds a level that a LOADLEVEL names: as named, from the
// current folder, when that exists or the name is absolute; else beside the
// level that names it, when a file lies there; else as named, so the load
// reports the missing file under the name the author wrote. The publisher
// follows chains by the same rule, so a page finds what the player finds.
// A level held in memory (Game::Setup::heldLevels) is found as a file lying
// under its path would be.
class LevelLookup
{
public:
    static std::string resolve(const std::string &named, const std::string &namingLevel,
                               const std::map<std::string, std::string> &held = {});
    // The level a command line names: all of it, every double quote left
    // out, as the desktop may quote a path that holds blanks.
    static std::string unquoted(std::string commandLine);
};
