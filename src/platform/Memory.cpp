#include "platform/Memory.h"

#include <malloc.h>

namespace platform {

void TuneMemoryAllocator() {
    // Blocks up to 64 MiB come from the heap (reusable) rather than fresh mappings, and the
    // heap is trimmed only when 256 MiB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace platform
