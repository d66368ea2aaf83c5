#include "Lib/lyt/lytAlloc.h"

#include <cstdlib>

#include "Lib/ZIRur/Util/DebugLog.h"

namespace LYRALib::lytmgr {

void* LytAlloc(size_t size) {
    // malloc(0) may legally return null; one byte keeps "never null" true.
    const size_t request = size == 0 ? 1 : size;
    for (;;) {
        if (void* p = std::malloc(request)) return p;
        LYRA_WARN("p", 0, "can't alloc memory.(size = %d)\n", static_cast<int>(size));
    }
}

void LytFree(void* p) {
    std::free(p);
}

}  // namespace LYRALib::lytmgr
