// SPDX-License-Identifier: MIT
#include "levellookup.h"

#include <algorithm>
#include <filesystem>

std::string LevelLookup::resolve(const std::string &named, const std::string &namingLevel,
                                 const std::map<std::string, std::string> &held)
{
    // Levels that chain to each other lie together; when the player was not
    // started in their folder, the name is meant from the level naming it.
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (named.empty() || held.count(named) || named.front() == '/' || fs::exists(named, ignored))
        return named;
    std::string beside = (fs::path(namingLevel).parent_path() / named).string();
    return held.count(beside) || fs::is_regular_file(beside, ignored) ? beside : named;
}

std::string LevelLookup::unquoted(std::string commandLine)
{
    commandLine.erase(std::remove(commandLine.begin(), commandLine.end(), '"'), commandLine.end());
    return commandLine;
}
