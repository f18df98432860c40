// How many pages of a range the system backs with memory of our own, read from
// /proc/self/pagemap: a page never written, or only read (it shows the shared zero page), does
// not count.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>

// Pages of [at, at + bytes) that are present and ours alone; -1 when the map cannot be read.
inline long BackedPages(const void* at, size_t bytes) {
    constexpr uint64_t kPresent = 1ull << 63, kExclusive = 1ull << 56;
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t first = reinterpret_cast<uintptr_t>(at) / page;
    const uintptr_t last = (reinterpret_cast<uintptr_t>(at) + bytes + page - 1) / page;
    FILE* map = std::fopen("/proc/self/pagemap", "rb");
    if (!map) return -1;
    long backed = 0;
    if (std::fseek(map, static_cast<long>(first * sizeof(uint64_t)), SEEK_SET) != 0) backed = -1;
    for (uintptr_t p = first; p < last && backed >= 0; ++p) {
        uint64_t entry = 0;
        if (std::fread(&entry, sizeof entry, 1, map) != 1) backed = -1;
        if ((entry & kPresent) && (entry & kExclusive)) ++backed;
    }
    std::fclose(map);
    return backed;
}
