#include "Lib/lyt/group.h"

#include <cstring>

namespace LYRALib::lytmgr {

Group::Group(const char* name) {
    std::strncpy(mName, name, kGroupNameLen);
    mName[kGroupNameLen] = '\0';
}

Group* GroupContainer::FindGroupByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& group : mGroups)
        if (std::strncmp(group->GetName(), name, kGroupNameLen) == 0) return group.get();
    return nullptr;
}

}  // namespace LYRALib::lytmgr
