#include "Lib/lyt/picture.h"

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {

namespace {
constexpr Picture::TexCoord kDefaultTexCoord = {Vec2{0, 0}, Vec2{1, 0}, Vec2{0, 1}, Vec2{1, 1}};
}

Picture::Picture() {
    mTexCoords.fill(kDefaultTexCoord);
}

uint8_t Picture::GetVtxColorElement(uint32_t index) const {
    if (index >= 16) return 0xFF;
    return uint8_t(mVtxColors[index / 4] >> (24 - 8 * (index % 4)));
}

void Picture::SetVtxColorElement(uint32_t index, uint8_t value) {
    if (index >= 16) return;
    const uint32_t shift = 24 - 8 * (index % 4);
    uint32_t& color = mVtxColors[index / 4];
    color = (color & ~(0xFFu << shift)) | uint32_t(value) << shift;
}

uint32_t Picture::GetVtxColor(uint32_t index) const {
    return index < 4 ? mVtxColors[index] : 0xFFFFFFFF;
}

void Picture::SetVtxColor(uint32_t index, uint32_t color) {
    if (index < 4) mVtxColors[index] = color;
}

void Picture::AttachDrawable(Drawable* object) {
    Pane::AttachDrawable(object);
    if (mpMaterial != nullptr && mpMaterial->GetTextureNum() > 0) {
        TexMap& map = mpMaterial->GetTexMap(0);
        map.mpTexObj = object;
        map.mpHandedImage = nullptr;  // a new object has been handed nothing yet
    }
}

bool Picture::AppendTexture(const void* image, uint32_t size) {
    if (mpMaterial == nullptr) return false;
    if (mpMaterial->GetTextureNum() >= mpMaterial->GetTextureCap() ||
        mpMaterial->GetTextureNum() >= mpMaterial->GetTexCoordGenCap()) {
        LYRA_WARN("mpMaterial->GetTextureNum()", mpMaterial->GetTextureNum(),
                  "mpMaterial->GetTextureNum(%d) is large. mpMaterial->GetTextureCap(%d), "
                  "mpMaterial->GetTexCoordGenCap(%d)\n",
                  mpMaterial->GetTextureNum(), mpMaterial->GetTextureCap(),
                  mpMaterial->GetTexCoordGenCap());
        return false;
    }
    TexMap map;
    map.mpImage = image;
    map.mImageSize = size;
    return mpMaterial->AppendTexMap(map);
}

void Picture::DrawOwn(const DrawInfo& info) {
    (void)info;
    if (mpMaterial == nullptr || mpDrawable == nullptr || !IsVisible()) return;
    const float width = mSize.width * mGlbScale.x;
    const float height = mSize.height * mGlbScale.y;

    const Color16& white = mpMaterial->GetTintColor(1);
    const Color16& black = mpMaterial->GetTintColor(0);
    const bool whiteIsFull =
        white[0] == 255 && white[1] == 255 && white[2] == 255 && white[3] == 255;
    DrawRequest req;
    req.hasColor = true;
    int alpha = mGlbAlpha;
    int r, g, b;
    if (whiteIsFull) {
        if (black[0] == 0 && black[1] == 0 && black[2] == 0) {
            r = g = b = 255;
        } else {
            r = 255 - 2 * black[0];
            g = 255 - 2 * black[1];
            b = 255 - 2 * black[2];
        }
    } else {
        r = white[0];
        g = white[1];
        b = white[2];
        if (alpha == 255) alpha = white[3];
    }
    if (whiteIsFull && black[0] == 9 && black[1] == 0 && black[2] == 0 && black[3] == 0)
        r = g = b = 255;
    req.red = int16_t(detail::ClampInt(r, -32768, 32767));
    req.green = int16_t(detail::ClampInt(g, -32768, 32767));
    req.blue = int16_t(detail::ClampInt(b, -32768, 32767));
    req.alpha = uint8_t(detail::ClampInt(alpha, 0, 255));
    req.x = detail::FloorToInt(mGlbTranslate.x);
    req.y = detail::FloorToInt(mGlbTranslate.y);
    req.width = detail::FloorToInt(width);
    req.height = detail::FloorToInt(height);
    req.anchor = AnchorFromPosition(mBasePosition);
    mpDrawable->Draw(req);
}

bool Picture::Read(detail::ByteView& file, size_t s, uint32_t sectionSize,
                   const detail::ResourceContext& ctx) {
    if (sectionSize < detail::kPictureFixedSize || !ReadRecord(file, s)) return file.Fail();
    for (size_t i = 0; i < 4; ++i) mVtxColors[i] = file.U32(s + 76 + 4 * i);
    const uint16_t materialIndex = file.U16(s + 92);
    const uint8_t sets = file.U8(s + 94);
    if ((sectionSize - detail::kPictureFixedSize) / 32 < sets) return file.Fail();
    // The coordinate sets stay in file order: read them big-endian.
    mTexCoordNum = sets < kTexCoordCap ? sets : kTexCoordCap;
    for (size_t i = 0; i < mTexCoordNum; ++i)
        for (size_t k = 0; k < 4; ++k) {
            const size_t p = s + 96 + 32 * i + 8 * k;
            mTexCoords[i][k] = {file.F32BE(p), file.F32BE(p + 4)};
        }
    if (!file.ok()) return false;
    Material* material = detail::ReadMaterialAt(file, ctx, materialIndex);
    if (material == nullptr) return false;
    SetMaterialOwned(material);
    return true;
}

}  // namespace LYRALib::lytmgr
