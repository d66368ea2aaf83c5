#include <malloc.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include "platform/Memory.h"

namespace platform {

void TuneMemoryAllocator() {
    // The Windows heap gives large blocks back to the system when they are freed.
}

long ResidentKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return long(counters.WorkingSetSize / 1024);
}

long HeapInUseKiB() {
    size_t used = 0;
    _HEAPINFO entry{};
    entry._pentry = nullptr;
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) used += entry._size;
    return long(used / 1024);
}

}  // namespace platform
