#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Lib/lyt/animation.h"
#include "Lib/lyt/group.h"
#include "Lib/lyt/linkList.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

class DrawInfo;
class Pane;
class ResourceAccessor;

// A pane tree built from a layout file, with its groups and animation transforms.
class Layout : public detail::LytObject {
public:
    // Deeper pane nesting than this is taken for a broken file (the tree walks recurse).
    static constexpr int kMaxNestDepth = 256;

    Layout();
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    // Deletes the groups, the root pane (unless user-allocated) and every transform.
    virtual ~Layout();

    // Converts `buffer` in place and builds the tree. False (logged, and no pane created)
    // when it is not a layout, has a bad version, or anything in it lies outside `size`
    // bytes; also when this layout has already been built.
    virtual bool Build(void* buffer, size_t size, ResourceAccessor* accessor);
    // A transform for a caller-owned resource (which must outlive the layout).
    virtual AnimTransform* CreateAnimTransform(const AnimResource& res, ResourceAccessor* accessor);
    // Converts an animation buffer and makes a transform owning what it read; null on failure.
    virtual AnimTransform* CreateAnimTransform(void* buffer, size_t size,
                                               ResourceAccessor* accessor);
    // An empty transform added to the layout's list.
    virtual AnimTransform* CreateAnimTransform();
    virtual void AttachAnim(AnimTransform* transform);
    virtual void DetachAnim(AnimTransform* transform);
    virtual void DetachAllAnims();
    // Binds a resource by its tag's groups and its share entries (the whole tree without a
    // tag group); the links start disabled. Returns the new transform, or null.
    virtual AnimTransform* AttachAnimByGroups(const AnimResource& res, ResourceAccessor* accessor);
    virtual void EnableAnim(AnimTransform* transform, bool enable);
    virtual void UpdateGlobals(DrawInfo& info);
    virtual void Draw(const DrawInfo& info);
    virtual void Animate(uint32_t option = 0);

    // Unbinds and destroys one transform of this layout.
    void DestroyAnimTransform(AnimTransform* transform);
    Pane* GetRootPane() const { return mpRootPane; }
    // Replaces the root (the old tree is deleted unless user-allocated).
    void SetRootPane(Pane* root);
    GroupContainer* GetGroupContainer() const { return mpGroupContainer.get(); }
    const Size& GetLayoutSize() const { return mLayoutSize; }
    // Left -w/2, top h/2, right w/2, bottom -h/2.
    Rect GetLayoutRect() const;
    size_t GetAnimTransformNum() const { return mAnimTransforms.Size(); }

private:
    void DeleteTree();

    detail::LinkList<AnimTransform> mAnimTransforms;
    Pane* mpRootPane = nullptr;
    // Top-level panes after the first one: not drawn, but owned so they are freed.
    std::vector<Pane*> mExtraRoots;
    std::unique_ptr<GroupContainer> mpGroupContainer;
    Size mLayoutSize;
};

}  // namespace LYRALib::lytmgr
