// Memory taken from the system in whole pages that read as zero until written: a page never
// written is never backed, so a large table of which a run uses a corner costs only that corner.
#pragma once

#include <cstddef>

// `bytes` of zero pages, or null when the system has none to give.
void* vo_pages_Map(size_t bytes);
void vo_pages_Unmap(void* pages, size_t bytes);
// Sets all `bytes` of pages from vo_pages_Map to zero by handing them back to the system: they
// read as zero again and are backed again only once written.
void vo_pages_Clear(void* pages, size_t bytes);
