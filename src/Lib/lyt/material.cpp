#include "Lib/lyt/material.h"

#include <cstring>

#include "Lib/lyt/animation.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/resourceAccessor.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {

Material::Material() {
    for (auto& c : mTintColors) c = {255, 255, 255, 255};
    mTintColors[0] = {0, 0, 0, 0};
}

Material::~Material() {
    DetachAllAnims();
}

void Material::SetName(const char* name) {
    std::strncpy(mName, name, kMaterialNameLen);
    mName[kMaterialNameLen] = '\0';
}

bool Material::AppendTexMap(const TexMap& map) {
    if (mTexMapNum >= kTexMapCap) return false;
    mTexMaps[mTexMapNum++] = map;
    return true;
}

void Material::AttachAnim(AnimTransform* transform) {
    if (transform != nullptr) transform->AttachToMaterial(this, false);
}

void Material::DetachAnim(AnimTransform* transform) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr;) {
        AnimationLink* next = mAnimLinks.Next(link);
        if (transform == nullptr || link->mpAnimTrans == transform) link->Reset();
        link = next;
    }
}

void Material::DetachAllAnims() {
    DetachAnim(nullptr);
}

void Material::Animate() {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (!link->mDisable) link->mpAnimTrans->ApplyToMaterial(link->mIdx, this);
}

AnimationLink* Material::FindAnimLinkByResource(const AnimResource* resource) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (link->mpAnimTrans->GetResource() == resource) return link;
    return nullptr;
}

AnimationLink* Material::FindAnimLinkByTransform(const AnimTransform* transform) {
    for (AnimationLink* link = mAnimLinks.Front(); link != nullptr; link = mAnimLinks.Next(link))
        if (link->mpAnimTrans == transform) return link;
    return nullptr;
}

void Material::EnableAnimByResource(const AnimResource* resource, bool enable) {
    if (AnimationLink* link = FindAnimLinkByResource(resource)) link->mDisable = !enable;
}

void Material::EnableAnim(const AnimTransform* transform, bool enable) {
    if (AnimationLink* link = FindAnimLinkByTransform(transform)) link->mDisable = !enable;
}

namespace {

// The name of texture `index` in "texl"; null (and the view failed) when it is not there.
const char* TextureName(detail::ByteView& file, const detail::ResourceContext& ctx, size_t index) {
    if (ctx.textureList == detail::ResourceContext::kNone) return file.Fail(), nullptr;
    const size_t table = ctx.textureList + 12;
    if (index >= file.U16(ctx.textureList + 8)) return file.Fail(), nullptr;
    return file.CStr(table + file.U32(table + 8 * index));
}

void ReadSRT(detail::ByteView& file, size_t p, TexSRT& srt) {
    srt.mTranslate = {file.F32(p), file.F32(p + 4)};
    srt.mRotate = file.F32(p + 8);
    srt.mScale = {file.F32(p + 12), file.F32(p + 16)};
}

template <size_t N>
void ReadBytes(detail::ByteView& file, size_t p, std::array<uint8_t, N>& out) {
    if (const uint8_t* src = file.Ptr(p, N)) std::memcpy(out.data(), src, N);
}

}  // namespace

bool Material::Read(detail::ByteView& file, size_t rec, const detail::ResourceContext& ctx) {
    if (!file.Need(rec, detail::kMaterialFixedSize)) return false;
    file.Fixed(rec, kMaterialNameLen, mName);
    for (size_t c = 0; c < 3; ++c)
        for (size_t k = 0; k < 4; ++k) mTintColors[c][k] = file.S16(rec + 20 + 8 * c + 2 * k);
    for (size_t c = 0; c < 4; ++c) ReadBytes(file, rec + 44 + 4 * c, mConstColors[c]);
    const uint32_t flags = file.U32(rec + 60);
    size_t p = rec + 64;

    // Counts beyond the capacities are read past but not kept.
    const uint32_t texMaps = flags & 0xF;
    for (uint32_t i = 0; i < texMaps; ++i, p += 4) {
        if (!file.Need(p, 4)) return false;
        if (i >= kTexMapCap) continue;
        TexMap& map = mTexMaps[mTexMapNum++];
        map.mTexIdx = file.U16(p);
        const uint8_t s = file.U8(p + 2);
        const uint8_t t = file.U8(p + 3);
        map.mWrapS = s & 3;
        map.mMinFilter = (s >> 2) & 7;
        map.mWrapT = t & 3;
        map.mMagFilter = (t >> 2) & 1;
        const char* name = TextureName(file, ctx, map.mTexIdx);
        if (name == nullptr) return false;
        if (ctx.accessor != nullptr)
            map.mpImage = ctx.accessor->FindResource(detail::kTagImage, name, &map.mImageSize);
    }
    const uint32_t texSRTs = (flags >> 4) & 0xF;
    for (uint32_t i = 0; i < texSRTs; ++i, p += 20) {
        if (!file.Need(p, 20)) return false;
        if (i < kTexSRTCap) ReadSRT(file, p, mTexSRTs[mTexSRTNum++]);
    }
    const uint32_t gens = (flags >> 8) & 0xF;
    for (uint32_t i = 0; i < gens; ++i, p += 4) {
        if (!file.Need(p, 4)) return false;
        if (i < kTexCoordGenCap) ReadBytes(file, p, mTexCoordGens[mTexCoordGenNum++]);
    }
    if ((mHasChanCtrl = (flags >> 25) & 1)) ReadBytes(file, p, mChanCtrl), p += 4;
    if ((mHasMatColor = (flags >> 27) & 1)) ReadBytes(file, p, mMatColor), p += 4;
    if ((mHasSwapTable = (flags >> 12) & 1)) ReadBytes(file, p, mSwapTable), p += 4;
    const uint32_t indSRTs = (flags >> 13) & 0x3;
    for (uint32_t i = 0; i < indSRTs; ++i, p += 20) {
        if (!file.Need(p, 20)) return false;
        ReadSRT(file, p, mIndSRTs[mIndSRTNum++]);
    }
    const uint32_t indStages = (flags >> 15) & 0x7;
    for (uint32_t i = 0; i < indStages; ++i, p += 4) {
        if (!file.Need(p, 4)) return false;
        if (i < kIndStageCap) ReadBytes(file, p, mIndStages[mIndStageNum++]);
    }
    const uint32_t tevStages = (flags >> 18) & 0x1F;
    for (uint32_t i = 0; i < tevStages; ++i, p += 16) {
        if (!file.Need(p, 16)) return false;
        if (i < kTevStageCap) ReadBytes(file, p, mTevStages[mTevStageNum++]);
    }
    if ((mHasAlphaCompare = (flags >> 23) & 1)) ReadBytes(file, p, mAlphaCompare), p += 4;
    if ((mHasBlendMode = (flags >> 24) & 1)) ReadBytes(file, p, mBlendMode), p += 4;
    return file.ok();
}

Material* detail::ReadMaterialAt(ByteView& file, const ResourceContext& ctx, uint16_t index) {
    if (ctx.materialList == ResourceContext::kNone) return file.Fail(), nullptr;
    const size_t list = ctx.materialList;
    if (index >= file.U16(list + 8)) return file.Fail(), nullptr;
    const size_t rec = list + file.U32(list + 12 + 4 * size_t(index));
    if (!file.ok()) return nullptr;
    auto* material = new Material();
    if (!material->Read(file, rec, ctx)) {
        delete material;
        return nullptr;
    }
    return material;
}

}  // namespace LYRALib::lytmgr
