// Zero pages on Linux: anonymous private mappings, filled by the kernel on first write, and
// handed back with MADV_DONTNEED, after which they read as zero again.
#include "framework/app/zero_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

void* vo_pages_Map(size_t bytes) {
    void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void vo_pages_Unmap(void* pages, size_t bytes) { munmap(pages, bytes); }

void vo_pages_Clear(void* pages, size_t bytes) {
    // The mapping runs to the end of its last page, so the whole of that page goes back too.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t whole = (bytes + page - 1) / page * page;
    // Should the system refuse, the bytes are cleared by hand.
    if (madvise(pages, whole, MADV_DONTNEED) != 0) std::memset(pages, 0, bytes);
}
