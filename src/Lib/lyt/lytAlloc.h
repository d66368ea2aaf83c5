#pragma once

#include <cstddef>

namespace LYRALib::lytmgr {

// Allocates `size` bytes; never returns null: a failed attempt is logged and retried.
void* LytAlloc(size_t size);
// Releases memory from LytAlloc; null is ignored.
void LytFree(void* p);

namespace detail {

// Root of every object of the library, so that all of them come from LytAlloc.
class LytObject {
public:
    static void* operator new(size_t size) { return LytAlloc(size); }
    static void* operator new[](size_t size) { return LytAlloc(size); }
    static void operator delete(void* p) { LytFree(p); }
    static void operator delete[](void* p) { LytFree(p); }
};

// Deleter for plain buffers taken from LytAlloc.
struct LytDeleter {
    void operator()(void* p) const { LytFree(p); }
};

}  // namespace detail
}  // namespace LYRALib::lytmgr
