// The one place that talks to FreeType.
#include "Lib/ZIRur/Text/TSFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "Lib/ZIRur/File/TIGroup.h"

void FreeTypeLibraryDeleter::operator()(FT_LibraryRec_* library) const {
    FT_Done_FreeType(library);
}

void FreeTypeFaceDeleter::operator()(FT_FaceRec_* face) const {
    FT_Done_Face(face);
}

FreeTypeLibrary::FreeTypeLibrary() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) m_handle.reset(library);
}

bool CTSFont::Load(const FreeTypeLibrary& library, const CTIGroup& archive, const char* file,
                   uint32_t key) {
    if (!library.IsReady() || file == nullptr || m_face) return false;
    const uint8_t* data = archive.GetT2IBuffer(file);
    const uint32_t size = archive.GetT2ISize(file);
    if (data == nullptr || size == 0) return false;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library.Handle(), data, FT_Long(size), 0, &face) != 0) return false;
    m_face.reset(face);
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    const FT_UInt width = key >> 16;
    const FT_UInt height = key & 0xFFFF;
    m_size = int(height);
    return FT_Set_Pixel_Sizes(face, width, height) == 0;
}

std::unique_ptr<GlyphImage> CTSFont::Render(char16_t code) const {
    FT_Face face = m_face.get();
    if (face == nullptr) return nullptr;
    const bool bar = code == u'-';
    if (FT_Load_Char(face, bar ? u'=' : code, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0)
        return nullptr;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    auto glyph = std::make_unique<GlyphImage>();
    glyph->width = int(bitmap.width);
    glyph->rows = int(bitmap.rows);
    glyph->left = slot->bitmap_left;
    glyph->top = slot->bitmap_top;
    glyph->advance = int(slot->advance.x >> 6);
    glyph->coverage.assign(size_t(glyph->width) * size_t(glyph->rows), 0);
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    for (int i = 0; i < glyph->rows && (gray || mono); ++i) {
        const unsigned char* row = bitmap.buffer + ptrdiff_t(i) * bitmap.pitch;
        uint8_t* out = glyph->coverage.data() + size_t(i) * size_t(glyph->width);
        for (int j = 0; j < glyph->width; ++j)
            out[j] = gray ? row[j] : ((row[j >> 3] >> (7 - (j & 7))) & 1 ? 255 : 0);
    }
    if (bar) {
        // Full coverage on the rows strictly inside the middle half, none elsewhere.
        for (int i = 0; i < glyph->rows; ++i) {
            const uint8_t value = i > glyph->rows / 4 && i < glyph->rows * 3 / 4 ? 255 : 0;
            std::fill_n(glyph->coverage.data() + size_t(i) * size_t(glyph->width), glyph->width,
                        value);
        }
    }
    return glyph;
}

const GlyphImage* CTSFont::Glyph(char16_t code) {
    std::lock_guard lock(m_cacheLock);
    auto it = m_cache.find(code);
    if (it != m_cache.end()) return it->second.get();
    auto glyph = Render(code);
    const GlyphImage* result = glyph.get();
    // Failures are remembered too: a glyph the face cannot load stays skipped.
    m_cache.emplace(code, std::move(glyph));
    return result;
}
