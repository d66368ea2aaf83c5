#pragma once

#include <cstdint>

#include "Lib/lyt/lytAlloc.h"

namespace LYRALib::lytmgr {

// Where a layout finds the resources its data names (texture images).
class ResourceAccessor : public detail::LytObject {
public:
    ResourceAccessor() = default;
    ResourceAccessor(const ResourceAccessor&) = delete;
    ResourceAccessor& operator=(const ResourceAccessor&) = delete;
    virtual ~ResourceAccessor() = default;

    // The resource of `type` (a tag such as "imag") named `name`, or null. When `size` is not
    // null it receives the resource's size in bytes (0 when not found).
    virtual void* FindResource(uint32_t type, const char* name, uint32_t* size) = 0;
    // Fonts are not served through the accessor.
    virtual void* FindFont(const char* name) {
        (void)name;
        return nullptr;
    }
};

}  // namespace LYRALib::lytmgr
