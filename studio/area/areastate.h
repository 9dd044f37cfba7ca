// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

#include <array>
#include <cstdint>
#include <vector>

// What the "Area Stats" dialog shows for one location, apart from its widgets:
// built from the location's record when it opens, and turned back into a record
// when the author presses "OK". Texts hold line breaks as CR LF, as records do.
struct AreaState
{
    using Kind = LocationRecord::Kind;
    using Names = std::array<Text, Level::ItemCount>;

    struct Path
    {
        bool exists = false;
        Text item; // the required item's name; blank for none
        Text lockout; // told when the player lacks the item
        friend bool operator==(const Path &, const Path &) = default;
    };

    // An entry of the item lists. The letter travels with the name, so that
    // items sharing one name keep their own letters; NoLetter is looked up by
    // name.
    struct Item
    {
        static constexpr int NoLetter = -1;
        Text name;
        int letter = NoLetter; // 0 to 25 for A to Z
        friend bool operator==(const Item &, const Item &) = default;
    };

    struct Commit
    {
        LocationRecord record;
        std::uint32_t freeItems = 0; // bit n: item n now lies nowhere
        std::vector<Text> warnings; // to show the author, in order
    };

    Text narrative;
    std::array<Path, 4> paths; // in Direction order
    std::vector<Item> itemsHere;
    std::vector<Item> unusedItems;
    Kind type = Kind::NotUsed;
    Text levelFile;
    Text levelNarrative;

    // Reads a record. names holds the item names from A on (blank for no item),
    // placed whether each item lies somewhere; inUse tells whether the map shows
    // the location as used, which is the first guess of its type.
    static AreaState open(const LocationRecord &record, const Names &names, const std::array<bool, Level::ItemCount> &placed,
                          bool inUse);

    // The record for the dialog's state, the free items and the warnings.
    Commit commit(const Names &names) const;

    // The first item named exactly name, or NoLetter.
    static int letterOf(TextView name, const Names &names);
};
