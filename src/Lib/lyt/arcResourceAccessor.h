#pragma once

#include <cstdint>

#include "Lib/lyt/resourceAccessor.h"

class CTIGroup;

namespace LYRALib::lytmgr {

// Serves texture images out of one opened archive (which it does not own).
class ArcResourceAccessor : public ResourceAccessor {
public:
    ArcResourceAccessor() = default;

    // Binds the archive; always succeeds.
    bool Attach(CTIGroup* group);
    // Unbinds and returns the archive that was bound (null if none).
    CTIGroup* Detach();
    CTIGroup* GetGroup() const { return mpGroup; }

    // Only type "imag" is served. A name containing ".tex" is looked up with ".gtf" in its
    // place. The size reported is the entry's exact data size.
    void* FindResource(uint32_t type, const char* name, uint32_t* size) override;

private:
    CTIGroup* mpGroup = nullptr;
};

}  // namespace LYRALib::lytmgr
