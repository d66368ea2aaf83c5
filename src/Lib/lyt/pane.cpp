#include "Lib/lyt/pane.h"

#include <cstring>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/material.h"

namespace LYRALib::lytmgr {

Pane::Pane() = default;

Pane::~Pane() {
    DetachAllAnims(false);
    SetMaterialOwned(nullptr);
    while (Pane* child = mChildren.Front()) {
        RemoveChild(child);
        if (!child->IsUserAllocated()) delete child;
    }
}

void Pane::SetMaterialOwned(Material* material) {
    if (mpMaterial != nullptr && mpMaterial != material && !mpMaterial->IsUserAllocated())
        delete mpMaterial;
    mpMaterial = material;
}

void Pane::AppendChild(Pane* child) {
    if (child == nullptr || child == this) return;
    if (child->mpParent != nullptr) child->mpParent->RemoveChild(child);
    mChildren.PushBack(child);
    child->mpParent = this;
}

void Pane::RemoveChild(Pane* child) {
    if (child == nullptr || child->mpParent != this) return;
    child->Unlink();
    child->mpParent = nullptr;
}

Pane* Pane::GetNextSibling() const {
    return mpParent != nullptr ? mpParent->mChildren.Next(this) : nullptr;
}

void Pane::SetName(const char* name) {
    std::strncpy(mName, name, kPaneNameLen);
    mName[kPaneNameLen] = '\0';
}

void Pane::SetSRTElement(uint32_t element, float value) {
    float* slots[10] = {&mTranslate.x, &mTranslate.y, &mTranslate.z, &mRotate.x,   &mRotate.y,
                        &mRotate.z,    &mScale.x,     &mScale.y,     &mSize.width, &mSize.height};
    if (element < 10) *slots[element] = value;
}

float Pane::GetSRTElement(uint32_t element) const {
    const float slots[10] = {mTranslate.x, mTranslate.y, mTranslate.z, mRotate.x,   mRotate.y,
                             mRotate.z,    mScale.x,     mScale.y,     mSize.width, mSize.height};
    return element < 10 ? slots[element] : 0.0f;
}

int Pane::AnchorFromPosition(uint8_t position) {
    return (position % 3 + 1) | (position / 3 + 1) << 4;
}

// ---- transform and drawing ----

void Pane::UpdateGlobals(DrawInfo& info) {
    if (!IsVisible() && !info.IsInvisibleNeedsCalc()) return;

    mEffectiveScale = mScale;
    if (info.IsLocationAdjust() && IsLocationAdjust()) {
        mEffectiveScale.x *= info.mLocationAdjustScale.x;
        mEffectiveScale.y *= info.mLocationAdjustScale.y;
    }
    if (mpParent != nullptr) {
        const Vec2& ps = mpParent->mGlbScale;
        const Vec3& pt = mpParent->mGlbTranslate;
        mGlbScale = {ps.x * mEffectiveScale.x, ps.y * mEffectiveScale.y};
        mGlbTranslate = {mTranslate.x * ps.x + pt.x, mTranslate.y * ps.y + pt.y, mTranslate.z};
    } else {
        mGlbScale = mEffectiveScale;
        mGlbTranslate = mTranslate;
    }
    if (info.IsMultiplyAlpha() && mpParent != nullptr)
        mGlbAlpha =
            uint8_t(detail::ClampInt(detail::SaturateToInt(info.mGlobalAlpha * mAlpha), 0, 255));
    else
        mGlbAlpha = mAlpha;

    const float savedAlpha = info.mGlobalAlpha;
    const bool savedMultiply = info.IsMultiplyAlpha();
    const bool changes = IsInfluencedAlpha() && mAlpha < 255;
    if (changes) {
        info.mGlobalAlpha = mAlpha * savedAlpha * 0.003921569f;
        info.SetFlag(DrawInfo::kFlagMultiplyAlpha, true);
    }
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->UpdateGlobals(info);
    if (changes) {
        info.mGlobalAlpha = savedAlpha;
        info.SetFlag(DrawInfo::kFlagMultiplyAlpha, savedMultiply);
    }
}

void Pane::Draw(const DrawInfo& info) {
    if (!IsVisible()) return;
    PrepareDrawOwn(info);
    DrawOwn(info);
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->Draw(info);
}

void Pane::DrawOwn(const DrawInfo& info) {
    (void)info;
}

void Pane::PrepareDrawOwn(const DrawInfo& info) {
    (void)info;
}

void Pane::AttachDrawable(Drawable* object) {
    mpDrawable = object;
}

// ---- colours ----

uint8_t Pane::GetColorByte(uint32_t index) const {
    return index == 16 ? mAlpha : GetVtxColorElement(index);
}

void Pane::SetColorByte(uint32_t index, uint8_t value) {
    if (index == 16)
        mAlpha = value;
    else
        SetVtxColorElement(index, value);
}

uint8_t Pane::GetVtxColorElement(uint32_t index) const {
    (void)index;
    return 0xFF;
}

void Pane::SetVtxColorElement(uint32_t index, uint8_t value) {
    (void)index;
    (void)value;
}

// ---- lookup ----

Pane* Pane::FindPane(const char* name, bool recursive) {
    if (name == nullptr) return nullptr;
    if (std::strncmp(mName, name, kPaneNameLen) == 0) return this;
    if (!recursive) return nullptr;
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        if (Pane* hit = child->FindPane(name, true)) return hit;
    return nullptr;
}

Material* Pane::FindMaterial(const char* name, bool recursive) {
    if (name == nullptr) return nullptr;
    if (mpMaterial != nullptr && std::strncmp(mpMaterial->GetName(), name, kMaterialNameLen) == 0)
        return mpMaterial;
    if (!recursive) return nullptr;
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        if (Material* hit = child->FindMaterial(name, true)) return hit;
    return nullptr;
}

uint32_t Pane::GetMaterialNum() const {
    return mpMaterial != nullptr ? 1 : 0;
}

Material* Pane::GetMaterial(uint32_t index) const {
    if (index >= GetMaterialNum())
        LYRA_ASSERTMSG("idx < GetMaterialNum()", index, "idx >= GetMaterialNum() : %d >= %d",
                       static_cast<int>(index), static_cast<int>(GetMaterialNum()));
    return index == 0 ? mpMaterial : nullptr;
}

// ---- animation ----

void Pane::AttachAnim(AnimTransform* transform, bool recursive, bool disable) {
    if (transform != nullptr) transform->AttachToTree(this, recursive, disable);
}

void Pane::UnbindAnimSelf(AnimTransform* transform) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr;) {
        AnimationLink* next = mAnimLinks.Next(link);
        if (transform == nullptr || link->mpAnimTrans == transform) link->Reset();
        link = next;
    }
}

void Pane::DetachAnim(AnimTransform* transform, bool recursive) {
    UnbindAnimSelf(transform);
    if (mpMaterial != nullptr) mpMaterial->DetachAnim(transform);
    if (!recursive) return;
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->DetachAnim(transform, true);
}

void Pane::DetachAllAnims(bool recursive) {
    DetachAnim(nullptr, recursive);
}

AnimationLink* Pane::FindAnimLinkByResource(const AnimResource* resource) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (link->mpAnimTrans->GetResource() == resource) return link;
    return nullptr;
}

AnimationLink* Pane::FindAnimLinkByTransform(const AnimTransform* transform) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (link->mpAnimTrans == transform) return link;
    return nullptr;
}

void Pane::EnableAnimByResource(const AnimResource* resource, bool enable, bool recursive) {
    if (AnimationLink* link = FindAnimLinkByResource(resource)) link->mDisable = !enable;
    if (mpMaterial != nullptr) mpMaterial->EnableAnimByResource(resource, enable);
    if (!recursive) return;
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->EnableAnimByResource(resource, enable, true);
}

void Pane::EnableAnim(const AnimTransform* transform, bool enable, bool recursive) {
    if (AnimationLink* link = FindAnimLinkByTransform(transform)) link->mDisable = !enable;
    if (mpMaterial != nullptr) mpMaterial->EnableAnim(transform, enable);
    if (!recursive) return;
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->EnableAnim(transform, enable, true);
}

void Pane::AnimateOwn(uint32_t option) {
    (void)option;
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (!link->mDisable) link->mpAnimTrans->ApplyToPane(link->mIdx, this);
}

void Pane::Animate(uint32_t option) {
    AnimateOwn(option);
    if (!IsVisible() && (option & 1) != 0) return;
    if (mpMaterial != nullptr) mpMaterial->Animate();
    for (Pane* child = mChildren.Front(); child != nullptr; child = mChildren.Next(child))
        child->Animate(option);
}

// ---- reading ----

bool Pane::ReadRecord(detail::ByteView& file, size_t s) {
    if (!file.Need(s, 76)) return false;
    mFlag = file.U8(s + 8);
    mBasePosition = file.U8(s + 9);
    mAlpha = mGlbAlpha = file.U8(s + 10);
    file.Fixed(s + 12, kPaneNameLen, mName);
    file.Fixed(s + 28, kUserStrLen, mUserStr);
    mTranslate = {file.F32(s + 36), file.F32(s + 40), file.F32(s + 44)};
    mRotate = {file.F32(s + 48), file.F32(s + 52), file.F32(s + 56)};
    mScale = {file.F32(s + 60), file.F32(s + 64)};
    mSize = {file.F32(s + 68), file.F32(s + 72)};
    return file.ok();
}

bool Pane::ReadUserData(detail::ByteView& file, size_t s, uint32_t sectionSize) {
    const uint16_t count = file.U16(s + 8);
    if (sectionSize < 12 || (sectionSize - 12) / 12 < count) return file.Fail();
    const size_t entries = s + 12;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = entries + 12 * i;
        if (file.CStr(entry + file.U32BE(entry)) == nullptr) return false;
    }
    if (!file.ok()) return false;
    mpUserData = file.data() + entries;
    mUserDataNum = count;
    return true;
}

const uint8_t* Pane::FindExtUserDataByName(const char* name) const {
    if (mpUserData == nullptr || name == nullptr) return nullptr;
    for (size_t i = 0; i < mUserDataNum; ++i) {
        const uint8_t* entry = mpUserData + 12 * i;
        // Every name was checked to lie (terminated) inside the file when it was read.
        const char* entryName = reinterpret_cast<const char*>(entry + bytes::LoadU32BE(entry));
        if (std::strcmp(entryName, name) == 0) return entry;
    }
    return nullptr;
}

}  // namespace LYRALib::lytmgr
