// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The address of one location on the 9 by 9 map: row 1 to 9 from the top,
// column 1 to 9 standing for the letters A to I. Written as "3C".
struct GridRef
{
    static constexpr int Size = 9;

    int row = 0;
    int col = 0;

    bool isValid() const { return row >= 1 && row <= Size && col >= 1 && col <= Size; }
    // Position in a row-major table of 81 locations.
    int index() const { return (row - 1) * Size + (col - 1); }
    std::string name() const { return std::to_string(row) + columnLetter(col); }

    static char columnLetter(int col) { return char('A' + col - 1); }
    static GridRef fromIndex(int index) { return {index / Size + 1, index % Size + 1}; }

    friend bool operator==(const GridRef &, const GridRef &) = default;
};
