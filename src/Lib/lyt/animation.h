#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib/lyt/linkList.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

class Material;
class Pane;
class ResourceAccessor;

// Hermite key: frame, value and slope (value change per frame).
struct HermiteKey {
    float frame = 0.0f;
    float value = 0.0f;
    float slope = 0.0f;
};

// Step key: the value holds from its frame until the next key's.
struct StepKey {
    float frame = 0.0f;
    uint16_t value = 0;
};

// Value of a Hermite curve of n >= 1 keys at `frame`, in single precision.
float EvalHermite(const HermiteKey* keys, size_t n, float frame);
// Value of a step curve of n >= 1 keys at `frame`.
uint16_t EvalStep(const StepKey* keys, size_t n, float frame);

enum AnimContentType : uint8_t { kAnimContentPane = 0, kAnimContentMaterial = 1 };

// One animated value of a target object: the keys of its curve.
struct AnimTarget {
    uint8_t index = 0;    // texture transform / map / indirect transform of a material
    uint8_t element = 0;  // which value of that object
    uint8_t curveType = 0;
    std::vector<HermiteKey> hermiteKeys;  // for Hermite kinds
    std::vector<StepKey> stepKeys;        // for step kinds
};

// Curves of one kind ("APSR", "AVCL", ...) for one pane or material.
struct AnimInfo {
    uint32_t kind = 0;
    std::vector<AnimTarget> targets;
};

// Everything a resource animates on one named pane or material.
struct AnimContent {
    char name[kMaterialNameLen + 1] = {};
    uint8_t type = kAnimContentPane;
    std::vector<AnimInfo> infos;
};

struct AnimGroupRef {
    char name[kGroupNameLen + 1] = {};
};

// Binds the content of a source pane to the panes of a group too.
struct AnimShareInfo {
    char srcPaneName[kPaneNameLen + 1] = {};
    char targetGroupName[kGroupNameLen + 1] = {};
};

// A converted, fully checked animation resource. The curves are copied out of the buffer,
// so nothing here reads the file after Set.
class AnimResource : public detail::LytObject {
public:
    AnimResource() = default;
    virtual ~AnimResource() = default;

    // Converts `buffer` in place and reads it. False (with a warning block) for a buffer
    // that is not an animation, has a bad version, reaches outside itself, or has no "ainf".
    bool Set(void* buffer, size_t size);
    // True once a resource with "ainf" has been set.
    bool IsValid() const { return mValid; }

    uint16_t GetFrameSize() const { return mFrameSize; }
    bool IsLoopData() const { return mLoop; }
    const std::vector<std::string>& GetTextureNames() const { return mTextureNames; }
    const std::vector<AnimContent>& GetContents() const { return mContents; }
    // Index of the pane (type 0) or material content named `name`, or -1.
    int FindContent(const char* name, uint8_t type) const;

    // "atag": referenced groups, descendant flag and frame range (all empty without a tag).
    bool HasTag() const { return mHasTag; }
    const std::vector<AnimGroupRef>& GetGroups() const { return mGroups; }
    uint16_t GetGroupNum() const { return uint16_t(mGroups.size()); }
    bool IsDescendingBind() const { return mDescendingBind; }
    uint16_t GetTagOrder() const { return mTagOrder; }
    const std::string& GetTagName() const { return mTagName; }
    uint16_t GetTagStartFrame() const { return mTagStart; }
    uint16_t GetTagEndFrame() const { return mTagEnd; }
    // "ashr" entries.
    const std::vector<AnimShareInfo>& GetShares() const { return mShares; }

private:
    bool Read(const uint8_t* buf, size_t size);

    bool mValid = false;
    uint16_t mFrameSize = 0;
    bool mLoop = false;
    std::vector<std::string> mTextureNames;
    std::vector<AnimContent> mContents;
    bool mHasTag = false;
    std::vector<AnimGroupRef> mGroups;
    bool mDescendingBind = false;
    uint16_t mTagOrder = 0;
    std::string mTagName;
    uint16_t mTagStart = 0;
    uint16_t mTagEnd = 0;
    std::vector<AnimShareInfo> mShares;
};

class AnimTransform;

// Binds one content of a transform to the pane or material whose list holds the link.
class AnimationLink : public detail::LinkNode {
public:
    // Unlinks the record and marks it free.
    void Reset() {
        Unlink();
        mpAnimTrans = nullptr;
        mIdx = 0;
        mDisable = false;
    }

    AnimTransform* mpAnimTrans = nullptr;  // null: free record
    uint16_t mIdx = 0;                     // content index in the resource
    bool mDisable = false;
};

// Evaluates a resource at its current frame and writes the values into bound targets.
class AnimTransform : public detail::LinkNode {
public:
    AnimTransform() = default;
    virtual ~AnimTransform() = default;

    const AnimResource* GetResource() const { return mpRes; }
    float GetFrame() const { return mFrame; }
    void SetFrame(float frame) { mFrame = frame; }
    uint16_t GetFrameSize() const { return mpRes != nullptr ? mpRes->GetFrameSize() : 0; }
    bool IsLoopData() const { return mpRes != nullptr && mpRes->IsLoopData(); }

    // Takes the resource (which must outlive the transform), finds its textures and
    // makes `linkNum` free link records.
    virtual void AssignResource(const AnimResource* res, ResourceAccessor* accessor,
                                uint16_t linkNum) = 0;
    // The same with one link per content.
    void AssignResource(const AnimResource* res, ResourceAccessor* accessor);
    virtual void AttachToMaterial(Material* material, bool disable) = 0;
    virtual void AttachToTree(Pane* pane, bool recursive, bool disable) = 0;
    virtual void ApplyToMaterial(uint16_t contentIdx, Material* material) = 0;
    virtual void ApplyToPane(uint16_t contentIdx, Pane* pane) = 0;

protected:
    const AnimResource* mpRes = nullptr;
    float mFrame = 0.0f;
};

class AnimTransformBasic : public AnimTransform {
public:
    AnimTransformBasic() = default;
    // Unbinds every link still in use.
    ~AnimTransformBasic() override;

    using AnimTransform::AssignResource;
    void AssignResource(const AnimResource* res, ResourceAccessor* accessor,
                        uint16_t linkNum) override;
    void AttachToMaterial(Material* material, bool disable) override;
    void AttachToTree(Pane* pane, bool recursive, bool disable) override;
    void ApplyToMaterial(uint16_t contentIdx, Material* material) override;
    void ApplyToPane(uint16_t contentIdx, Pane* pane) override;

    // Binds content `contentIdx` to `pane` unless it already has a link of this transform.
    // False (logged) when no free record is left.
    bool BindPane(uint16_t contentIdx, Pane* pane, bool disable);
    bool BindMaterial(uint16_t contentIdx, Material* material, bool disable);

    // Makes the transform own the resource it was given (loaded from a buffer).
    void OwnResource(std::unique_ptr<AnimResource> res) { mOwnedRes = std::move(res); }
    uint16_t GetAnimLinkNum() const { return mAnimLinkNum; }
    uint16_t GetUsedLinkNum() const;
    // Image data of texture file `i` of the resource (null when missing or out of range).
    const void* GetTexture(size_t i) const {
        return i < mTextures.size() ? mTextures[i].data : nullptr;
    }

private:
    struct TextureData {
        const void* data = nullptr;
        uint32_t size = 0;
    };

    // Next free record searching forward from the last one used; null when none is left.
    AnimationLink* AllocLink();
    bool Bind(uint16_t contentIdx, detail::LinkList<AnimationLink>& list, bool disable);
    void FreeLinks();

    std::unique_ptr<AnimResource> mOwnedRes;
    std::vector<TextureData> mTextures;
    std::unique_ptr<AnimationLink[]> mpAnimLinks;
    uint16_t mAnimLinkNum = 0;
    uint16_t mNextLink = 0;
};

}  // namespace LYRALib::lytmgr
