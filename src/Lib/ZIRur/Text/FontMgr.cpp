#include "Lib/ZIRur/Text/FontMgr.h"

#include <algorithm>

#include "Lib/ZIRur/Util/DebugLog.h"

namespace {
constexpr size_t kMaxPathLength = 255;
}

CFontMgr::CFontMgr() {
    m_entries.reserve(100);
    m_archive.Open(kArchivePath);
}

CFontMgr::~CFontMgr() {
    // Faces go before the library and the archive bytes they read from.
    m_entries.clear();
}

CTSFont* CFontMgr::GetFont(const void* ownerKey, const char* fontResourcePath, const char* fontFile,
                           int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxFontPixels || height > kMaxFontPixels ||
        fontFile == nullptr || *fontFile == '\0')
        return nullptr;
    const uint32_t key = uint32_t(width) << 16 | uint32_t(height);
    std::lock_guard lock(m_lock);
    for (FontEntry& entry : m_entries) {
        if (entry.ownerKey == ownerKey && entry.fontFile == fontFile && entry.sizeKey == key) {
            ++entry.refCount;
            return entry.font.get();
        }
    }
    // A font resource path would be registered with the system's font table; glyphs come
    // from the archive's file in any case, so the path is only remembered.
    auto font = std::make_unique<CTSFont>();
    if (!font->Load(m_library, m_archive, fontFile, key)) return nullptr;
    FontEntry entry;
    entry.refCount = 1;
    entry.font = std::move(font);
    entry.ownerKey = ownerKey;
    if (fontResourcePath != nullptr)
        entry.fontResourcePath = std::string(fontResourcePath).substr(0, kMaxPathLength);
    entry.fontFile = std::string(fontFile).substr(0, kMaxPathLength);
    entry.sizeKey = key;
    m_entries.push_back(std::move(entry));
    return m_entries.back().font.get();
}

int CFontMgr::DecReference(CTSFont* font) {
    std::lock_guard lock(m_lock);
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [font](const FontEntry& e) { return e.font.get() == font; });
    if (it == m_entries.end()) return 0;
    --it->refCount;
    if (it->refCount < 0) {
        dbglog::Printf("CFontMgr::DecReference --- value invalide(%d).\n", it->refCount);
        it->refCount = 0;
    }
    if (it->refCount > 0) return 1;
    m_entries.erase(it);
    return 0;
}

size_t CFontMgr::FontCount() const {
    std::lock_guard lock(m_lock);
    return m_entries.size();
}

int CFontMgr::RefCount(const CTSFont* font) const {
    std::lock_guard lock(m_lock);
    for (const FontEntry& e : m_entries)
        if (e.font.get() == font) return e.refCount;
    return 0;
}
