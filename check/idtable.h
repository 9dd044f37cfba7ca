// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

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
        if (!slots)
            return None;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const std::uint64_t slot = slots[at];
            if (slot == Empty)
                return None;
            if (std::uint32_t(slot >> 32) == hash && same(idOf(slot)))
                return idOf(slot);
        }
    }

    // Adds id, which find() did not find, under hash.
    void add(std::uint32_t hash, std::uint32_t id)
    {
        if ((count + 1) * 4 > capacity * 3)
            grow();
        place(std::uint64_t(hash) << 32 | (id + 1u));
        ++count;
    }

    // Starts fetching the slot where a lookup of hash begins.
    void prefetch(std::uint32_t hash) const
    {
        if (slots)
            __builtin_prefetch(&slots[hash & mask]);
    }

    std::size_t size() const { return count; }
    std::size_t bytes() const { return capacity * sizeof(std::uint64_t); }

private:
    // A slot holds the id plus one, so that zero is free: a table of zeros,
    // which the system hands out without writing them, is empty.
    static constexpr std::uint64_t Empty = 0;
    static std::uint32_t idOf(std::uint64_t slot) { return std::uint32_t(slot) - 1u; }

    struct Free
    {
        void operator()(std::uint64_t *memory) const { std::free(memory); }
    };

    void place(std::uint64_t slot)
    {
        std::size_t at = (slot >> 32) & mask;
        while (slots[at] != Empty)
            at = (at + 1) & mask;
        slots[at] = slot;
    }

    void grow()
    {
        const std::size_t oldCapacity = capacity;
        capacity = capacity ? capacity * 2 : 1024;
        auto *memory = static_cast<std::uint64_t *>(std::calloc(capacity, sizeof(std::uint64_t)));
        if (!memory)
            throw std::bad_alloc();
        std::unique_ptr<std::uint64_t[], Free> old(memory);
        old.swap(slots);
        mask = capacity - 1;
        for (std::size_t i = 0; i < oldCapacity; ++i) {
            if (old[i] != Empty)
                place(old[i]);
        }
    }

    std::unique_ptr<std::uint64_t[], Free> slots;
    std::size_t capacity = 0;
    std::size_t mask = 0;
    std::size_t count = 0;
};
