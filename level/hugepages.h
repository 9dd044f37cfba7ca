// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

// A buffer of many megabytes (a long narrative, its file) is written once,
// page by page, straight after it is allocated. Asking the kernel for huge
// pages there spares a page fault for every 4 KB of it, which is most of the
// time such a level takes to load. Only the 2 MB blocks wholly inside the
// buffer can be huge; smaller buffers are left as they are.
inline void adviseHugePages(const void *data, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t Huge = std::uintptr_t(2) << 20;
    if (bytes < 2 * Huge)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (start + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t to = (start + bytes) & ~(Huge - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
