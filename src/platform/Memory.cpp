#include "platform/Memory.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>

namespace platform {

void TuneMemoryAllocator() {
    // Pixel buffers (a megabyte and more) get mappings of their own, handed back the moment
    // they are freed, so a screen's pictures do not stay resident after it. Everything
    // smaller comes from the heaps, trimmed once a megabyte lies free at the top.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 20);
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
