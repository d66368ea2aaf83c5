#include "platform/Memory.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>

namespace platform {

void TuneMemoryAllocator() {
    // Blocks up to 64 MiB come from the heap (reusable) rather than fresh mappings, and the
    // heap is trimmed only when 256 MiB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

long ResidentKiB() {
    // The second field of statm is the resident set in pages.
    std::ifstream statm("/proc/self/statm");
    long sizePages = 0, residentPages = 0;
    if (!(statm >> sizePages >> residentPages)) return 0;
    return residentPages * (::sysconf(_SC_PAGESIZE) / 1024);
}

long HeapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
}

}  // namespace platform
