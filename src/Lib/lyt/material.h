#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Lib/lyt/linkList.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

class AnimationLink;
class AnimResource;
class AnimTransform;
class Drawable;
class ResourceAccessor;

namespace detail {
class ByteView;

// Where a material record finds the texture names and images it refers to.
struct ResourceContext {
    static constexpr size_t kNone = ~size_t(0);
    size_t textureList = kNone;   // offset of "texl" in the file, or kNone
    size_t fontList = kNone;      // offset of "fntl"
    size_t materialList = kNone;  // offset of "matl"
    ResourceAccessor* accessor = nullptr;
};
}  // namespace detail

// One texture reference of a material.
struct TexMap {
    // The object that shows the image; null until a draw object is attached.
    Drawable* mpTexObj = nullptr;
    // Image data found through the accessor for this map's texture name (may be null).
    const void* mpImage = nullptr;
    uint32_t mImageSize = 0;
    // Image last handed to mpTexObj by a texture pattern key (null: none yet). The object may
    // show another image meanwhile (the framework switches pictures on its own), so a key is
    // judged against this, not against mpImage.
    const void* mpHandedImage = nullptr;
    uint16_t mTexIdx = 0;
    uint8_t mWrapS = 0;      // 2 bits
    uint8_t mWrapT = 0;      // 2 bits
    uint8_t mMinFilter = 0;  // 3 bits
    uint8_t mMagFilter = 0;  // 1 bit
};

// Translation, rotation and scale of a texture (or indirect texture) transform.
struct TexSRT {
    Vec2 mTranslate;
    float mRotate = 0.0f;
    Vec2 mScale{1.0f, 1.0f};
};

using Color16 = std::array<int16_t, 4>;  // R, G, B, A
using Color8 = std::array<uint8_t, 4>;   // R, G, B, A

// Colours, textures and the carried render blocks of a pane.
class Material : public detail::LytObject {
public:
    static constexpr uint8_t kTexMapCap = 10;
    static constexpr uint8_t kTexSRTCap = 10;
    static constexpr uint8_t kTexCoordGenCap = 8;
    static constexpr uint8_t kIndSRTCap = 3;
    static constexpr uint8_t kIndStageCap = 4;
    static constexpr uint8_t kTevStageCap = 16;

    Material();
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;
    // Unbinds every animation link.
    virtual ~Material();

    // Binds the contents of `transform` that name this material (enabled).
    virtual void AttachAnim(AnimTransform* transform);
    // Unbinds the links of `transform`, or every link when it is null.
    virtual void DetachAnim(AnimTransform* transform);
    virtual void DetachAllAnims();
    // Applies every enabled link.
    virtual void Animate();
    virtual AnimationLink* FindAnimLinkByResource(const AnimResource* resource);
    virtual AnimationLink* FindAnimLinkByTransform(const AnimTransform* transform);
    virtual void EnableAnimByResource(const AnimResource* resource, bool enable);
    virtual void EnableAnim(const AnimTransform* transform, bool enable);

    const char* GetName() const { return mName; }
    void SetName(const char* name);

    uint8_t GetTextureNum() const { return mTexMapNum; }
    uint8_t GetTextureCap() const { return kTexMapCap; }
    uint8_t GetTexCoordGenNum() const { return mTexCoordGenNum; }
    uint8_t GetTexCoordGenCap() const { return kTexCoordGenCap; }
    uint8_t GetTexSRTNum() const { return mTexSRTNum; }
    uint8_t GetIndTexSRTNum() const { return mIndSRTNum; }
    TexMap& GetTexMap(size_t i) { return mTexMaps[i]; }
    const TexMap& GetTexMap(size_t i) const { return mTexMaps[i]; }
    // Appends a texture map; false when the material holds as many as it can.
    bool AppendTexMap(const TexMap& map);
    // Sets how many texture / indirect transforms are in use (cut to the capacities).
    void SetTexSRTNum(uint8_t n) { mTexSRTNum = n < kTexSRTCap ? n : kTexSRTCap; }
    void SetIndTexSRTNum(uint8_t n) { mIndSRTNum = n < kIndSRTCap ? n : kIndSRTCap; }
    TexSRT& GetTexSRT(size_t i) { return mTexSRTs[i]; }
    TexSRT& GetIndTexSRT(size_t i) { return mIndSRTs[i]; }

    // Tint colour 0..2 (0 is "black", 1 "white" in drawing).
    const Color16& GetTintColor(size_t i) const { return mTintColors[i]; }
    void SetTintColor(size_t i, const Color16& c) { mTintColors[i] = c; }
    const Color8& GetConstColor(size_t i) const { return mConstColors[i]; }
    void SetConstColor(size_t i, const Color8& c) { mConstColors[i] = c; }
    bool HasMatColor() const { return mHasMatColor; }
    const Color8& GetMatColor() const { return mMatColor; }
    void SetMatColor(const Color8& c) { mMatColor = c, mHasMatColor = true; }
    // Animation writes: component `comp` of the colours (values already clamped by caller).
    void SetMatColorComponent(size_t comp, uint8_t v) { mMatColor[comp & 3] = v; }
    void SetTintColorComponent(size_t color, size_t comp, int16_t v) {
        mTintColors[color][comp & 3] = v;
    }
    void SetConstColorComponent(size_t color, size_t comp, uint8_t v) {
        mConstColors[color][comp & 3] = v;
    }

    // Material not to be deleted by the pane that holds it.
    bool IsUserAllocated() const { return mUserAllocated; }
    void SetUserAllocated(bool on) { mUserAllocated = on; }

    detail::LinkList<AnimationLink>& GetAnimLinkList() { return mAnimLinks; }

    // Reads the record at `rec` of the converted file. False when any part of it (or a
    // texture name it refers to) lies outside the file.
    bool Read(detail::ByteView& file, size_t rec, const detail::ResourceContext& ctx);

private:
    char mName[kMaterialNameLen + 1] = {};
    Color16 mTintColors[3] = {};
    Color8 mConstColors[4] = {};
    Color8 mMatColor = {255, 255, 255, 255};
    bool mHasMatColor = false;
    uint8_t mTexMapNum = 0;
    uint8_t mTexSRTNum = 0;
    uint8_t mTexCoordGenNum = 0;
    uint8_t mIndSRTNum = 0;
    uint8_t mIndStageNum = 0;
    uint8_t mTevStageNum = 0;
    std::array<TexMap, kTexMapCap> mTexMaps{};
    std::array<TexSRT, kTexSRTCap> mTexSRTs{};
    std::array<std::array<uint8_t, 4>, kTexCoordGenCap> mTexCoordGens{};
    std::array<TexSRT, kIndSRTCap> mIndSRTs{};
    std::array<std::array<uint8_t, 4>, kIndStageCap> mIndStages{};
    std::array<std::array<uint8_t, 16>, kTevStageCap> mTevStages{};
    // Present-only blocks, kept as read: channel control, swap table, alpha test, blend mode.
    bool mHasChanCtrl = false;
    bool mHasSwapTable = false;
    bool mHasAlphaCompare = false;
    bool mHasBlendMode = false;
    Color8 mChanCtrl{};
    Color8 mSwapTable{};
    Color8 mAlphaCompare{};
    Color8 mBlendMode{};
    bool mUserAllocated = false;
    detail::LinkList<AnimationLink> mAnimLinks;
};

namespace detail {
// Creates the material of "matl" entry `index` for a picture or text box; null (and the
// view failed) when there is no such entry or its record reaches outside the file.
Material* ReadMaterialAt(ByteView& file, const ResourceContext& ctx, uint16_t index);
}  // namespace detail

}  // namespace LYRALib::lytmgr
