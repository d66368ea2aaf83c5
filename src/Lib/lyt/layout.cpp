#include "Lib/lyt/layout.h"

#include <algorithm>
#include <utility>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/bounding.h"
#include "Lib/lyt/byteOrder.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/sectionTags.h"
#include "Lib/lyt/textBox.h"

namespace LYRALib::lytmgr {

Layout::Layout() = default;

Layout::~Layout() {
    DeleteTree();
    while (AnimTransform* t = mAnimTransforms.Front()) delete t;
}

void Layout::DeleteTree() {
    mpGroupContainer.reset();
    if (mpRootPane != nullptr && !mpRootPane->IsUserAllocated()) delete mpRootPane;
    mpRootPane = nullptr;
    for (Pane* p : mExtraRoots) delete p;
    mExtraRoots.clear();
}

void Layout::SetRootPane(Pane* root) {
    if (root == mpRootPane) return;
    if (mpRootPane != nullptr && !mpRootPane->IsUserAllocated()) delete mpRootPane;
    mpRootPane = root;
}

Rect Layout::GetLayoutRect() const {
    return {-mLayoutSize.width / 2, mLayoutSize.height / 2, mLayoutSize.width / 2,
            -mLayoutSize.height / 2};
}

namespace {

// What a build has made so far; everything is deleted unless the build succeeds.
struct BuildResult {
    Pane* root = nullptr;
    std::vector<Pane*> extraRoots;
    std::unique_ptr<GroupContainer> groups;
    Size layoutSize;

    BuildResult() = default;
    BuildResult(const BuildResult&) = delete;
    BuildResult& operator=(const BuildResult&) = delete;
    ~BuildResult() {
        groups.reset();
        delete root;
        for (Pane* p : extraRoots) delete p;
    }
};

// Creates the pane of a pane section, or null when the section is broken.
Pane* ReadPaneSection(uint32_t kind, detail::ByteView& f, size_t off, uint32_t size,
                      const detail::ResourceContext& ctx) {
    Pane* pane = nullptr;
    bool ok = false;
    switch (kind) {
        case detail::kTagPane:
        case detail::kTagWindow:  // a window is built as a plain pane
            pane = new Pane();
            ok = size >= detail::kPaneRecordSize && pane->ReadRecord(f, off);
            break;
        case detail::kTagBounding:
            pane = new Bounding();
            ok = size >= detail::kPaneRecordSize && pane->ReadRecord(f, off);
            break;
        case detail::kTagPicture: {
            auto* pic = new Picture();
            pane = pic;
            ok = pic->Read(f, off, size, ctx);
            break;
        }
        case detail::kTagTextBox: {
            auto* text = new TextBox();
            pane = text;
            ok = text->Read(f, off, size, ctx);
            break;
        }
        default:
            break;
    }
    if (!ok) {
        delete pane;
        return nullptr;
    }
    return pane;
}

// A group section at depth 1: the group and the panes it names that exist.
bool ReadGroupSection(detail::ByteView& f, size_t off, uint32_t size, Pane* root,
                      GroupContainer& groups) {
    if (size < detail::kGroupFixedSize) return f.Fail();
    char name[kGroupNameLen + 1];
    f.Fixed(off + 8, kGroupNameLen, name);
    const uint16_t count = f.U16(off + 24);
    if ((size - detail::kGroupFixedSize) / 16 < count) return f.Fail();
    auto group = std::make_unique<Group>(name);
    for (size_t i = 0; i < count; ++i) {
        char paneName[kPaneNameLen + 1];
        f.Fixed(off + 28 + 16 * i, kPaneNameLen, paneName);
        if (Pane* pane = root != nullptr ? root->FindPane(paneName, true) : nullptr)
            group->AppendPane(pane);
    }
    groups.AppendGroup(std::move(group));
    return f.ok();
}

bool IsPaneKind(uint32_t kind) {
    return kind == detail::kTagPane || kind == detail::kTagWindow || kind == detail::kTagPicture ||
           kind == detail::kTagTextBox || kind == detail::kTagBounding;
}

bool BuildTree(detail::ByteView& f, ResourceAccessor* accessor, BuildResult& out) {
    const size_t headerSize = f.U16(12);
    const uint16_t count = f.U16(14);
    detail::ResourceContext ctx;
    ctx.accessor = accessor;
    Pane* last = nullptr;
    Pane* parent = nullptr;
    int depth = 0;
    int groupDepth = 0;
    size_t off = headerSize;
    for (uint16_t i = 0; i < count; ++i) {
        const uint32_t kind = f.U32(off);
        const uint32_t size = f.U32(off + 4);
        if (!f.ok() || size < detail::kSectionHeaderSize || !f.Has(off, size)) return false;
        if (IsPaneKind(kind)) {
            Pane* pane = ReadPaneSection(kind, f, off, size, ctx);
            if (pane == nullptr) return false;
            if (parent != nullptr)
                parent->AppendChild(pane);
            else if (out.root == nullptr)
                out.root = pane;
            else
                out.extraRoots.push_back(pane);
            last = pane;
        } else {
            switch (kind) {
                case detail::kTagLayoutInfo:
                    if (size < 20) return false;
                    // The conversion leaves "linf" in file order.
                    out.layoutSize = {f.F32BE(off + 12), f.F32BE(off + 16)};
                    break;
                case detail::kTagTextureList:
                    ctx.textureList = off;
                    break;
                case detail::kTagFontList:
                    ctx.fontList = off;
                    break;
                case detail::kTagMaterialList:
                    ctx.materialList = off;
                    break;
                case detail::kTagUserData:
                    if (last != nullptr && !last->ReadUserData(f, off, size)) return false;
                    break;
                case detail::kTagPaneChildBegin:
                    if (++depth > Layout::kMaxNestDepth) return false;
                    parent = last;
                    break;
                case detail::kTagPaneChildEnd:
                    // An unmatched end has nothing to close.
                    if (depth == 0) break;
                    --depth;
                    last = parent;
                    parent = parent != nullptr ? parent->GetParent() : nullptr;
                    break;
                case detail::kTagGroup:
                    if (out.groups == nullptr)
                        out.groups = std::make_unique<GroupContainer>();  // the root group
                    else if (groupDepth == 1 &&
                             !ReadGroupSection(f, off, size, out.root, *out.groups))
                        return false;
                    break;
                case detail::kTagGroupChildBegin:
                    ++groupDepth;
                    break;
                case detail::kTagGroupChildEnd:
                    --groupDepth;
                    break;
                default:
                    break;
            }
        }
        off += size;
    }
    return f.ok();
}

}  // namespace

bool Layout::Build(void* buffer, size_t size, ResourceAccessor* accessor) {
    if (mpRootPane != nullptr) {
        LYRA_WARN("mpRootPane", 1, "layout is already built.\n");
        return false;
    }
    if (!ConvertByteOrder(buffer, size)) return false;
    detail::ByteView f(static_cast<const uint8_t*>(buffer), size);
    BuildResult result;
    if (!BuildTree(f, accessor, result)) {
        LYRA_WARN("size", static_cast<long>(size), "layout data is out of range.\n");
        return false;
    }
    mpRootPane = std::exchange(result.root, nullptr);
    mExtraRoots = std::move(result.extraRoots);
    result.extraRoots.clear();
    mpGroupContainer = std::move(result.groups);
    mLayoutSize = result.layoutSize;
    return true;
}

// ---- animation ----

AnimTransform* Layout::CreateAnimTransform() {
    auto* t = new AnimTransformBasic();
    mAnimTransforms.PushBack(t);
    return t;
}

AnimTransform* Layout::CreateAnimTransform(const AnimResource& res, ResourceAccessor* accessor) {
    AnimTransform* t = CreateAnimTransform();
    t->AssignResource(&res, accessor);
    return t;
}

AnimTransform* Layout::CreateAnimTransform(void* buffer, size_t size, ResourceAccessor* accessor) {
    auto res = std::make_unique<AnimResource>();
    if (!res->Set(buffer, size)) return nullptr;
    auto* t = new AnimTransformBasic();
    mAnimTransforms.PushBack(t);
    t->AssignResource(res.get(), accessor);
    t->OwnResource(std::move(res));
    return t;
}

void Layout::DestroyAnimTransform(AnimTransform* transform) {
    if (transform == nullptr) return;
    if (mpRootPane != nullptr) mpRootPane->DetachAnim(transform, true);
    delete transform;
}

void Layout::AttachAnim(AnimTransform* transform) {
    if (mpRootPane != nullptr) mpRootPane->AttachAnim(transform, true, false);
}

void Layout::DetachAnim(AnimTransform* transform) {
    if (mpRootPane != nullptr) mpRootPane->DetachAnim(transform, true);
}

void Layout::DetachAllAnims() {
    if (mpRootPane != nullptr) mpRootPane->DetachAllAnims(true);
}

void Layout::EnableAnim(AnimTransform* transform, bool enable) {
    if (mpRootPane != nullptr) mpRootPane->EnableAnim(transform, enable, true);
}

void Layout::UpdateGlobals(DrawInfo& info) {
    if (mpRootPane != nullptr) mpRootPane->UpdateGlobals(info);
}

void Layout::Draw(const DrawInfo& info) {
    if (mpRootPane != nullptr) mpRootPane->Draw(info);
}

void Layout::Animate(uint32_t option) {
    if (mpRootPane != nullptr) mpRootPane->Animate(option);
}

namespace {

bool IsBelowOrSelf(const Pane* pane, const Pane* top) {
    for (const Pane* p = pane; p != nullptr; p = p->GetParent())
        if (p == top) return true;
    return false;
}

// Number of contents of `res` whose target is found from `pane`.
size_t CountTargets(const AnimResource& res, Pane* pane, bool recursive) {
    size_t n = 0;
    for (const AnimContent& content : res.GetContents()) {
        if (content.type == kAnimContentPane)
            n += pane->FindPane(content.name, recursive) != nullptr;
        else if (content.type == kAnimContentMaterial)
            n += pane->FindMaterial(content.name, recursive) != nullptr;
    }
    return n;
}

}  // namespace

AnimTransform* Layout::AttachAnimByGroups(const AnimResource& res, ResourceAccessor* accessor) {
    if (mpRootPane == nullptr || !res.IsValid()) return nullptr;
    auto* t = static_cast<AnimTransformBasic*>(CreateAnimTransform());
    const bool descend = res.IsDescendingBind();

    // The tag's groups that exist in this layout.
    std::vector<const Group*> tagGroups;
    if (mpGroupContainer != nullptr)
        for (const AnimGroupRef& ref : res.GetGroups())
            if (const Group* g = mpGroupContainer->FindGroupByName(ref.name))
                tagGroups.push_back(g);

    auto qualifies = [&](const Pane* pane) {
        if (res.GetGroupNum() == 0) return true;
        for (const Group* g : tagGroups)
            for (const Pane* member : g->GetPaneList())
                if (member == pane || (descend && IsBelowOrSelf(pane, member))) return true;
        return false;
    };

    // Shared bindings: the source pane's content for each qualifying pane of the group.
    std::vector<std::pair<uint16_t, Pane*>> shares;
    for (const AnimShareInfo& share : res.GetShares()) {
        Pane* src = mpRootPane->FindPane(share.srcPaneName, true);
        if (src == nullptr) continue;
        const int content = res.FindContent(src->GetName(), kAnimContentPane);
        const Group* group = mpGroupContainer != nullptr
                                 ? mpGroupContainer->FindGroupByName(share.targetGroupName)
                                 : nullptr;
        if (content < 0 || group == nullptr) continue;
        for (Pane* pane : group->GetPaneList())
            if (pane != src && qualifies(pane)) shares.emplace_back(uint16_t(content), pane);
    }

    size_t links = shares.size();
    if (res.GetGroupNum() == 0) {
        links += res.GetContents().size();
    } else {
        for (const Group* g : tagGroups)
            for (Pane* pane : g->GetPaneList()) links += CountTargets(res, pane, descend);
    }
    t->AssignResource(&res, accessor, uint16_t(std::min<size_t>(links, 0xFFFF)));

    if (res.GetGroupNum() == 0) {
        mpRootPane->AttachAnim(t, true, true);
    } else {
        for (const Group* g : tagGroups)
            for (Pane* pane : g->GetPaneList()) pane->AttachAnim(t, descend, true);
    }
    for (const auto& [content, pane] : shares) t->BindPane(content, pane, true);
    return t;
}

}  // namespace LYRALib::lytmgr
