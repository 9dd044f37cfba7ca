// SPDX-License-Identifier: MIT
#pragma once

#include "chunkedvector.h"
#include "idtable.h"
#include "playstate.h"

#include <cstdint>
#include <vector>

// The worlds the search has met: the record of each of the 81 locations of
// a level. A take or a drop makes a new world, but moving and combining do
// not, so many play states share one world, each kept once here and named
// by a number. A world one take or drop away from a known one is kept as
// that change alone (16 bytes); only the first world of a level, and one
// now and then to keep the chains short, is kept whole.
class WorldStore
{
public:
    using Records = decltype(PlayState::records);

    // One location's record changed in a known world: what a take or a drop
    // does to it.
    struct Change
    {
        std::uint32_t from;
        std::uint32_t record;
        std::uint32_t hash; // of the world it makes
        std::uint8_t location;
    };

    // The change of the record at location from before to record in the
    // world from.
    Change change(std::uint32_t from, std::size_t location, std::uint32_t before, std::uint32_t record) const;
    // Starts fetching what intern(change) will look at first.
    void prefetch(const Change &change) const { index.prefetch(change.hash); }
    // The number of the world the change makes; a new one when it was not met before.
    std::uint32_t intern(const Change &change);
    // The number of the world records, with nothing known to start from.
    std::uint32_t intern(const Records &records);
    void records(std::uint32_t world, Records &out) const;

    std::size_t size() const { return worlds.size(); }
    std::size_t bytes() const
    {
        return worlds.bytes() + index.bytes() + wholes.capacity() * sizeof(Records);
    }

private:
    struct World
    {
        std::uint32_t hash;
        std::uint32_t base; // the world changed; for a whole one, its place in wholes
        std::uint32_t record; // the new record
        std::uint8_t location;
        std::uint8_t depth; // changes since a whole world; 0 for a whole one
    };

    static std::uint32_t mix(std::size_t location, std::uint32_t record);
    static std::uint32_t hashOf(const Records &records);
    bool same(std::uint32_t world, const Records &records) const;
    std::uint32_t add(const World &world);

    ChunkedVector<World, 14> worlds;
    std::vector<Records> wholes;
    IdTable index;
};
