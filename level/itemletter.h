// SPDX-License-Identifier: MIT
#pragma once

// The letter of an item, A to Z, and its number 0 to 25 in every table of
// the kit. Only capitals name items: tags, rules and requirements alike.
struct ItemLetter
{
    // The item a letter names; -1 for any other character.
    static constexpr int item(char32_t letter) { return letter >= U'A' && letter <= U'Z' ? int(letter - U'A') : -1; }
    static constexpr char32_t of(int item) { return char32_t(U'A' + item); }
};
