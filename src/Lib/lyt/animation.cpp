#include "Lib/lyt/animation.h"

#include <cmath>
#include <cstring>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/byteOrder.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/resourceAccessor.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {

// ---- curves ----

namespace {

// Halving search of steps 1-3 shared by both curve kinds: lo and hi around `frame`.
template <class Key>
void Bracket(const Key* keys, size_t n, float frame, size_t& lo, size_t& hi) {
    lo = 0;
    hi = n - 1;
    while (lo != hi - 1 && lo != hi) {
        const size_t mid = (lo + hi) / 2;
        if (keys[mid].frame < frame)
            lo = mid;
        else
            hi = mid;
    }
}

bool IsHermiteKind(uint32_t kind) {
    return kind == detail::kTagAnimPaneSRT || kind == detail::kTagAnimVtxColor ||
           kind == detail::kTagAnimMatColor || kind == detail::kTagAnimTexSRT ||
           kind == detail::kTagAnimIndTexSRT;
}

bool IsStepKind(uint32_t kind) {
    return kind == detail::kTagAnimVisibility || kind == detail::kTagAnimTexPattern;
}

}  // namespace

float EvalHermite(const HermiteKey* keys, size_t n, float frame) {
    if (n == 1 || frame <= keys[0].frame) return keys[0].value;
    if (frame >= keys[n - 1].frame) return keys[n - 1].value;
    size_t lo, hi;
    Bracket(keys, n, frame, lo, hi);
    if (std::fabs(frame - keys[hi].frame) < 0.001f) {
        if (hi == n - 1) return keys[hi].value;
        // A jump is two keys on one frame: the later value holds from that frame on.
        return keys[hi + 1].frame == keys[hi].frame ? keys[hi + 1].value : keys[hi].value;
    }
    const float d = keys[hi].frame - keys[lo].frame;
    const float t = frame - keys[lo].frame;
    const float s = t / d;
    const float s2 = s * s;
    const float s3 = s2 * s;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return keys[lo].value * (2.0f * s3 - 3.0f * s2 + 1.0f) +
           keys[hi].value * (-2.0f * s3 + 3.0f * s2) +
           keys[lo].slope * (t3 / (d * d) - 2.0f * t2 / d + t) +
           keys[hi].slope * (t3 / (d * d) - t2 / d);
}

uint16_t EvalStep(const StepKey* keys, size_t n, float frame) {
    if (n == 1 || frame <= keys[0].frame) return keys[0].value;
    if (frame >= keys[n - 1].frame) return keys[n - 1].value;
    size_t lo, hi;
    Bracket(keys, n, frame, lo, hi);
    return std::fabs(frame - keys[hi].frame) < 0.001f ? keys[hi].value : keys[lo].value;
}

// ---- conversion ----

namespace {

void ConvertKeys(detail::WordConverter& c, uint32_t kind, size_t keys, uint16_t count) {
    if (IsHermiteKind(kind)) {
        for (size_t k = 0; k < count && c.ok(); ++k)
            for (size_t w = 0; w < 3; ++w) c.U32(keys + 12 * k + 4 * w);
    } else if (IsStepKind(kind)) {
        for (size_t k = 0; k < count && c.ok(); ++k) {
            c.U32(keys + 8 * k);
            c.U16(keys + 8 * k + 4);
        }
    }
}

void ConvertAnimInfoSection(detail::WordConverter& c, size_t s) {
    c.U16(s + 8);
    const uint16_t textures = c.U16(s + 12);
    const uint16_t contents = c.U16(s + 14);
    const size_t table = s + c.U32(s + 16);
    for (size_t i = 0; i < textures && c.ok(); ++i) c.U32(s + 20 + 4 * i);
    for (size_t ci = 0; ci < contents && c.ok(); ++ci) {
        const size_t content = s + c.U32(table + 4 * ci);
        if (!c.Need(content, 24)) return;
        const uint8_t infos = c.U8(content + 20);
        for (size_t ii = 0; ii < infos && c.ok(); ++ii) {
            const size_t info = content + c.U32(content + 24 + 4 * ii);
            const uint32_t kind = c.U32(info);
            const uint8_t targets = c.U8(info + 4);
            for (size_t ti = 0; ti < targets && c.ok(); ++ti) {
                const size_t target = info + c.U32(info + 8 + 4 * ti);
                if (!c.Need(target, 12)) return;
                const uint16_t keyCount = c.U16(target + 4);
                const size_t keys = target + c.U32(target + 8);
                ConvertKeys(c, kind, keys, keyCount);
            }
        }
    }
}

bool WalkAnimation(detail::WordConverter& c) {
    return detail::WalkSections(c, [&c](uint32_t kind, size_t off, uint32_t size) {
        if (kind == detail::kTagAnimShare) {
            if (size < 14) return false;
            c.U32(off + 8);
            c.U16(off + 12);
        } else if (kind == detail::kTagAnimInfo) {
            if (size < 20) return false;
            ConvertAnimInfoSection(c, off);
        } else if (kind == detail::kTagAnimTag) {
            if (size < 25) return false;
            c.U16(off + 8);
            c.U16(off + 10);
            c.U32(off + 12);
            c.U32(off + 16);
            c.U16(off + 20);
            c.U16(off + 22);
        }
        return true;
    });
}

}  // namespace

// ---- resource ----

bool AnimResource::Set(void* buffer, size_t size) {
    *this = AnimResource();
    auto* buf = static_cast<uint8_t*>(buffer);
    if (buf == nullptr) {
        LYRA_POINTER_ERROR("buffer", buffer);
        return false;
    }
    if (!detail::CheckRawHeader(buf, size, detail::kTagAnimFile, "not layout animation file.\n"))
        return false;
    detail::WordConverter check(buf, size, false);
    if (!WalkAnimation(check)) {
        LYRA_WARN("size", static_cast<long>(size), "animation data is out of range.\n");
        return false;
    }
    detail::WordConverter apply(buf, size, true);
    WalkAnimation(apply);
    if (!Read(buf, size)) {
        *this = AnimResource();
        LYRA_WARN("size", static_cast<long>(size), "animation data is out of range.\n");
        return false;
    }
    if (!mValid) LYRA_WARN("pAnimInfo", 0, "Animation resource is empty.\n");
    return mValid;
}

namespace {

bool ReadInfoSection(detail::ByteView& f, size_t s, uint16_t& frameSize, bool& loop,
                     std::vector<std::string>& textures, std::vector<AnimContent>& contents) {
    frameSize = f.U16(s + 8);
    loop = f.U8(s + 10) != 0;
    const uint16_t textureCount = f.U16(s + 12);
    const uint16_t contentCount = f.U16(s + 14);
    const size_t table = s + f.U32(s + 16);
    for (size_t i = 0; i < textureCount && f.ok(); ++i) {
        const char* name = f.CStr(s + 20 + f.U32(s + 20 + 4 * i));
        if (name != nullptr) textures.emplace_back(name);
    }
    contents.resize(contentCount);
    for (size_t ci = 0; ci < contentCount && f.ok(); ++ci) {
        AnimContent& content = contents[ci];
        const size_t cs = s + f.U32(table + 4 * ci);
        f.Fixed(cs, kMaterialNameLen, content.name);
        const uint8_t infoCount = f.U8(cs + 20);
        content.type = f.U8(cs + 21);
        content.infos.resize(infoCount);
        for (size_t ii = 0; ii < infoCount && f.ok(); ++ii) {
            AnimInfo& info = content.infos[ii];
            const size_t is = cs + f.U32(cs + 24 + 4 * ii);
            info.kind = f.U32(is);
            const uint8_t targetCount = f.U8(is + 4);
            info.targets.resize(targetCount);
            for (size_t ti = 0; ti < targetCount && f.ok(); ++ti) {
                AnimTarget& target = info.targets[ti];
                const size_t ts = is + f.U32(is + 8 + 4 * ti);
                target.index = f.U8(ts);
                target.element = f.U8(ts + 1);
                target.curveType = f.U8(ts + 2);
                const uint16_t keyCount = f.U16(ts + 4);
                const size_t ks = ts + f.U32(ts + 8);
                // A curve needs at least one key to have a value.
                if (keyCount == 0 && (IsHermiteKind(info.kind) || IsStepKind(info.kind)))
                    return f.Fail();
                if (IsHermiteKind(info.kind)) {
                    if (!f.Need(ks, size_t(keyCount) * 12)) return false;
                    target.hermiteKeys.resize(keyCount);
                    for (size_t k = 0; k < keyCount; ++k)
                        target.hermiteKeys[k] = {f.F32(ks + 12 * k), f.F32(ks + 12 * k + 4),
                                                 f.F32(ks + 12 * k + 8)};
                } else if (IsStepKind(info.kind)) {
                    if (!f.Need(ks, size_t(keyCount) * 8)) return false;
                    target.stepKeys.resize(keyCount);
                    for (size_t k = 0; k < keyCount; ++k)
                        target.stepKeys[k] = {f.F32(ks + 8 * k), f.U16(ks + 8 * k + 4)};
                }
            }
        }
    }
    return f.ok();
}

}  // namespace

bool AnimResource::Read(const uint8_t* buf, size_t size) {
    detail::ByteView f(buf, size);
    const uint16_t headerSize = f.U16(12);
    const uint16_t count = f.U16(14);
    size_t off = headerSize;
    bool seenInfo = false, seenTag = false, seenShare = false;
    for (uint16_t i = 0; i < count && f.ok(); ++i) {
        const uint32_t kind = f.U32(off);
        const uint32_t secSize = f.U32(off + 4);
        if (kind == detail::kTagAnimInfo && !seenInfo) {
            seenInfo = true;
            if (!ReadInfoSection(f, off, mFrameSize, mLoop, mTextureNames, mContents)) return false;
        } else if (kind == detail::kTagAnimTag && !seenTag) {
            seenTag = mHasTag = true;
            mTagOrder = f.U16(off + 8);
            const uint16_t groups = f.U16(off + 10);
            const char* name = f.CStr(off + f.U32(off + 12));
            if (name != nullptr) mTagName = name;
            const size_t refs = off + f.U32(off + 16);
            mTagStart = f.U16(off + 20);
            mTagEnd = f.U16(off + 22);
            mDescendingBind = (f.U8(off + 24) & 1) != 0;
            if (!f.Need(refs, size_t(groups) * 20)) return false;
            mGroups.resize(groups);
            for (size_t g = 0; g < groups; ++g)
                f.Fixed(refs + 20 * g, kGroupNameLen, mGroups[g].name);
        } else if (kind == detail::kTagAnimShare && !seenShare) {
            seenShare = true;
            const size_t entries = off + f.U32(off + 8);
            const uint16_t shareCount = f.U16(off + 12);
            if (!f.Need(entries, size_t(shareCount) * 36)) return false;
            mShares.resize(shareCount);
            for (size_t k = 0; k < shareCount; ++k) {
                f.Fixed(entries + 36 * k, kPaneNameLen, mShares[k].srcPaneName);
                f.Fixed(entries + 36 * k + 17, kGroupNameLen, mShares[k].targetGroupName);
            }
        }
        off += secSize;
    }
    mValid = seenInfo && f.ok();
    return f.ok();
}

int AnimResource::FindContent(const char* name, uint8_t type) const {
    const size_t width = type == kAnimContentPane ? kPaneNameLen : kMaterialNameLen;
    for (size_t i = 0; i < mContents.size(); ++i)
        if (mContents[i].type == type && std::strncmp(mContents[i].name, name, width) == 0)
            return int(i);
    return -1;
}

// ---- transforms ----

void AnimTransform::AssignResource(const AnimResource* res, ResourceAccessor* accessor) {
    const size_t n = res != nullptr ? res->GetContents().size() : 0;
    AssignResource(res, accessor, uint16_t(n > 0xFFFF ? 0xFFFF : n));
}

AnimTransformBasic::~AnimTransformBasic() {
    FreeLinks();
}

void AnimTransformBasic::FreeLinks() {
    for (size_t i = 0; i < mAnimLinkNum; ++i) mpAnimLinks[i].Reset();
}

void AnimTransformBasic::AssignResource(const AnimResource* res, ResourceAccessor* accessor,
                                        uint16_t linkNum) {
    FreeLinks();
    mpRes = res;
    mTextures.clear();
    if (res != nullptr) {
        for (const std::string& name : res->GetTextureNames()) {
            TextureData tex;
            if (accessor != nullptr)
                tex.data = accessor->FindResource(detail::kTagImage, name.c_str(), &tex.size);
            if (tex.data == nullptr) LYRA_WARN("pTexData", 0, "file not found. - %s", name.c_str());
            mTextures.push_back(tex);
        }
    }
    mpAnimLinks.reset(linkNum > 0 ? new AnimationLink[linkNum] : nullptr);
    mAnimLinkNum = linkNum;
    mNextLink = 0;
}

uint16_t AnimTransformBasic::GetUsedLinkNum() const {
    uint16_t used = 0;
    for (size_t i = 0; i < mAnimLinkNum; ++i) used += mpAnimLinks[i].mpAnimTrans != nullptr;
    return used;
}

AnimationLink* AnimTransformBasic::AllocLink() {
    for (size_t k = 0; k < mAnimLinkNum; ++k) {
        const size_t i = (mNextLink + k) % mAnimLinkNum;
        if (mpAnimLinks[i].mpAnimTrans == nullptr) {
            mNextLink = uint16_t((i + 1) % mAnimLinkNum);
            return &mpAnimLinks[i];
        }
    }
    return nullptr;
}

bool AnimTransformBasic::Bind(uint16_t contentIdx, detail::LinkList<AnimationLink>& list,
                              bool disable) {
    for (AnimationLink* l = list.Front(); l != nullptr; l = list.Next(l))
        if (l->mpAnimTrans == this) return true;
    AnimationLink* link = AllocLink();
    if (link == nullptr) {
        LYRA_WARN("pAnimLink", 0, "all AnimationLink used.");
        return false;
    }
    link->mpAnimTrans = this;
    link->mIdx = contentIdx;
    link->mDisable = disable;
    list.PushBack(link);
    return true;
}

bool AnimTransformBasic::BindPane(uint16_t contentIdx, Pane* pane, bool disable) {
    return pane != nullptr && Bind(contentIdx, pane->GetAnimLinkList(), disable);
}

bool AnimTransformBasic::BindMaterial(uint16_t contentIdx, Material* material, bool disable) {
    return material != nullptr && Bind(contentIdx, material->GetAnimLinkList(), disable);
}

void AnimTransformBasic::AttachToTree(Pane* pane, bool recursive, bool disable) {
    if (mpRes == nullptr || pane == nullptr) return;
    const auto& contents = mpRes->GetContents();
    for (size_t i = 0; i < contents.size() && i <= 0xFFFF; ++i) {
        const AnimContent& content = contents[i];
        bool bound = true;
        if (content.type == kAnimContentPane) {
            if (Pane* target = pane->FindPane(content.name, recursive))
                bound = BindPane(uint16_t(i), target, disable);
        } else if (content.type == kAnimContentMaterial) {
            if (Material* target = pane->FindMaterial(content.name, recursive))
                bound = BindMaterial(uint16_t(i), target, disable);
        }
        if (!bound) return;
    }
}

void AnimTransformBasic::AttachToMaterial(Material* material, bool disable) {
    if (mpRes == nullptr || material == nullptr) return;
    const auto& contents = mpRes->GetContents();
    for (size_t i = 0; i < contents.size() && i <= 0xFFFF; ++i) {
        const AnimContent& content = contents[i];
        if (content.type != kAnimContentMaterial ||
            std::strncmp(content.name, material->GetName(), kMaterialNameLen) != 0)
            continue;
        if (!BindMaterial(uint16_t(i), material, disable)) return;
    }
}

namespace {

// Curves give floats; colours are bytes. Round half up, then saturate (a value a little past
// the ends, as a Hermite overshoot gives, stays at the end instead of wrapping around).
int RoundToInt(float v) {
    return detail::SaturateToInt(v + 0.5f);
}

}  // namespace

void AnimTransformBasic::ApplyToPane(uint16_t contentIdx, Pane* pane) {
    if (mpRes == nullptr || pane == nullptr || contentIdx >= mpRes->GetContents().size()) return;
    for (const AnimInfo& info : mpRes->GetContents()[contentIdx].infos) {
        for (const AnimTarget& target : info.targets) {
            switch (info.kind) {
                case detail::kTagAnimPaneSRT:
                    pane->SetSRTElement(
                        target.element,
                        EvalHermite(target.hermiteKeys.data(), target.hermiteKeys.size(), mFrame));
                    break;
                case detail::kTagAnimVtxColor: {
                    const float v =
                        EvalHermite(target.hermiteKeys.data(), target.hermiteKeys.size(), mFrame);
                    pane->SetColorByte(target.element,
                                       uint8_t(detail::ClampInt(RoundToInt(v), 0, 255)));
                    break;
                }
                case detail::kTagAnimVisibility:
                    pane->SetVisible(
                        EvalStep(target.stepKeys.data(), target.stepKeys.size(), mFrame) != 0);
                    break;
                default:
                    break;  // material kinds or unknown: not for panes
            }
        }
    }
}

void AnimTransformBasic::ApplyToMaterial(uint16_t contentIdx, Material* material) {
    if (mpRes == nullptr || material == nullptr || contentIdx >= mpRes->GetContents().size())
        return;
    for (const AnimInfo& info : mpRes->GetContents()[contentIdx].infos) {
        for (const AnimTarget& target : info.targets) {
            const uint8_t e = target.element;
            switch (info.kind) {
                case detail::kTagAnimMatColor: {
                    const float h =
                        EvalHermite(target.hermiteKeys.data(), target.hermiteKeys.size(), mFrame);
                    const int v = detail::ClampInt(RoundToInt(h), -1024, 1023);
                    const uint8_t byte = uint8_t(detail::ClampInt(v, 0, 255));
                    if (e < 4) {
                        if (material->HasMatColor()) material->SetMatColorComponent(e, byte);
                    } else if (e < 16) {
                        material->SetTintColorComponent((e - 4) / 4, (e - 4) % 4, int16_t(v));
                    } else if (e < 32) {
                        material->SetConstColorComponent((e - 16) / 4, (e - 16) % 4, byte);
                    }
                    break;
                }
                case detail::kTagAnimTexSRT:
                case detail::kTagAnimIndTexSRT: {
                    const bool ind = info.kind == detail::kTagAnimIndTexSRT;
                    const uint8_t count =
                        ind ? material->GetIndTexSRTNum() : material->GetTexSRTNum();
                    if (target.index >= count || e >= 5) break;
                    TexSRT& srt = ind ? material->GetIndTexSRT(target.index)
                                      : material->GetTexSRT(target.index);
                    float* slots[5] = {&srt.mTranslate.x, &srt.mTranslate.y, &srt.mRotate,
                                       &srt.mScale.x, &srt.mScale.y};
                    *slots[e] =
                        EvalHermite(target.hermiteKeys.data(), target.hermiteKeys.size(), mFrame);
                    break;
                }
                case detail::kTagAnimTexPattern: {
                    if (target.index >= material->GetTextureNum()) break;
                    const uint16_t v =
                        EvalStep(target.stepKeys.data(), target.stepKeys.size(), mFrame);
                    if (v >= mTextures.size() || mTextures[v].data == nullptr) break;
                    TexMap& map = material->GetTexMap(target.index);
                    map.mpImage = mTextures[v].data;
                    map.mImageSize = mTextures[v].size;
                    // Once per change of key image, so a steady key does not reload every
                    // frame; a key back on the layout's own image is handed over too.
                    if (map.mpTexObj == nullptr || map.mpHandedImage == map.mpImage) break;
                    map.mpTexObj->LoadImageData(map.mpImage, map.mImageSize);
                    map.mpHandedImage = map.mpImage;
                    break;
                }
                default:
                    break;  // pane kinds or unknown: not for materials
            }
        }
    }
}

}  // namespace LYRALib::lytmgr
