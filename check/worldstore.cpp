// SPDX-License-Identifier: MIT
#include "worldstore.h"

#include <bitset>

namespace {

// Chains of changes are walked for every state taken from the queue; past
// this length a world is kept whole instead.
constexpr std::uint8_t MaxDepth = 32;

} // namespace

static_assert(sizeof(WorldStore::Records) == 81 * 4);

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
    // The newest change of each location wins; the rest comes from the whole world.
    std::bitset<81> known;
    const World *at = &worlds[world];
    for (; at->depth > 0; at = &worlds[at->base]) {
        if (!known[at->location]) {
            known[at->location] = true;
            out[at->location] = at->record;
        }
    }
    const Records &whole = wholes[at->base];
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!known[i])
            out[i] = whole[i];
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

std::optional<WorldStore::Change> WorldStore::change(std::uint32_t from, const Records &before,
                                                     const Records &records) const
{
    std::size_t changed = records.size();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] != before[i]) {
            if (changed != records.size())
                return std::nullopt;
            changed = i;
        }
    }
    if (changed == records.size())
        return std::nullopt;
    const std::uint32_t hash = worlds[from].hash - mix(changed, before[changed]) + mix(changed, records[changed]);
    return Change{from, records[changed], hash, std::uint8_t(changed)};
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
