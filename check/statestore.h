// SPDX-License-Identifier: MIT
#pragma once

#include "chunkedvector.h"
#include "idtable.h"
#include "worldstore.h"

#include <cstdint>

// Every play state the search has reached, each once, in the order reached,
// in 16 bytes: its world, the position and the items carried, and how it was
// reached (the state before and the command), so that the way to any state
// can be told again. The order reached is breadth-first, so the store is the
// search's queue too.
class StateStore
{
public:
    static constexpr std::uint32_t NoParent = 0xffffffffu;

    struct Node
    {
        std::uint32_t world;
        std::uint32_t carried;
        std::uint32_t parent; // NoParent for the first state
        std::uint16_t level; // which of the game's levels
        std::uint8_t position; // GridRef::index()
        std::uint8_t command; // how the search names the command that led here
    };

    // Adds the state unless it is known; its number either way (a new one
    // is the last).
    std::uint32_t add(const Node &node);
    // Starts fetching what add(node) will look at.
    void prefetch(const Node &node) const { index.prefetch(hashOf(node)); }
    const Node &operator[](std::size_t i) const { return nodes[i]; }
    std::size_t size() const { return nodes.size(); }

    // The whole play state of a stored one, into out, which holds the state
    // that the last call gave (its world is not built again when the same).
    void state(std::size_t i, PlayState &out);

    WorldStore &worldStore() { return worlds; }
    // Frees what finding a state and building its whole play state take (the
    // index and the worlds), once no more are to be added: the nodes stay.
    void keepNodesOnly();
    std::size_t bytes() const { return nodes.bytes() + index.bytes() + worlds.bytes(); }

private:
    static std::uint32_t hashOf(const Node &node);

    ChunkedVector<Node, 16> nodes;
    IdTable index;
    WorldStore worlds;
    std::uint32_t lastWorld = IdTable::None;
};
