// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "level.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// How a combine command works. It has no fixed form: every word of it (the
// pieces between blanks) names each item whose name holds the word, both in
// capitals; the carried items its words name, word by word and each word's
// in letter order, are its operands, and it combines when there are exactly
// two. The rules of the level then decide what the two make.
class Combination
{
public:
    using Names = std::array<Text, Level::ItemCount>; // the item names in capitals

    struct Naming
    {
        Text word; // in capitals
        std::uint32_t items; // bit n: item n
    };
    // Each word of the command with the items of among (bit n: item n) it
    // names. Two blanks in a row leave an empty word, which names nothing.
    static std::vector<Naming> named(TextView command, const Names &names, std::uint32_t among);

    // Whether words that name these items (bit n: item n, one entry a word)
    // of all items give exactly the two different operands a and b while
    // carried is carried.
    static bool namesPair(const std::uint32_t *words, std::size_t count, std::uint32_t carried, int a, int b)
    {
        int operands = 0;
        std::uint32_t items = 0;
        for (std::size_t i = 0; i < count; ++i) {
            operands += std::popcount(words[i] & carried);
            items |= words[i] & carried;
        }
        return operands == 2 && items == (1u << a | 1u << b) && a != b;
    }

    // A rule's letter as play compares it: in capitals; 0 for a letter whose
    // capital is several characters.
    static char32_t letter(char32_t c);
    static Combo asPlayed(const Combo &rule);
    // Whether a rule as played joins operands a and b, in either order. Two
    // operands that are one item are refused, whatever rule joins them.
    static bool joins(const Combo &rule, int a, int b);
    // The two different items a rule as played can combine; nothing for a
    // rule that names no item or one item twice, which never makes anything.
    static std::optional<std::pair<int, int>> ingredients(const Combo &rule);
};
