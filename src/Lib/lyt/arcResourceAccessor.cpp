#include "Lib/lyt/arcResourceAccessor.h"

#include <string>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {

bool ArcResourceAccessor::Attach(CTIGroup* group) {
    mpGroup = group;
    return true;
}

CTIGroup* ArcResourceAccessor::Detach() {
    CTIGroup* group = mpGroup;
    mpGroup = nullptr;
    return group;
}

void* ArcResourceAccessor::FindResource(uint32_t type, const char* name, uint32_t* size) {
    if (size != nullptr) *size = 0;
    if (mpGroup == nullptr || name == nullptr) return nullptr;
    std::string entry(name);
    if (type != detail::kTagImage) return nullptr;
    // Images listed as ".tex" are stored in the archive as ".gtf".
    const size_t dot = entry.find(".tex");
    if (dot != std::string::npos) entry.replace(dot + 1, 3, "gtf");
    uint8_t* data = mpGroup->GetT2IBuffer(entry.c_str());
    // The exact size, not the padded stored size: readers must not run into the padding.
    if (size != nullptr && data != nullptr) *size = mpGroup->GetT2ISize(entry.c_str());
    return data;
}

}  // namespace LYRALib::lytmgr
