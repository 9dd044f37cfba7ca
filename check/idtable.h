// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A hash set of ids whose values are kept elsewhere. Each slot holds an id
// and 32 bits of its value's hash, which also choose the slot, so a lookup
// reads a value only when those bits match, and growing needs no values.
// Open addressing with linear probing, at most 3/4 full.
class IdTable
{
public:
    static constexpr std::uint32_t None = 0xffffffffu;

    // The id of the value with this hash for which same(id) holds; None when
    // there is none.
    template<typename Same>
    std::uint32_t find(std::uint32_t hash, Same same) const
    {
        if (slots.empty())
            return None;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const std::uint64_t slot = slots[at];
            if (slot == Empty)
                return None;
            if (std::uint32_t(slot >> 32) == hash && same(std::uint32_t(slot)))
                return std::uint32_t(slot);
        }
    }

    // Adds id, which find() did not find, under hash.
    void add(std::uint32_t hash, std::uint32_t id)
    {
        if ((count + 1) * 4 > slots.size() * 3)
            grow();
        place(std::uint64_t(hash) << 32 | id);
        ++count;
    }

    // Starts fetching the slot where a lookup of hash begins.
    void prefetch(std::uint32_t hash) const
    {
        if (!slots.empty())
            __builtin_prefetch(&slots[hash & mask]);
    }

    std::size_t size() const { return count; }
    std::size_t bytes() const { return slots.capacity() * sizeof(std::uint64_t); }

private:
    static constexpr std::uint64_t Empty = ~std::uint64_t(0);

    void place(std::uint64_t slot)
    {
        std::size_t at = (slot >> 32) & mask;
        while (slots[at] != Empty)
            at = (at + 1) & mask;
        slots[at] = slot;
    }

    void grow()
    {
        std::vector<std::uint64_t> old(slots.empty() ? 1024 : slots.size() * 2, Empty);
        old.swap(slots);
        mask = slots.size() - 1;
        for (std::uint64_t slot : old) {
            if (slot != Empty)
                place(slot);
        }
    }

    std::vector<std::uint64_t> slots;
    std::size_t mask = 0;
    std::size_t count = 0;
};
