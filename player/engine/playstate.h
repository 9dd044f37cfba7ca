// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "level.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Where a game stands: which of the game's levels is played, the position,
// the items carried, and each location's record as play has changed it (an
// id in the game's RecordPool). Everything else a turn needs is read-only
// level and language data, so this plain value is the whole game: copying it
// saves the game, comparing two tells whether they are the same game.
struct PlayState
{
    std::uint16_t level = 0; // index into the game's levels
    std::int8_t row = 0; // 0 until a start location is read
    std::int8_t col = 0;
    std::uint32_t carried = 0; // bit n: item n (0 = A) is carried
    std::array<std::uint32_t, Level::LocationCount> records{};

    GridRef position() const { return {row, col}; }
    bool carries(int item) const { return (carried >> item) & 1u; }
    void setCarried(int item, bool on)
    {
        carried = on ? carried | (1u << item) : carried & ~(1u << item);
    }

    friend bool operator==(const PlayState &, const PlayState &) = default;
};

struct PlayStateHash
{
    std::size_t operator()(const PlayState &state) const
    {
        // FNV-1a over the fields, 32 bits at a time.
        std::uint64_t hash = 0xcbf29ce484222325ull;
        auto mix = [&hash](std::uint64_t value) {
            hash ^= value;
            hash *= 0x100000001b3ull;
        };
        mix(state.level);
        mix(std::uint64_t(std::uint8_t(state.row)) << 8 | std::uint8_t(state.col));
        mix(state.carried);
        for (std::uint32_t id : state.records)
            mix(id);
        return std::size_t(hash ^ (hash >> 29));
    }
};
