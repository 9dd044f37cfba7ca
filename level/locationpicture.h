// SPDX-License-Identifier: MIT
#pragma once

#include "locationrecord.h"

#include <array>
#include <string>
#include <vector>

// What the map's picture of a location shows: its type, whether items lie
// there, and its four exits. Each of the 96 combinations has a picture file,
// named "AI0010.bmp" for a start with items and an east exit, "1001.bmp" for
// an ordinary location without items and with exits north and west.
struct LocationPicture
{
    enum class Kind { Ordinary, Start, End }; // End also stands for a level load

    Kind kind = Kind::Ordinary;
    bool items = false;
    std::array<bool, 4> exits{}; // in Direction order

    std::string fileName() const;

    // The picture of a record: "START" anywhere makes a start, "ENDGAME" or
    // "LOADLEVEL" an end (the later test winning); "|ITEM " shows items.
    static LocationPicture of(const LocationRecord &record);
    // All 96 pictures.
    static std::vector<LocationPicture> all();

    friend bool operator==(const LocationPicture &, const LocationPicture &) = default;
};
