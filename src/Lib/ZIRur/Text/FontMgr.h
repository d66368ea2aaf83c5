#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Text/TSFont.h"

// Shares fonts per (owner key, font file, size) with reference counts. Process-wide
// (TSingleton<CFontMgr>): FreeType starts and the text archive opens when it is first used.
class CFontMgr {
public:
    // Where every font file is read from.
    static constexpr const char* kArchivePath = "DATA/IMG/TEXT.T2G";
    // Fonts larger than the text canvas are refused.
    static constexpr int kMaxFontPixels = 1024;

    CFontMgr();
    ~CFontMgr();
    CFontMgr(const CFontMgr&) = delete;
    CFontMgr& operator=(const CFontMgr&) = delete;

    // The shared font with its count raised, or a new one with count 1. Null when width or
    // height is not positive (or over kMaxFontPixels), the file name is empty, or the file is
    // missing or refused.
    CTSFont* GetFont(const void* ownerKey, const char* fontResourcePath, const char* fontFile,
                     int width, int height);
    // Drops one reference: 1 while still referenced, otherwise destroys the font and 0.
    int DecReference(CTSFont* font);

    // The text archive (fonts read at start-up come from here too).
    const CTIGroup& Archive() const { return m_archive; }
    size_t FontCount() const;
    // Current count of a font, 0 when unknown.
    int RefCount(const CTSFont* font) const;

private:
    struct FontEntry {
        int refCount = 0;
        std::unique_ptr<CTSFont> font;
        const void* ownerKey = nullptr;
        std::string fontResourcePath;
        std::string fontFile;
        uint32_t sizeKey = 0;
    };

    mutable std::mutex m_lock;
    FreeTypeLibrary m_library;
    CTIGroup m_archive;
    std::vector<FontEntry> m_entries;
};
