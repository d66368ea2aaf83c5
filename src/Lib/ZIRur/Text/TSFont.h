#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

class CTIGroup;
struct FT_LibraryRec_;
struct FT_FaceRec_;

// One rasterised glyph: 8-bit coverage rows, placed relative to the pen and the baseline.
struct GlyphImage {
    int width = 0;
    int rows = 0;
    // Offset of the bitmap's left column from the pen, and of its top row above the baseline.
    int left = 0;
    int top = 0;
    // Horizontal advance in whole pixels.
    int advance = 0;
    std::vector<uint8_t> coverage;  // rows x width
};

// Named deleters, so every FreeType handle has an owner that releases it the right way.
struct FreeTypeLibraryDeleter {
    void operator()(FT_LibraryRec_* library) const;
};
struct FreeTypeFaceDeleter {
    void operator()(FT_FaceRec_* face) const;
};
using FreeTypeLibraryPtr = std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter>;
using FreeTypeFacePtr = std::unique_ptr<FT_FaceRec_, FreeTypeFaceDeleter>;

// The FreeType library instance the fonts are opened with.
class FreeTypeLibrary {
public:
    FreeTypeLibrary();
    bool IsReady() const { return m_handle != nullptr; }
    FT_LibraryRec_* Handle() const { return m_handle.get(); }

private:
    FreeTypeLibraryPtr m_handle;
};

// A font face at one pixel size, opened from a font file inside an archive. Rendered glyphs
// are kept, so laying out the same characters again costs no rasterising.
class CTSFont {
public:
    CTSFont() = default;
    CTSFont(const CTSFont&) = delete;
    CTSFont& operator=(const CTSFont&) = delete;

    // Opens `file` from the archive at width (high 16 bits of key) x height (low 16 bits).
    // False when the entry is missing or FreeType refuses the data or the size. The archive
    // buffer must outlive the font.
    bool Load(const FreeTypeLibrary& library, const CTIGroup& archive, const char* file,
              uint32_t key);

    // Pixel height it was loaded with (12 before loading).
    int Size() const { return m_size; }
    // Size for resolution slot 0: size x 640 / 1920.
    int ScaledSize() const { return m_size * 640 / 1920; }
    // The glyph of a UTF-16 code unit, or null when the face cannot load it. "-" comes back
    // as a solid bar across the middle half of the "=" glyph's box.
    const GlyphImage* Glyph(char16_t code);

private:
    std::unique_ptr<GlyphImage> Render(char16_t code) const;

    int m_size = 12;
    // The face, opened once by Load; destroyed before the archive buffer it reads.
    FreeTypeFacePtr m_face;
    std::mutex m_cacheLock;
    std::unordered_map<char16_t, std::unique_ptr<GlyphImage>> m_cache;
};
