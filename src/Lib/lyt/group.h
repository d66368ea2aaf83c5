#pragma once

#include <memory>
#include <vector>

#include "Lib/lyt/lytAlloc.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

class Pane;

// A named list of panes of one layout; it does not own them.
class Group : public detail::LytObject {
public:
    explicit Group(const char* name);
    virtual ~Group() = default;

    const char* GetName() const { return mName; }
    const std::vector<Pane*>& GetPaneList() const { return mPanes; }
    void AppendPane(Pane* pane) { mPanes.push_back(pane); }

private:
    char mName[kGroupNameLen + 1] = {};
    std::vector<Pane*> mPanes;
};

// The groups of a layout in file order.
class GroupContainer : public detail::LytObject {
public:
    GroupContainer() = default;
    virtual ~GroupContainer() = default;

    void AppendGroup(std::unique_ptr<Group> group) { mGroups.push_back(std::move(group)); }
    // First group whose name matches over 16 characters, or null.
    Group* FindGroupByName(const char* name) const;
    const std::vector<std::unique_ptr<Group>>& GetGroups() const { return mGroups; }

private:
    std::vector<std::unique_ptr<Group>> mGroups;
};

}  // namespace LYRALib::lytmgr
