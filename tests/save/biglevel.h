// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

#include <string>

// The size of the level the fault tests save: large enough that writing it
// takes a while.
constexpr std::size_t BigLevelSize = 2 << 20;

// A level of about the given size whose every location, item and rule says
// which version it is, so that two versions differ all through the file.
inline Level bigLevel(int version, std::size_t size)
{
    Level level;
    const std::string mark = std::to_string(version);
    const Text tag(mark.begin(), mark.end());
    for (int i = 0; i < Level::ItemCount; ++i)
        level.items[i] = U"thing-" + tag + U'-' + char32_t(U'a' + i);
    const std::size_t each = size / Level::LocationCount;
    for (int i = 0; i < Level::LocationCount; ++i) {
        const Text line = U"Room " + text::number(i) + U" as version " + tag + U" tells it.\r\n";
        Text narrative;
        narrative.reserve(each + line.size());
        while (narrative.size() < each)
            narrative += line;
        level.records[i] = LocationRecord(narrative + U"|PATH E|ITEM " + char32_t(U'A' + i % 26) + U'|'
                                          + (i == 0 ? U"START|" : U""));
    }
    level.combos = {{U'A', U'B', char32_t(U'C' + version % 20)}};
    return level;
}
