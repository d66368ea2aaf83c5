#include "Lib/ZIRur/Text/Text.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/StrConvert.h"
#include "Lib/ZIRur/Text/TSFont.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"

namespace {

constexpr int kMaxTextureEdge = 4096;
constexpr size_t kMaxResourcePath = 127;

bool IsLeadByte(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// "、", "。" and "，" may stay on a full line.
bool IsClosingMark(const char* p) {
    return uint8_t(p[0]) == 0x81 && (p[1] == 0x41 || p[1] == 0x42 || p[1] == 0x43);
}

int PowerOfTwoEdge(int n) {
    int edge = 2;
    while (edge < n && edge < kMaxTextureEdge) edge *= 2;
    return edge;
}

// The shared rasterising canvas: one line at a time is drawn on it around the baseline,
// copied out, and its touched area cleared again.
struct Canvas {
    std::mutex lock;
    std::vector<uint32_t> pixels;
};

Canvas& TheCanvas() {
    static Canvas canvas;
    return canvas;
}

}  // namespace

CText::CText() {
    m_align = 0x21;
}

CText::~CText() {
    ReleaseFont();
}

void CText::ReleaseFont() {
    if (m_pFont != nullptr && TSingleton<CFontMgr>::Exists())
        TSingleton<CFontMgr>::GetInstance().DecReference(m_pFont);
    m_pFont = nullptr;
}

void CText::Init(const void* ownerKey, const char* fontResourcePath, const char* fontFile,
                 int width, int height) {
    ReleaseFont();
    m_pFont = TSingleton<CFontMgr>::GetInstance().GetFont(ownerKey, fontResourcePath, fontFile,
                                                          width, height);
    m_szFontResource = fontResourcePath != nullptr
                           ? std::string(fontResourcePath).substr(0, kMaxResourcePath)
                           : std::string();
}

int CText::SetMaxBytesPerLine(int n) {
    if (n < 1 || n >= 128) return 0;
    m_maxBytesPerLine = n;
    return 1;
}

int CText::SetMaxLines(int n) {
    if (n < 1 || n >= 17) return 0;
    m_maxLines = n;
    return 1;
}

void CText::SetRevealCount(int n) {
    if (n > 0) m_revealCount = n;
}

void CText::SetColorRGB(uint32_t rgb) {
    SetColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

int CText::SplitString(const char* text, std::vector<std::string>& lines, int maxBytes,
                       int maxLines) {
    lines.clear();
    if (text == nullptr || maxBytes < 1 || maxLines < 1) return 0;
    const size_t limit = size_t(maxBytes);
    const size_t length = std::strlen(text);
    std::string current;
    // Ends the current line; true when the line limit is reached and splitting stops.
    auto endLine = [&] {
        lines.push_back(std::move(current));
        current.clear();
        if (int(lines.size()) < maxLines) return false;
        dbglog::Printf("SplitString()\tLines is over. %s\n", text);
        return true;
    };
    for (size_t i = 0; i < length;) {
        if (text[i] == '\n') {
            if (endLine()) return int(lines.size());
            ++i;
            continue;
        }
        // Widths count bytes, but a double-byte character moves as a whole: cutting it
        // would turn both halves into wrong characters.
        const size_t width = IsLeadByte(uint8_t(text[i])) && i + 1 < length ? 2 : 1;
        const bool fits = current.size() + width <= limit;
        const bool closingMark = current.size() == limit && width == 2 && IsClosingMark(text + i);
        if (!fits && !closingMark) {
            if (endLine()) return int(lines.size());
        }
        current.append(text + i, width);
        i += width;
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return int(lines.size());
}

void CText::SetString(const char* text, bool convert) {
    SetStringAt(text, m_lastX, m_lastY, m_lastAlign, convert);
}

void CText::SetStringAt(const char* text, int x, int y, int align, bool convert) {
    // Layout and drawing share the device lock, so a string may be set from another thread.
    std::lock_guard deviceLock(gfx::RenderDevice::Instance().Lock());
    if (m_pFont == nullptr) {
        dbglog::Printf("CText ::: font is null\n");
        return;
    }
    if (text != nullptr) {
        std::string incoming =
            convert ? TSingleton<CStrConvert>::GetInstance().Convert(text) : std::string(text);
        if (incoming.size() > kMaxStringBytes) incoming.resize(kMaxStringBytes);
        if (incoming != m_szString || incoming.empty()) m_szString = std::move(incoming);
    }
    std::vector<std::string> lines;
    SplitString(m_szString.c_str(), lines, m_maxBytesPerLine, m_maxLines);
    Render(lines);

    // The block is placed as one record.
    const int w = m_blockWidth;
    const int h = m_blockHeight;
    int offsetX = 0;
    if ((align & 0x0F) == 2) offsetX = -w / 2;
    if ((align & 0x0F) == 3) offsetX = -w;
    int offsetY = 0;
    if ((align & 0xF0) == 0x20) offsetY = -h / 2;
    if ((align & 0xF0) == 0x30) offsetY = -h;
    m_leftX = offsetX;
    m_offsetY = offsetY;
    for (Line& line : m_lines) {
        line.m_x = offsetX - m_leftX;
        line.m_y = offsetY;
    }
    m_lastX = x;
    m_lastY = y;
    m_lastAlign = align;
    m_x = x;
    m_y = y - h / 2;
    m_align = align;
}

void CText::Render(const std::vector<std::string>& lines) {
    m_texture.reset();
    m_lines.clear();
    m_lineCount = 0;
    m_blockWidth = 0;
    m_blockHeight = 0;
    if (lines.empty()) return;

    Canvas& canvas = TheCanvas();
    std::lock_guard canvasLock(canvas.lock);
    if (canvas.pixels.empty()) canvas.pixels.assign(size_t(kCanvasWidth) * kCanvasHeight, 0);
    uint32_t* pixels = canvas.pixels.data();

    // Texels are white coverage: the object's colour is applied once, when drawing. Baking it
    // in here as well would show a string set after a colour change in the colour squared.
    constexpr uint32_t colour = 0x00FFFFFFu;
    const int scaled = m_pFont->ScaledSize();
    const bool spaced = lines.size() > 1;
    // Rows of the block, 1024 pixels wide, appended line by line.
    std::vector<uint32_t> block;
    int blockWidth = 0;
    int blockHeight = 0;
    int unitIndex = 0;

    for (const std::string& text : lines) {
        const std::u16string units = SjisToUtf16(text, kMaxLineUnits);
        int penX = 0;
        int top = 9999;
        int bottom = 0;
        int dirtyTop = kCanvasHeight, dirtyBottom = 0, dirtyLeft = kCanvasWidth, dirtyRight = 0;
        for (char16_t unit : units) {
            const GlyphImage* glyph = m_pFont->Glyph(unit);
            const bool visible = m_revealCount == 0 || unitIndex < m_revealCount;
            ++unitIndex;
            if (glyph != nullptr) {
                const int rowBase = kBaseline - glyph->top;
                const int colBase = penX + glyph->left;
                // Clip the bitmap to the canvas on every side.
                const int i0 = std::max(0, -rowBase);
                const int i1 = std::min(glyph->rows, kCanvasHeight - rowBase);
                const int j0 = std::max(0, -colBase);
                const int j1 = std::min(glyph->width, kCanvasWidth - colBase);
                for (int i = i0; i < i1; ++i) {
                    const uint8_t* cov = glyph->coverage.data() + size_t(i) * size_t(glyph->width);
                    uint32_t* out = pixels + size_t(rowBase + i) * kCanvasWidth + colBase;
                    if (visible) {
                        for (int j = j0; j < j1; ++j) out[j] = colour | uint32_t(cov[j]) << 24;
                    } else {
                        for (int j = j0; j < j1; ++j) out[j] = colour;
                    }
                }
                if (i0 < i1 && j0 < j1) {
                    dirtyTop = std::min(dirtyTop, rowBase + i0);
                    dirtyBottom = std::max(dirtyBottom, rowBase + i1);
                    dirtyLeft = std::min(dirtyLeft, colBase + j0);
                    dirtyRight = std::max(dirtyRight, colBase + j1);
                }
                top = std::min(top, rowBase);
                bottom = std::max(bottom, glyph->rows + rowBase);
                penX += glyph->advance;
            }
            // Whatever would start past the canvas's right edge is dropped.
            if (penX + scaled > kCanvasWidth) break;
        }

        int height = bottom - top;
        if (spaced) height += height / 6;
        const int width = std::clamp(penX, 0, kCanvasWidth);
        if (height > 0) {
            // Move the line's rows out below the previous lines, within the texture limit.
            const int rows = std::min(height, kMaxTextureEdge - blockHeight);
            block.resize(size_t(blockHeight + std::max(rows, 0)) * kCanvasWidth, 0);
            for (int k = 0; k < rows; ++k) {
                const int src = top + k;
                if (src < 0 || src >= kCanvasHeight) continue;
                std::copy_n(pixels + size_t(src) * kCanvasWidth, width,
                            block.data() + size_t(blockHeight + k) * kCanvasWidth);
            }
            blockHeight += std::max(rows, 0);
        }
        for (int r = dirtyTop; r < dirtyBottom; ++r)
            std::fill(pixels + size_t(r) * kCanvasWidth + dirtyLeft,
                      pixels + size_t(r) * kCanvasWidth + dirtyRight, 0u);
        blockWidth = std::max(blockWidth, width);
    }

    m_blockWidth = blockWidth;
    m_blockHeight = blockHeight;
    Line record;
    record.m_width = blockWidth;
    record.m_height = blockHeight;
    record.m_text = lines.front();
    m_lines.push_back(std::move(record));
    m_lineCount = 1;
    if (blockWidth <= 0 || blockHeight <= 0) return;

    const int texW = PowerOfTwoEdge(blockWidth);
    const int texH = PowerOfTwoEdge(blockHeight);
    std::vector<uint32_t> argb(size_t(texW) * size_t(texH), 0);
    for (int r = 0; r < blockHeight; ++r)
        std::copy_n(block.data() + size_t(r) * kCanvasWidth, blockWidth,
                    argb.data() + size_t(r) * size_t(texW));
    m_texture = std::make_unique<gfx::GpuTexture>(uint32_t(texW), uint32_t(texH));
    m_texture->Upload(std::move(argb));
}

void CText::SetBox(int x, int y, int width, int height, int align) {
    CGObj::SetBox(x, y, width, height, align);
    if (m_pFont == nullptr) {
        dbglog::Printf("CText ::: font is null\n");
        return;
    }
    const int blockH = int(float(m_blockHeight) * m_scaleY);
    for (int i = 0; i < m_lineCount && size_t(i) < m_lines.size(); ++i) {
        Line& line = m_lines[size_t(i)];
        const int lineW = int(float(line.m_width) * m_scaleX);
        switch (m_align & 0xF0) {
            case 0x20:
                line.m_y = m_y - (m_lineCount * blockH) / 2;
                break;
            case 0x30:
                line.m_y = m_y + m_height / 2 - m_lineCount * blockH;
                break;
            default:
                line.m_y = m_y - m_height / 2;
                break;
        }
        line.m_y += i * blockH;
        switch (m_align & 0x0F) {
            case 2:
                line.m_x = m_x - lineW / 2;
                break;
            case 3:
                line.m_x = m_x + m_width / 2 - lineW;
                break;
            default:
                line.m_x = m_x - m_width / 2;
                break;
        }
    }
}

void CText::Draw() {
    if (m_pFont == nullptr || m_texture == nullptr || m_lines.empty()) return;
    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
    std::lock_guard lock(device.Lock());
    const float s = device.Scale();
    const Line& line = m_lines.front();
    device.DrawTexture(*m_texture, platform::SourceRect{0, 0, m_blockWidth, m_blockHeight},
                       float(line.m_x) * s, device.LetterboxY() + float(line.m_y) * s, s, s,
                       ColorARGB());
}

void CText::PrintProp() {
    dbglog::Printf(
        "CText::PrintProp()\tBasePos(%d, %d) size(%d, %d) scale(%3.1f, %3.1f) Lines(%d) "
        "RGBA(%3d, %3d, %3d, %3d)\n",
        m_x, m_y, m_width, m_height, double(m_scaleX), double(m_scaleY), m_lineCount, int(m_red),
        int(m_green), int(m_blue), int(m_alpha));
    for (int i = 0; i < m_lineCount && size_t(i) < m_lines.size(); ++i)
        dbglog::Printf("CText::PrintProp()\t\t\tLine(%d) = DrawPos(%d, %d)\n", i,
                       m_lines[size_t(i)].m_x, m_lines[size_t(i)].m_y);
}
