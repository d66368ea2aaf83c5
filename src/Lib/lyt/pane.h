#pragma once

#include <cstddef>
#include <cstdint>

#include "Lib/lyt/linkList.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

class AnimationLink;
class AnimResource;
class AnimTransform;
class DrawInfo;
class Drawable;
class Material;

namespace detail {
class ByteView;
struct ResourceContext;

// The tree link of a pane: a node of its parent's child list.
class PaneBase : public LinkNode {
public:
    PaneBase() = default;
    virtual ~PaneBase() = default;
};
}  // namespace detail

// A rectangle of the layout tree. A plain pane (and a window) draws nothing itself.
class Pane : public detail::PaneBase {
public:
    enum Flag : uint8_t {
        kFlagVisible = 1 << 0,
        kFlagInfluencedAlpha = 1 << 1,  // the pane's alpha scales its descendants
        kFlagLocationAdjust = 1 << 2,   // the draw info's adjust scale applies
    };

    // Visible, anchor 4 (centre/middle), alpha 255, scale 1, everything else 0/empty.
    Pane();
    // Unbinds its animations, deletes its material and every child that is not
    // user-allocated (user-allocated children are only unlinked).
    ~Pane() override;

    // Computes the global scale, translation and alpha of this subtree (see DrawInfo).
    virtual void UpdateGlobals(DrawInfo& info);
    // Draws this pane then its children in order, unless it is invisible.
    virtual void Draw(const DrawInfo& info);
    // Draws this pane alone through its draw object.
    virtual void DrawOwn(const DrawInfo& info);
    // Applies the pane's links, then (if visible or option bit 0 is clear) its material's
    // and its children's.
    virtual void Animate(uint32_t option);
    // Applies this pane's own enabled links.
    virtual void AnimateOwn(uint32_t option);
    // Index 16 is the alpha; 0..15 are vertex-colour bytes.
    virtual uint8_t GetColorByte(uint32_t index) const;
    virtual void SetColorByte(uint32_t index, uint8_t value);
    // Vertex-colour byte: 0xFF for panes without vertex colours, whose writes are ignored.
    virtual uint8_t GetVtxColorElement(uint32_t index) const;
    virtual void SetVtxColorElement(uint32_t index, uint8_t value);
    // First pane named `name` (16 characters compared): this one, then depth-first below.
    virtual Pane* FindPane(const char* name, bool recursive);
    // First material named `name` (20 characters compared), in the same order.
    virtual Material* FindMaterial(const char* name, bool recursive);
    virtual void AttachAnim(AnimTransform* transform, bool recursive, bool disable);
    virtual void DetachAnim(AnimTransform* transform, bool recursive);
    virtual void DetachAllAnims(bool recursive);
    // Frees this pane's own links of `transform` (not its material's or children's).
    virtual void UnbindAnimSelf(AnimTransform* transform);
    virtual AnimationLink* FindAnimLinkByResource(const AnimResource* resource);
    virtual AnimationLink* FindAnimLinkByTransform(const AnimTransform* transform);
    virtual void EnableAnimByResource(const AnimResource* resource, bool enable, bool recursive);
    virtual void EnableAnim(const AnimTransform* transform, bool enable, bool recursive);
    // 1 with a material, else 0.
    virtual uint32_t GetMaterialNum() const;
    // The material for index 0; other indices (logged when not below the count) give null.
    virtual Material* GetMaterial(uint32_t index) const;
    // Hook run before DrawOwn; nothing to do for a 2D pane.
    virtual void PrepareDrawOwn(const DrawInfo& info);
    // Stores the object that draws the pane (not owned).
    virtual void AttachDrawable(Drawable* object);

    Material* GetMaterial() const { return mpMaterial; }
    Drawable* GetDrawable() const { return mpDrawable; }

    // Tree. AppendChild takes the child out of any previous parent first.
    Pane* GetParent() const { return mpParent; }
    void AppendChild(Pane* child);
    void RemoveChild(Pane* child);
    Pane* GetFirstChild() const { return mChildren.Front(); }
    Pane* GetNextSibling() const;
    size_t GetChildCount() const { return mChildren.Size(); }

    const char* GetName() const { return mName; }
    void SetName(const char* name);
    const char* GetUserString() const { return mUserStr; }

    bool IsVisible() const { return (mFlag & kFlagVisible) != 0; }
    void SetVisible(bool on) { SetFlag(kFlagVisible, on); }
    bool IsInfluencedAlpha() const { return (mFlag & kFlagInfluencedAlpha) != 0; }
    void SetInfluencedAlpha(bool on) { SetFlag(kFlagInfluencedAlpha, on); }
    bool IsLocationAdjust() const { return (mFlag & kFlagLocationAdjust) != 0; }
    void SetLocationAdjust(bool on) { SetFlag(kFlagLocationAdjust, on); }
    uint8_t GetFlag() const { return mFlag; }

    uint8_t GetAlpha() const { return mAlpha; }
    void SetAlpha(uint8_t alpha) { mAlpha = alpha; }
    uint8_t GetGlobalAlpha() const { return mGlbAlpha; }
    uint8_t GetBasePosition() const { return mBasePosition; }
    void SetBasePosition(uint8_t position) { mBasePosition = position; }

    const Vec3& GetTranslate() const { return mTranslate; }
    void SetTranslate(const Vec3& t) { mTranslate = t; }
    const Vec3& GetRotate() const { return mRotate; }
    void SetRotate(const Vec3& r) { mRotate = r; }
    const Vec2& GetScale() const { return mScale; }
    void SetScale(const Vec2& s) { mScale = s; }
    const Size& GetSize() const { return mSize; }
    void SetSize(const Size& s) { mSize = s; }
    // Element 0..9: translate x, y, z, rotate x, y, z, scale x, y, width, height.
    void SetSRTElement(uint32_t element, float value);
    float GetSRTElement(uint32_t element) const;

    // Results of UpdateGlobals.
    const Vec2& GetEffectiveScale() const { return mEffectiveScale; }
    const Vec2& GetGlobalScale() const { return mGlbScale; }
    const Vec3& GetGlobalTranslate() const { return mGlbTranslate; }

    // User data ("usrd" entries): count, and the 12-byte entry whose name equals `name`.
    uint16_t GetExtUserDataNum() const { return mUserDataNum; }
    const uint8_t* FindExtUserDataByName(const char* name) const;

    bool IsUserAllocated() const { return mUserAllocated; }
    void SetUserAllocated(bool on) { mUserAllocated = on; }

    detail::LinkList<AnimationLink>& GetAnimLinkList() { return mAnimLinks; }

    // Reads the common 76-byte record of a converted pane section at `s`.
    bool ReadRecord(detail::ByteView& file, size_t s);
    // Records the "usrd" section at `s` after checking every entry and name in it.
    bool ReadUserData(detail::ByteView& file, size_t s, uint32_t sectionSize);

protected:
    // Anchor code of a position value: (h + 1) | (v + 1) << 4 with h = pos % 3, v = pos / 3.
    static int AnchorFromPosition(uint8_t position);
    void SetFlag(uint8_t bit, bool on) {
        mFlag = on ? uint8_t(mFlag | bit) : uint8_t(mFlag & ~bit);
    }
    // Replaces the material (the old one is deleted unless user-allocated).
    void SetMaterialOwned(Material* material);

    Pane* mpParent = nullptr;
    detail::LinkList<Pane> mChildren;
    detail::LinkList<AnimationLink> mAnimLinks;
    Material* mpMaterial = nullptr;
    Vec3 mTranslate;
    Vec3 mRotate;
    Vec2 mScale{1.0f, 1.0f};
    Size mSize;
    Vec2 mEffectiveScale{1.0f, 1.0f};
    Vec2 mGlbScale{1.0f, 1.0f};
    Vec3 mGlbTranslate;
    // Kept for callers; the 2D transform does not use them.
    float mMtx[3][4] = {};
    float mGlbMtx[3][4] = {};
    // Entries of the pane's "usrd" section (in the converted file), or null.
    const uint8_t* mpUserData = nullptr;
    uint16_t mUserDataNum = 0;
    uint8_t mAlpha = 255;
    uint8_t mGlbAlpha = 255;
    uint8_t mBasePosition = 4;
    uint8_t mFlag = kFlagVisible;
    char mName[kPaneNameLen + 1] = {};
    char mUserStr[kUserStrLen + 1] = {};
    bool mUserAllocated = false;
    Drawable* mpDrawable = nullptr;
};

}  // namespace LYRALib::lytmgr
