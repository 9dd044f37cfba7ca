// SPDX-License-Identifier: MIT
#include "statestore.h"

static_assert(sizeof(StateStore::Node) == 16);

std::uint32_t StateStore::hashOf(const Node &node)
{
    std::uint64_t hash = (std::uint64_t(node.world) << 32 | node.carried) * 0x9e3779b97f4a7c15ull;
    hash ^= (std::uint64_t(node.level) << 8 | node.position) * 0xc4ceb9fe1a85ec53ull;
    hash ^= hash >> 29;
    hash *= 0xff51afd7ed558ccdull;
    return std::uint32_t(hash >> 32);
}

std::uint32_t StateStore::add(const Node &node)
{
    const std::uint32_t hash = hashOf(node);
    const std::uint32_t found = index.find(hash, [&](std::uint32_t id) {
        const Node &known = nodes[id];
        return known.world == node.world && known.carried == node.carried && known.position == node.position
            && known.level == node.level;
    });
    if (found != IdTable::None)
        return found;
    const auto id = std::uint32_t(nodes.grow());
    nodes[id] = node;
    index.add(hash, id);
    return id;
}

void StateStore::keepNodesOnly()
{
    index = IdTable();
    worlds = WorldStore();
    lastWorld = IdTable::None;
}

void StateStore::state(std::size_t i, PlayState &out)
{
    const Node &node = nodes[i];
    out.level = node.level;
    const GridRef at = GridRef::fromIndex(node.position);
    out.row = std::int8_t(at.row);
    out.col = std::int8_t(at.col);
    out.carried = node.carried;
    // States reached by moves from one state share its world and lie together.
    if (node.world != lastWorld) {
        worlds.records(node.world, out.records);
        lastWorld = node.world;
    }
}
