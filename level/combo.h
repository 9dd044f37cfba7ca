// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <algorithm>
#include <array>
#include <optional>

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
    // The rule a row of the item manager states: its two boxes' texts,
    // trimmed and taken as typed, joined into the line form with the row's
    // result letter and read back by position as a level file's rule is, so
    // only one-letter ingredients make a sound rule. A "|" typed into a box
    // goes in as "/", as "|" ends a piece in every text form of a level.
    // Nothing when the first box is blank, whatever the second holds.
    static std::optional<Combo> fromRow(TextView first, TextView second, char32_t result)
    {
        auto typed = [](TextView box) {
            Text text(text::trimSpaces(box));
            std::replace(text.begin(), text.end(), U'|', U'/');
            return text;
        };
        const Text f = typed(first);
        if (f.empty())
            return std::nullopt;
        return fromLine(f + U'+' + typed(second) + U'=' + result);
    }
    // The line form held in place, for a writer that copies it at once: a
    // level holds many rules, and each as a Text of its own would cost an
    // allocation.
    struct Line
    {
        std::array<char32_t, 5> chars{};
        std::size_t size = 0;
        operator TextView() const { return {chars.data(), size}; }
    };
    // The line form; a missing character is left out.
    Line lineInPlace() const
    {
        Line line;
        for (char32_t c : {first, U'+', second, U'=', result}) {
            if (c != 0)
                line.chars[line.size++] = c;
        }
        return line;
    }
    Text line() const { return Text(TextView(lineInPlace())); }

    friend bool operator==(const Combo &, const Combo &) = default;
};
