// SPDX-License-Identifier: MIT
#pragma once

#include "commandtable.h"
#include "levelreader.h"
#include "problem.h"

#include <bitset>
#include <string>
#include <vector>

// What is wrong with one level file as the player reads it: its start, its
// exits, the items and rules, the LOADLEVEL locations, and texts that act as
// tags. Every tag is read through LocationRecord, as the player reads it.
class LevelLint
{
public:
    // read: the file as read; path: where it lies (LOADLEVEL names are looked
    // up from it); chained: loaded by another level, not played first;
    // commands: the language's, for names that its combine sentences catch.
    LevelLint(const LevelReader::Result &read, const std::string &path, bool chained, const CommandTable &commands);

    const std::vector<Problem> &problems() const { return found; }
    // The level files its LOADLEVEL locations lead to, as the player finds them.
    const std::vector<std::string> &chainedLevels() const { return chained; }

    // What the problems already say no play can reach, so that a search
    // that finds the same by playing need not say it again.
    struct NeverPlayed
    {
        std::bitset<Level::LocationCount> locations; // no way along exits leads there
        std::uint32_t items = 0; // bit n: the player can never have or name item n
        std::vector<bool> rules; // by row of Level::combos: never combines anything
    };
    const NeverPlayed &neverPlayed() const { return never; }

private:
    void checkStart(bool chained);
    void checkExits();
    void checkReach();
    void checkItems(const CommandTable &commands);
    void checkRules();
    void checkLevelLoads();
    void checkTagsInTexts();
    void checkTagsIn(GridRef ref, TextView piece, const std::string &what);

    void add(Problem::Severity severity, std::optional<GridRef> where, int line, std::string text);
    int lineOf(GridRef ref, TextView piece) const;
    int lineAt(GridRef ref, std::size_t offset) const;
    std::string itemName(int item) const;

    const Level &level;
    const LevelLines &lines;
    std::string path;
    std::vector<Problem> found;
    std::vector<std::string> chained;
    NeverPlayed never;
};
