// SPDX-License-Identifier: MIT
#include "recordpool.h"

#include "level.h"

#include <algorithm>

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

RecordPool::RecordPool(const RecordPool &other)
    : entries(other.entries)
    , changes(other.changes)
    , changeCount(other.changeCount)
    , plain(other.plain)
{
    for (std::uint32_t id = 0; id < entries.size(); ++id) {
        Entry &entry = entries[id];
        entry.facts = factsOf(entry.record);
        index.emplace(entry.record.text(), id);
    }
}

RecordPool &RecordPool::operator=(const RecordPool &other)
{
    if (this != &other)
        *this = RecordPool(other);
    return *this;
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
    auto slot = [this](std::uint64_t key) {
        std::size_t at = std::size_t((key * 0x9e3779b97f4a7c15ull) >> 32) & (changes.size() - 1);
        while (changes[at].key != key && changes[at].key != Change{}.key)
            at = (at + 1) & (changes.size() - 1);
        return at;
    };
    if (!changes.empty()) {
        if (const Change &found = changes[slot(key)]; found.key == key)
            return found.result;
    }
    LocationRecord record = entries[id].record;
    if (drop)
        record.appendItem(item);
    else
        record.removeItem(item);
    const std::uint32_t result = intern(std::move(record));
    // At most half full, so that a lookup ends soon.
    if ((changeCount + 1) * 2 > changes.size()) {
        std::vector<Change> old(std::max<std::size_t>(1024, changes.size() * 2));
        old.swap(changes);
        for (const Change &change : old) {
            if (change.key != Change{}.key)
                changes[slot(change.key)] = change;
        }
    }
    changes[slot(key)] = {key, result};
    ++changeCount;
    return result;
}

std::uint32_t RecordPool::plainest(std::uint32_t id)
{
    if (plain.size() <= id)
        plain.resize(entries.size(), 0);
    if (plain[id] != 0 || id == 0)
        return plain[id];
    std::uint32_t result = id;
    const Entry &entry = entries[id];
    const TextView text = entry.record.text();
    if (!entry.facts.loadsLevel && text.back() == U'|') {
        // The pieces after the narrative: "ITEM X" on its own, or other text.
        std::size_t tags = 0;
        std::uint32_t items = 0;
        Text plainText;
        const std::vector<TextView> pieces = text::split(text.substr(0, text.size() - 1), U'|');
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const TextView piece = pieces[i];
            const int item = LocationRecord::itemOfPiece(piece);
            tags += item >= 0;
            if (i == 0 || (item < 0 && !piece.empty())) {
                plainText.append(piece);
                plainText += U'|';
            } else if (item >= 0) {
                items |= 1u << item;
            }
        }
        // A tag inside other text could join with its neighbours when it is
        // taken away; such a record is kept as it is.
        if (entry.record.itemMentions() == tags) {
            for (int item = 0; item < 26; ++item) {
                if (items & (1u << item))
                    plainText += LocationRecord::itemTag(item) + U'|';
            }
            result = intern(LocationRecord(std::move(plainText)));
        }
    }
    if (plain.size() <= id)
        plain.resize(entries.size(), 0);
    plain[id] = result;
    return result;
}
