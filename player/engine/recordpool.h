// SPDX-License-Identifier: MIT
#pragma once

#include "locationrecord.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

// Every location record a game has seen, each kept once and named by a
// number, with what the rules read from it worked out once: play states then
// hold numbers instead of texts, and a turn reads its answers from a table.
class RecordPool
{
public:
    struct Facts
    {
        std::uint8_t paths = 0; // bit d: "PATH N", "PATH S", ... in Direction order
        std::array<std::optional<LocationRecord::Requirement>, 4> requirements;
        std::uint32_t items = 0; // bit n: "ITEM X" for item n
        bool end = false;
        bool loadsLevel = false;
        std::optional<LocationRecord::LevelLoad> levelLoad; // the player's reading
    };

    RecordPool();
    // A copy holds records of its own: its index and its facts view them,
    // not the other pool's, which may go while the copy plays on.
    RecordPool(const RecordPool &other);
    RecordPool &operator=(const RecordPool &other);
    RecordPool(RecordPool &&) = default;
    RecordPool &operator=(RecordPool &&) = default;

    // The number of this record; 0 is the empty record.
    std::uint32_t intern(LocationRecord record);
    const LocationRecord &record(std::uint32_t id) const { return entries[id].record; }
    const Facts &facts(std::uint32_t id) const { return entries[id].facts; }

    // The record after taking item n (every tag of it removed) or dropping
    // it (its tag appended); remembered, as play repeats them.
    std::uint32_t withoutItem(std::uint32_t id, int item);
    std::uint32_t withItem(std::uint32_t id, int item);

    // The number of the plainest record that plays exactly like this one
    // from now on, for tools that tell game states apart: taking an item
    // leaves an empty piece behind, and the order in which items were
    // dropped stays in the text, though neither ever changes what a command
    // does. A record whose item tags are all pieces of their own ("ITEM X"
    // between "|") and that holds no LOADLEVEL (whose file name runs across
    // pieces) is given with its narrative first, its other pieces in order
    // without the empty ones, then each item it holds once, in letter order.
    std::uint32_t plainest(std::uint32_t id);

    std::size_t size() const { return entries.size(); }

private:
    struct Entry
    {
        LocationRecord record;
        Facts facts;
    };

    std::uint32_t changed(std::uint32_t id, int item, bool drop);

    // A deque keeps each record where it is, so the index can view its text.
    std::deque<Entry> entries;
    std::unordered_map<TextView, std::uint32_t> index;
    // The result of each take and drop met, in a table of its own: tools that
    // replay many games look them up millions of times.
    struct Change
    {
        std::uint64_t key = ~std::uint64_t(0); // none
        std::uint32_t result = 0;
    };
    std::vector<Change> changes;
    std::size_t changeCount = 0;
    std::vector<std::uint32_t> plain; // plainest() of each id; 0 when not yet known
};
