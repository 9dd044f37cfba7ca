// SPDX-License-Identifier: MIT
#include "worldstore.h"


namespace {

// Chains of changes are walked for every state taken from the queue; past
// this length a world is kept whole instead.
constexpr std::uint8_t MaxDepth = 32;

} // namespace


std::uint32_t WorldStore::mix(std::size_t location, std::uint32_t record)
{
    std::uint64_t x = std::uint64_t(location) << 32 | record;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    return std::uint32_t(x >> 32);
}

// The sum of each location's part, so that one change updates it in two steps.
std::uint32_t WorldStore::hashOf(const Records &records)
{
    std::uint32_t hash = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
        hash += mix(i, records[i]);
    return hash;
}

void WorldStore::records(std::uint32_t world, Records &out) const
{
    // The whole world the chain starts from, then its changes, oldest first.
    const World *chain[MaxDepth + 1];
    std::size_t length = 0;
    const World *at = &worlds[world];
    for (; at->depth > 0; at = &worlds[at->base])
        chain[length++] = at;
    out = wholes[at->base];
    while (length > 0) {
        const World *change = chain[--length];
        out[change->location] = change->record;
    }
}

bool WorldStore::same(std::uint32_t world, const Records &records) const
{
    Records known;
    this->records(world, known);
    return known == records;
}

std::uint32_t WorldStore::add(const World &world)
{
    const auto id = std::uint32_t(worlds.grow());
    worlds[id] = world;
    index.add(world.hash, id);
    return id;
}

WorldStore::Change WorldStore::change(std::uint32_t from, std::size_t location, std::uint32_t before,
                                      std::uint32_t record) const
{
    const std::uint32_t hash = worlds[from].hash - mix(location, before) + mix(location, record);
    return Change{from, record, hash, std::uint8_t(location)};
}

std::uint32_t WorldStore::intern(const Change &change)
{
    const std::uint32_t found = index.find(change.hash, [&](std::uint32_t id) {
        // Most often the same change was made to the same world before; one
        // change to it in another place makes another world.
        const World &known = worlds[id];
        if (known.depth > 0 && known.base == change.from)
            return known.location == change.location && known.record == change.record;
        Records made;
        records(change.from, made);
        made[change.location] = change.record;
        return same(id, made);
    });
    if (found != IdTable::None)
        return found;
    const World &base = worlds[change.from];
    if (base.depth >= MaxDepth) {
        Records whole;
        records(change.from, whole);
        whole[change.location] = change.record;
        wholes.push_back(whole);
        return add({change.hash, std::uint32_t(wholes.size() - 1), 0, 0, 0});
    }
    return add({change.hash, change.from, change.record, change.location, std::uint8_t(base.depth + 1)});
}

std::uint32_t WorldStore::intern(const Records &records)
{
    const std::uint32_t hash = hashOf(records);
    const std::uint32_t found = index.find(hash, [&](std::uint32_t id) { return same(id, records); });
    if (found != IdTable::None)
        return found;
    wholes.push_back(records);
    return add({hash, std::uint32_t(wholes.size() - 1), 0, 0, 0});
}
