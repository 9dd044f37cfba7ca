// SPDX-License-Identifier: MIT
#include "combination.h"

#include <algorithm>

std::vector<Combination::Naming> Combination::named(TextView command, const Names &names, std::uint32_t among)
{
    std::vector<Naming> words;
    words.reserve(std::size_t(std::count(command.begin(), command.end(), U' ')) + 1);
    for (TextView word : text::split(command, U' ')) {
        if (word.empty())
            continue;
        Naming naming{text::upper(word), 0};
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (((among >> item) & 1u) && text::contains(names[item], naming.word))
                naming.items |= 1u << item;
        }
        words.push_back(std::move(naming));
    }
    return words;
}

char32_t Combination::letter(char32_t c)
{
    const Text upper = text::upper(TextView(&c, 1));
    return upper.size() == 1 ? upper[0] : 0;
}

Combo Combination::asPlayed(const Combo &rule)
{
    return {letter(rule.first), letter(rule.second), letter(rule.result)};
}

bool Combination::joins(const Combo &rule, int a, int b)
{
    const char32_t first = ItemLetter::of(a);
    const char32_t second = ItemLetter::of(b);
    return (rule.first == first && rule.second == second) || (rule.first == second && rule.second == first);
}

std::optional<std::pair<int, int>> Combination::ingredients(const Combo &rule)
{
    const int a = ItemLetter::item(rule.first);
    const int b = ItemLetter::item(rule.second);
    if (a < 0 || b < 0 || a == b)
        return std::nullopt;
    return std::pair{a, b};
}
