#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/GObj.h"
#include "Lib/ZIRur/Graphics/GpuTexture.h"

class CTSFont;

// A Shift_JIS text drawn as one sprite: the string is split into byte-counted lines, every
// line is rasterised into one texture of white coverage, and the texture is drawn in the
// object's colour.
class CText : public CGObj {
public:
    // Canvas every line is rasterised on, and the baseline row used there.
    static constexpr int kCanvasWidth = 1024;
    static constexpr int kCanvasHeight = 768;
    static constexpr int kBaseline = 568;
    // Stored string limit (bytes, without the terminator).
    static constexpr size_t kMaxStringBytes = 2047;
    // Code units of one line handed to the rasteriser.
    static constexpr size_t kMaxLineUnits = 400;
    // Line limits of a new object.
    static constexpr int kDefaultMaxBytesPerLine = 128;
    static constexpr int kDefaultMaxLines = 16;

    // One laid-out line: its placement and size, and its bytes.
    struct Line {
        int m_x = 0;
        int m_y = 0;
        int m_width = 0;
        int m_height = 0;
        std::string m_text;
    };

    CText();
    ~CText() override;
    CText(const CText&) = delete;
    CText& operator=(const CText&) = delete;

    // Draws the rendered block at the position SetBox gave it; nothing without a font.
    void Draw() override;
    // Places the block inside a box whose centre is (x, y).
    void SetBox(int x, int y, int width, int height, int align) override;
    // Writes position, size, scale, line count and colour, then one line per line record.
    void PrintProp() override;
    virtual void ResetColor() { SetColor(255, 255, 255); }
    virtual void ResetAlpha() { SetAlpha(255); }
    // Colour from 0xRRGGBB.
    virtual void SetColorRGB(uint32_t rgb);

    // Takes the shared font for (owner key, file, size) and remembers the resource path.
    void Init(const void* ownerKey, const char* fontResourcePath, const char* fontFile, int width,
              int height);
    // Lays the string out at the last position and alignment; null re-lays the stored one.
    void SetString(const char* text, bool convert = true);
    // The same at a new place.
    void SetStringAt(const char* text, int x, int y, int align, bool convert = true);

    // 1 and set if 1 <= n < 128, else 0.
    int SetMaxBytesPerLine(int n);
    // 1 and set if 1 <= n < 17, else 0.
    int SetMaxLines(int n);
    // Shows only the first n characters (across lines); ignored unless n > 0.
    void SetRevealCount(int n);

    // Splits a Shift_JIS string into lines of at most maxBytes bytes (a closing mark may
    // follow a full line; a double-byte character is never cut) and at most maxLines lines.
    static int SplitString(const char* text, std::vector<std::string>& lines, int maxBytes,
                           int maxLines);

    CTSFont* Font() const { return m_pFont; }
    int LineCount() const { return m_lineCount; }
    const Line& LineRecord(int i) const { return m_lines.at(size_t(i)); }
    const std::string& String() const { return m_szString; }
    int BlockWidth() const { return m_blockWidth; }
    int BlockHeight() const { return m_blockHeight; }
    int LeftOffset() const { return m_leftX; }
    int VerticalOffset() const { return m_offsetY; }
    int MaxBytesPerLine() const { return m_maxBytesPerLine; }
    int MaxLines() const { return m_maxLines; }
    // The rendered texture (block in its top-left corner), or null.
    const gfx::GpuTexture* Texture() const { return m_texture.get(); }

private:
    // Rasterises the lines into one texture; sets the block size.
    void Render(const std::vector<std::string>& lines);
    void ReleaseFont();

    CTSFont* m_pFont = nullptr;
    int m_lineCount = 0;
    std::vector<Line> m_lines;
    int m_leftX = 0;
    int m_offsetY = 0;
    std::string m_szString;
    int m_lastX = 0;
    int m_lastY = 0;
    int m_lastAlign = 0x11;
    int m_maxBytesPerLine = kDefaultMaxBytesPerLine;
    int m_maxLines = kDefaultMaxLines;
    int m_revealCount = 0;
    std::string m_szFontResource;
    int m_blockWidth = 0;
    int m_blockHeight = 0;
    std::unique_ptr<gfx::GpuTexture> m_texture;
};
