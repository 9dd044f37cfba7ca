// SPDX-License-Identifier: MIT
#pragma once

#include "combination.h"
#include "commandtable.h"
#include "game.h"

#include <cstdint>
#include <utility>
#include <vector>

// Words a combine command for each pair of items that a level's rules join.
// The player takes every word of such a command that occurs inside a carried
// item's name as naming that item, the combine word and connector included
// (Combination), so the natural sentence "COMBINE rope WITH hook" may name a
// third item or the same one twice. Of the sentences made of a combine word,
// a word of each name and a connector or none, in that order, the first the
// player reads as a combine command that names exactly the two is used.
class CombineWording
{
public:
    // pairs: the two different items (0 to 25) of each pair.
    CombineWording(const CommandTable &commands, const Game::LoadedLevel &level,
                   const std::vector<std::pair<int, int>> &pairs);

    // The command for pair (an index into pairs) while the items of carried
    // (bit n: item n) are carried; nullptr when no sentence names exactly
    // those two.
    const Text *command(std::size_t pair, std::uint32_t carried) const;

private:
    // A sentence as typed, with the items each of its words names whenever
    // they are carried.
    struct Sentence
    {
        Text text;
        std::vector<std::uint32_t> names;
    };
    // The sentences of a pair in the order they are tried, their words'
    // items side by side, as every state that carries both reads them.
    struct Pair
    {
        int a;
        int b;
        std::vector<Text> texts;
        std::vector<std::uint32_t> ends; // where each sentence's words end in names
        std::vector<std::uint32_t> names;
    };
    std::vector<Pair> byPair;
};
