// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

// One combination rule: the result item is made from the two ingredients.
// Each field is one character, an item letter as a rule is meant to hold, or
// 0 where the row has no character there.
struct Combo
{
    char32_t first = 0;
    char32_t second = 0;
    char32_t result = 0;

    // A row whose first ingredient is blank states no rule.
    bool isFree() const { return first == 0 || first == U' '; }

    // A rule as a level file and the item manager write it, "B+C=D", read by
    // position: the 1st, 3rd and 5th characters, whatever stands between.
    static Combo fromLine(TextView line)
    {
        auto at = [line](std::size_t i) { return i < line.size() ? line[i] : char32_t(0); };
        return {at(0), at(2), at(4)};
    }
    // The line a level file holds, which reads back as this row: a row cut
    // short ends at its first missing character (with line() a lone "F"
    // would come back with "=" as its second ingredient, and grow by one
    // "=" with each save).
    Text fileLine() const
    {
        Text text(1, first);
        if (second != 0) {
            text += U'+';
            text += second;
            if (result != 0) {
                text += U'=';
                text += result;
            }
        }
        return text;
    }
    // The line form; a missing character is left out.
    Text line() const
    {
        Text text;
        for (char32_t c : {first, U'+', second, U'=', result}) {
            if (c != 0)
                text += c;
        }
        return text;
    }

    friend bool operator==(const Combo &, const Combo &) = default;
};
