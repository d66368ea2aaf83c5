#include "Lib/lyt/textBox.h"

#include <cstring>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/byteView.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {

TextBox::TextBox() = default;

void TextBox::AllocText(uint32_t units) {
    mTextBuf.reset(static_cast<char16_t*>(LytAlloc(units * sizeof(char16_t))));
    std::memset(mTextBuf.get(), 0, units * sizeof(char16_t));
    mTextBufBytes = units * sizeof(char16_t);
    mTextLen = 0;
}

void TextBox::ReserveText(uint16_t minLen) {
    if (minLen == 0) return;
    const uint32_t needed = (uint32_t(minLen) + 1) * 2;
    if (needed >= 0x10000)
        LYRA_WARN("minLen", minLen, "minLen is too large. - %d\n", static_cast<int>(minLen));
    if (mTextBuf != nullptr && mTextBufBytes >= needed) return;
    ReleaseText();
    AllocText(uint32_t(minLen) + 1);
}

void TextBox::ReleaseText() {
    mTextBuf.reset();
    mTextBufBytes = 0;
    mTextLen = 0;
}

uint16_t TextBox::CopyText(const char16_t* text, uint16_t dstIdx, uint16_t len) {
    if (mTextBuf == nullptr) {
        LYRA_WARN("mTextBuf", 0, "mTextBuf is NULL.\n");
        return 0;
    }
    const uint32_t units = mTextBufBytes / 2;
    if (units == 0 || dstIdx >= units - 1) {
        LYRA_WARN("dstIdx", dstIdx, "dstIdx is out of range.\n");
        return 0;
    }
    const uint32_t room = units - 1 - dstIdx;
    const uint16_t copied = uint16_t(len < room ? len : room);
    if (text != nullptr && copied > 0) std::memcpy(&mTextBuf[dstIdx], text, copied * 2);
    if (copied < len)
        LYRA_WARN("len", len, "%d character(s) droped.\n", static_cast<int>(len - copied));
    mTextLen = uint16_t(dstIdx + copied);
    mTextBuf[mTextLen] = u'\0';
    return copied;
}

uint16_t TextBox::CopyText(const char16_t* text, uint16_t dstIdx) {
    uint32_t len = 0;
    if (text != nullptr)
        while (text[len] != u'\0' && len < 0xFFFF) ++len;
    return CopyText(text, dstIdx, uint16_t(len));
}

void TextBox::DrawOwn(const DrawInfo& info) {
    (void)info;
    if (mpDrawable == nullptr || !IsVisible()) return;
    DrawRequest req;
    if (mpMaterial != nullptr) {
        const Color16& white = mpMaterial->GetTintColor(1);
        const Color16& black = mpMaterial->GetTintColor(0);
        int16_t* out[3] = {&req.red, &req.green, &req.blue};
        for (size_t c = 0; c < 3; ++c) {
            // Integer division truncates toward zero, as the formula wants.
            const int v = (black[c] / 2 - (255 - white[c]) / 2) * 2 + 255;
            *out[c] = int16_t(detail::ClampInt(v, -32768, 32767));
        }
        req.hasColor = true;
    }
    req.alpha = mGlbAlpha;
    req.x = detail::FloorToInt(mGlbTranslate.x);
    req.y = detail::FloorToInt(mGlbTranslate.y);
    req.width = detail::FloorToInt(mSize.width * mGlbScale.x);
    req.height = detail::FloorToInt(mSize.height * mGlbScale.y);
    req.anchor = AnchorFromPosition(mTextPosition);
    mpDrawable->Draw(req);
}

bool TextBox::Read(detail::ByteView& file, size_t s, uint32_t sectionSize,
                   const detail::ResourceContext& ctx) {
    if (sectionSize < detail::kTextBoxFixedSize || !ReadRecord(file, s)) return file.Fail();
    const uint16_t bufBytes = file.U16(s + 76);
    const uint16_t strBytes = file.U16(s + 78);
    const uint16_t materialIndex = file.U16(s + 80);
    mTextPosition = file.U8(s + 84);
    mTextAlignment = file.U8(s + 85) & 3;
    const uint32_t strOffset = file.U32(s + 88);
    mTextColors[0] = file.U32(s + 92);
    mTextColors[1] = file.U32(s + 96);
    mFontSize = {file.F32(s + 100), file.F32(s + 104)};
    mCharSpace = file.F32(s + 108);
    mLineSpace = file.F32(s + 112);
    if (!file.ok()) return false;

    const uint32_t units = bufBytes / 2;
    if (units > 0) AllocText(units);
    if (strBytes >= 2) {
        const size_t strUnits = strBytes / 2 - 1;
        const size_t str = s + size_t(strOffset);
        if (!file.Need(str, strUnits * 2)) return false;
        // An initial string longer than the buffer is cut to fit (terminator kept).
        const size_t kept = units == 0 ? 0 : (strUnits < units - 1 ? strUnits : units - 1);
        for (size_t i = 0; i < kept; ++i) mTextBuf[i] = char16_t(file.U16BE(str + 2 * i));
        if (units > 0) mTextBuf[kept] = u'\0';
        mTextLen = uint16_t(kept);
    }
    Material* material = detail::ReadMaterialAt(file, ctx, materialIndex);
    if (material == nullptr) return false;
    SetMaterialOwned(material);
    return true;
}

}  // namespace LYRALib::lytmgr
