// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "level.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

// Where the parts of a level stood in its file, so that a message about a
// location, an item or a rule can name the line an author has to look at.
// Lines are 1-based; 0 means the file gave no line.
struct LevelLines
{
    // For each location, every line its blocks appended to the record: where
    // that line's piece begins in the record text, and its line in the file.
    std::array<std::vector<std::pair<std::size_t, int>>, Level::LocationCount> pieces;
    // The first header line of each location.
    std::array<int, Level::LocationCount> headers{};
    // The line that named each item.
    std::array<int, Level::ItemCount> items{};
    // The line of each rule row, in the order of Level::combos.
    std::vector<int> combos;
    // Every "START" line read, in file order: the last one is the start.
    std::vector<std::pair<GridRef, int>> starts;

    // The line that holds the character at offset in the location's record.
    int lineAt(GridRef ref, std::size_t offset) const
    {
        int line = headers[ref.index()];
        for (const auto &[start, number] : pieces[ref.index()]) {
            if (start > offset)
                break;
            line = number;
        }
        return line;
    }
};
