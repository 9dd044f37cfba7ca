// SPDX-License-Identifier: MIT
#include "recordpool.h"

#include "level.h"

namespace {

RecordPool::Facts factsOf(const LocationRecord &record)
{
    const LocationRecord::Tags tags = record.tags();
    RecordPool::Facts facts;
    for (Direction d : Directions) {
        if (tags.paths[int(d)] != LocationRecord::Tags::None)
            facts.paths |= std::uint8_t(1u << int(d));
        facts.requirements[int(d)] = record.requirement(d, tags);
    }
    facts.items = tags.items;
    facts.end = tags.end != LocationRecord::Tags::None;
    facts.loadsLevel = tags.levelLoad != LocationRecord::Tags::None;
    if (facts.loadsLevel)
        facts.levelLoad = record.levelLoad(tags);
    return facts;
}

} // namespace

RecordPool::RecordPool()
{
    intern(LocationRecord());
}

std::uint32_t RecordPool::intern(LocationRecord record)
{
    if (const auto found = index.find(record.text()); found != index.end())
        return found->second;
    const auto id = std::uint32_t(entries.size());
    Entry &entry = entries.emplace_back(Entry{std::move(record), {}});
    // Requirements view the text, so the facts are worked out where it stays.
    entry.facts = factsOf(entry.record);
    index.emplace(entry.record.text(), id);
    return id;
}

std::uint32_t RecordPool::withoutItem(std::uint32_t id, int item)
{
    return changed(id, item, false);
}

std::uint32_t RecordPool::withItem(std::uint32_t id, int item)
{
    return changed(id, item, true);
}

std::uint32_t RecordPool::changed(std::uint32_t id, int item, bool drop)
{
    const std::uint64_t key = std::uint64_t(id) << 8 | std::uint64_t(item) << 1 | (drop ? 1u : 0u);
    if (const auto found = changes.find(key); found != changes.end())
        return found->second;
    LocationRecord record = entries[id].record;
    if (drop)
        record.appendItem(item);
    else
        record.removeItem(item);
    const std::uint32_t result = intern(std::move(record));
    changes.emplace(key, result);
    return result;
}
