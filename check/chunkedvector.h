// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// A growing array kept in fixed blocks of 2^Bits elements: elements never
// move, and growing never holds twice the memory the way a vector's doubling
// does, which matters when millions of states are stored.
template<typename T, int Bits>
class ChunkedVector
{
public:
    static constexpr std::size_t ChunkSize = std::size_t(1) << Bits;

    T &operator[](std::size_t i) { return chunks[i >> Bits][i & (ChunkSize - 1)]; }
    const T &operator[](std::size_t i) const { return chunks[i >> Bits][i & (ChunkSize - 1)]; }

    // Room for one more element; returns its index.
    std::size_t grow()
    {
        // Chunks are left unset, as make_unique_for_overwrite leaves them,
        // which the page's compiler lacks.
        if (used == chunks.size() * ChunkSize)
            chunks.emplace_back(new T[ChunkSize]);
        return used++;
    }

    std::size_t size() const { return used; }
    std::size_t bytes() const { return chunks.size() * ChunkSize * sizeof(T) + chunks.capacity() * sizeof(void *); }

private:
    std::vector<std::unique_ptr<T[]>> chunks;
    std::size_t used = 0;
};
