#pragma once

#include <cstdint>
#include <memory>

#include "Lib/lyt/pane.h"

namespace LYRALib::lytmgr {

// A pane whose draw object renders text; it keeps a UTF-16 text buffer of its own.
class TextBox : public Pane {
public:
    TextBox();

    void DrawOwn(const DrawInfo& info) override;

    // Makes room for at least `minLen` code units plus the terminator; 0 does nothing.
    virtual void ReserveText(uint16_t minLen);
    // Frees the buffer; the capacity becomes 0.
    virtual void ReleaseText();
    // Copies up to `len` units of `text` to unit `dstIdx`, cutting what does not fit (logged);
    // the text then ends after the copy. Returns the number of units copied.
    virtual uint16_t CopyText(const char16_t* text, uint16_t dstIdx, uint16_t len);
    // The same with the text's own length (up to its terminator).
    virtual uint16_t CopyText(const char16_t* text, uint16_t dstIdx);

    const char16_t* GetString() const { return mTextBuf.get(); }
    // Buffer size in bytes (terminator included).
    uint32_t GetStringBufferSize() const { return mTextBufBytes; }
    uint16_t GetStringLength() const { return mTextLen; }
    // Text colours 0 (top) and 1 (bottom) as 0xRRGGBBAA.
    uint32_t GetTextColor(uint32_t i) const { return i < 2 ? mTextColors[i] : 0; }
    const Size& GetFontSize() const { return mFontSize; }
    float GetCharSpace() const { return mCharSpace; }
    float GetLineSpace() const { return mLineSpace; }
    uint8_t GetTextPosition() const { return mTextPosition; }
    void SetTextPosition(uint8_t position) { mTextPosition = position; }
    uint8_t GetTextAlignment() const { return mTextAlignment; }
    void SetMaterial(Material* material) { SetMaterialOwned(material); }

    // Reads a converted "txtb" section (record, buffer, initial string, text fields, material).
    bool Read(detail::ByteView& file, size_t s, uint32_t sectionSize,
              const detail::ResourceContext& ctx);

private:
    void AllocText(uint32_t units);

    std::unique_ptr<char16_t[], detail::LytDeleter> mTextBuf;
    uint32_t mTextBufBytes = 0;
    uint16_t mTextLen = 0;
    uint32_t mTextColors[2] = {0xFFFFFFFF, 0xFFFFFFFF};
    Size mFontSize;
    float mCharSpace = 0.0f;
    float mLineSpace = 0.0f;
    uint8_t mTextPosition = 4;
    uint8_t mTextAlignment = 0;
};

}  // namespace LYRALib::lytmgr
