// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "gridref.h"
#include "locationrecord.h"
#include "textcodec.h"

#include <array>
#include <optional>
#include <vector>

// Everything a level file holds, as the reading rules give it.
struct Level
{
    static constexpr int ItemCount = 26;
    static constexpr int ComboRows = 100;
    static constexpr int LocationCount = GridRef::Size * GridRef::Size;

    // One record per location, row-major (GridRef::index); empty when unused.
    std::array<LocationRecord, LocationCount> records;
    // Item names for the letters A to Z, from the third character of the line.
    std::array<Text, ItemCount> items;
    // Combination rows in file order, at most ComboRows.
    std::vector<Combo> combos;
    // Items named by a line of a block that reads "ITEM X" once trimmed.
    std::array<bool, ItemCount> placed{};
    // The location of the last "START" line read.
    std::optional<GridRef> start;
    // The location headers read, in file order (a location may come twice).
    std::vector<GridRef> blocks;
    // How many "[MAP]" lines the file holds.
    int mapSections = 0;
    // Whether an "[ITEMS]" or a "[COMBOS]" section was read.
    bool itemsSection = false;
    bool combosSection = false;
    TextCodec::Encoding encoding = TextCodec::Encoding::Utf8;

    // Whether the file held anything a level file holds: a "[MAP]" line, a
    // location block, an "[ITEMS]" or a "[COMBOS]" section. A file without
    // any (a text, a picture, an empty file) is some other file: no program
    // plays it, checks it, publishes it or writes over it as a level.
    bool isLevel() const { return mapSections > 0 || !blocks.empty() || itemsSection || combosSection; }

    LocationRecord &record(GridRef ref) { return records[ref.index()]; }
    const LocationRecord &record(GridRef ref) const { return records[ref.index()]; }
};
