// Opens fonts from an arbitrary text archive and lays arbitrary Shift_JIS text out with them:
// the archive, the font file inside it and the text may all be broken, and nothing may read
// or write outside a buffer. A laid-out text must fit the texture it was rasterised into.
//
// Input: byte 0 the pixel size, byte 1 the bytes per line (high bit: the rounded font),
// byte 2 the text's length, then the text, then the archive (DATA/IMG/TEXT.T2G).
#include "FuzzSupport.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/TSFont.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/TSingleton.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    fuzz::ScratchFolder();
    const int pixels = 1 + data[0] % 80;
    const int perLine = data[1] & 0x7F;
    const char* file = (data[1] & 0x80) ? "UIRounded-DemiBold.otf" : "UIGothic-Bold.otf";
    size_t textSize = data[2];
    data += 3;
    size -= 3;
    if (textSize > size) textSize = size;
    const std::string text(reinterpret_cast<const char*>(data), textSize);
    fuzz::WriteFile(CFontMgr::kArchivePath, data + textSize, size - textSize);

    // A fresh manager reads the archive just written.
    TSingleton<CFontMgr>::DestroyInstance();
    CFontMgr& fonts = TSingleton<CFontMgr>::GetInstance();
    {
        int owner = 0;
        CText label;
        label.Init(&owner, "", file, pixels, pixels);
        label.SetMaxBytesPerLine(perLine);
        label.SetMaxLines(1 + perLine % 16);
        label.SetRevealCount(perLine % 5);
        label.SetStringAt(text.c_str(), 512, 384, 0x22);
        // Lines are as wide as the canvas at most; they stack up to the texture size limit.
        if (label.BlockWidth() < 0 || label.BlockWidth() > CText::kCanvasWidth ||
            label.BlockHeight() < 0 || label.BlockHeight() > 4096)
            __builtin_trap();
        if (const gfx::GpuTexture* texture = label.Texture()) {
            if (int(texture->Width()) < label.BlockWidth() ||
                int(texture->Height()) < label.BlockHeight())
                __builtin_trap();
        }
        label.Draw();
        // The same font again is shared, not loaded twice.
        if (CTSFont* font = label.Font()) {
            CTSFont* again = fonts.GetFont(&owner, "", file, pixels, pixels);
            if (again != font) __builtin_trap();
            fonts.DecReference(again);
            for (char16_t c : {u'A', u'-', u'\u3042', char16_t(text.empty() ? 0 : text[0])})
                font->Glyph(c);
        }
    }
    if (fonts.FontCount() != 0) __builtin_trap();  // every reference was given back
    return 0;
}
