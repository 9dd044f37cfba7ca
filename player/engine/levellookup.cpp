// SPDX-License-Identifier: MIT
#include "levellookup.h"

#include <algorithm>
#include <filesystem>

std::string LevelLookup::resolve(const std::string &named, const std::string &namingLevel)
{
    // Levels that chain to each other lie together; when the player was not
    // started in their folder, the name is meant from the level naming it.
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (named.empty() || fs::exists(named, ignored) || named.front() == '/')
        return named;
    const fs::path beside = fs::path(namingLevel).parent_path() / named;
    return fs::is_regular_file(beside, ignored) ? beside.string() : named;
}

std::string LevelLookup::unquoted(std::string commandLine)
{
    commandLine.erase(std::remove(commandLine.begin(), commandLine.end(), '"'), commandLine.end());
    return commandLine;
}
