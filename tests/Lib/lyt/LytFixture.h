#pragma once

// Byte-by-byte writers for layout and animation fixtures, following the format tables
// (big-endian, sizes patched after each section is written).

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lytfix {

class BeWriter {
public:
    size_t Pos() const { return mBytes.size(); }
    void U8(uint8_t v) { mBytes.push_back(v); }
    void U16(uint16_t v) { U8(uint8_t(v >> 8)), U8(uint8_t(v)); }
    void U32(uint32_t v) { U16(uint16_t(v >> 16)), U16(uint16_t(v)); }
    void S16(int16_t v) { U16(uint16_t(v)); }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void Tag(const char* t) {
        for (int i = 0; i < 4; ++i) U8(uint8_t(t[i]));
    }
    // Fixed field: the text then zeros up to `width` bytes (the text is cut at `width`).
    void Fixed(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) U8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void CStr(const std::string& s) { Fixed(s, s.size() + 1); }
    void Zero(size_t n) {
        for (size_t i = 0; i < n; ++i) U8(0);
    }
    void Align4() {
        while (Pos() % 4) U8(0);
    }
    void PatchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) mBytes[at + i] = uint8_t(v >> (24 - 8 * i));
    }
    void PatchU16(size_t at, uint16_t v) {
        mBytes[at] = uint8_t(v >> 8);
        mBytes[at + 1] = uint8_t(v);
    }
    std::vector<uint8_t>& Bytes() { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

// A file: 16-byte header, then sections opened with Begin and closed with End.
class FileWriter {
public:
    explicit FileWriter(const char* magic = "SLYT", uint16_t version = 0x0008) {
        w.Tag(magic);
        w.U16(0xFEFF);
        w.U16(version);
        w.U32(0);   // file size, patched
        w.U16(16);  // header size
        w.U16(0);   // section count, patched
    }
    size_t Begin(const char* tag) {
        const size_t start = w.Pos();
        w.Tag(tag);
        w.U32(0);
        return start;
    }
    void End(size_t start) {
        w.PatchU32(start + 4, uint32_t(w.Pos() - start));
        ++mSections;
    }
    // A section with a header only ("chbg", "chen", "gpbg", "gpen").
    void Marker(const char* tag) { End(Begin(tag)); }
    std::vector<uint8_t> Finish() {
        w.PatchU32(8, uint32_t(w.Pos()));
        w.PatchU16(14, mSections);
        return w.Bytes();
    }

    BeWriter w;

private:
    uint16_t mSections = 0;
};

struct PaneSpec {
    std::string name;
    uint8_t flags = 1;
    uint8_t basePosition = 4;
    uint8_t alpha = 255;
    std::string userStr;
    float tx = 0, ty = 0, tz = 0;
    float sx = 1, sy = 1;
    float width = 0, height = 0;
};

inline PaneSpec Named(const std::string& name) {
    PaneSpec p;
    p.name = name;
    return p;
}

// The 76-byte pane record, after the section header.
inline void PaneRecord(BeWriter& w, const PaneSpec& p) {
    w.U8(p.flags);
    w.U8(p.basePosition);
    w.U8(p.alpha);
    w.U8(0);
    w.Fixed(p.name, 16);
    w.Fixed(p.userStr, 8);
    w.F32(p.tx), w.F32(p.ty), w.F32(p.tz);
    w.F32(0), w.F32(0), w.F32(0);
    w.F32(p.sx), w.F32(p.sy);
    w.F32(p.width), w.F32(p.height);
}

inline void Pane(FileWriter& f, const PaneSpec& p, const char* tag = "panl") {
    const size_t s = f.Begin(tag);
    PaneRecord(f.w, p);
    f.End(s);
}

// A window: record, four inflation floats, frame count, flags, two offsets (unused).
inline void Window(FileWriter& f, const PaneSpec& p) {
    const size_t s = f.Begin("wndw");
    PaneRecord(f.w, p);
    for (int i = 0; i < 4; ++i) f.w.F32(2);
    f.w.U8(0), f.w.U8(0), f.w.U16(0);
    f.w.U32(0), f.w.U32(0);
    f.End(s);
}

inline void Picture(FileWriter& f, const PaneSpec& p, uint16_t material, uint32_t vtx = 0xFFFFFFFF,
                    uint8_t texCoords = 1) {
    const size_t s = f.Begin("pict");
    PaneRecord(f.w, p);
    for (int i = 0; i < 4; ++i) f.w.U32(vtx);
    f.w.U16(material);
    f.w.U8(texCoords);
    f.w.U8(0);
    for (int i = 0; i < texCoords; ++i)
        for (float v : {0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 1.f, 1.f}) f.w.F32(v);
    f.End(s);
}

inline void TextBox(FileWriter& f, const PaneSpec& p, uint16_t material, uint16_t bufBytes,
                    const std::u16string& text, uint8_t textPosition = 4) {
    const size_t s = f.Begin("txtb");
    PaneRecord(f.w, p);
    f.w.U16(bufBytes);
    f.w.U16(uint16_t((text.size() + 1) * 2));
    f.w.U16(material);
    f.w.U16(0);  // font
    f.w.U8(textPosition);
    f.w.U8(1);  // alignment
    f.w.U16(0);
    f.w.U32(116);  // string right after the fixed fields
    f.w.U32(0x11223344), f.w.U32(0x55667788);
    f.w.F32(24), f.w.F32(26), f.w.F32(1), f.w.F32(2);
    for (char16_t c : text) f.w.U16(c);
    f.w.U16(0);
    f.w.Align4();
    f.End(s);
}

inline void TextureList(FileWriter& f, const std::vector<std::string>& names) {
    const size_t s = f.Begin("texl");
    f.w.U16(uint16_t(names.size()));
    f.w.U16(0);
    const size_t table = f.w.Pos();
    size_t nameAt = 8 * names.size();
    for (const auto& n : names) {
        f.w.U32(uint32_t(nameAt));
        f.w.U32(0);
        nameAt += n.size() + 1;
    }
    (void)table;
    for (const auto& n : names) f.w.CStr(n);
    f.w.Align4();
    f.End(s);
}

struct MaterialSpec {
    std::string name = "mat";
    int16_t tint[3][4] = {{0, 0, 0, 0}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    uint8_t constant[4][4] = {};
    std::vector<uint16_t> textures;  // texture-list indices
    uint8_t texSRTs = 0;
    bool matColor = false;
    uint8_t matColorBytes[4] = {10, 20, 30, 40};
};

inline void MaterialRecord(BeWriter& w, const MaterialSpec& m) {
    w.Fixed(m.name, 20);
    for (auto& c : m.tint)
        for (int16_t v : c) w.S16(v);
    for (auto& c : m.constant)
        for (uint8_t v : c) w.U8(v);
    const uint32_t flags = uint32_t(m.textures.size() & 0xF) | uint32_t(m.texSRTs & 0xF) << 4 |
                           (m.matColor ? 1u << 27 : 0u);
    w.U32(flags);
    for (uint16_t t : m.textures) {
        w.U16(t);
        w.U8(0x05);  // wrap S 1, min filter 1
        w.U8(0x06);  // wrap T 2, mag filter 1
    }
    for (int i = 0; i < m.texSRTs; ++i)
        for (float v : {0.f, 0.f, 0.f, 1.f, 1.f}) w.F32(v);
    if (m.matColor)
        for (uint8_t v : m.matColorBytes) w.U8(v);
}

inline void MaterialList(FileWriter& f, const std::vector<MaterialSpec>& mats) {
    const size_t s = f.Begin("matl");
    f.w.U16(uint16_t(mats.size()));
    f.w.U16(0);
    const size_t table = f.w.Pos();
    f.w.Zero(4 * mats.size());
    for (size_t i = 0; i < mats.size(); ++i) {
        f.w.PatchU32(table + 4 * i, uint32_t(f.w.Pos() - s));
        MaterialRecord(f.w, mats[i]);
    }
    f.End(s);
}

inline void GroupSection(FileWriter& f, const std::string& name,
                         const std::vector<std::string>& panes) {
    const size_t s = f.Begin("grup");
    f.w.Fixed(name, 16);
    f.w.U16(uint16_t(panes.size()));
    f.w.U16(0);
    for (const auto& p : panes) f.w.Fixed(p, 16);
    f.End(s);
}

inline void LayoutInfo(FileWriter& f, float width, float height) {
    const size_t s = f.Begin("linf");
    f.w.Zero(4);
    f.w.F32(width);
    f.w.F32(height);
    f.End(s);
}

// ---- animation files ----

struct KeySpec {
    float frame;
    float value;
    float slope = 0;  // Hermite only
};

struct TargetSpec {
    uint8_t index = 0;
    uint8_t element = 0;
    std::vector<KeySpec> keys;
};

struct InfoSpec {
    std::string kind;  // "APSR", "AVIS", ...
    std::vector<TargetSpec> targets;
};

struct ContentSpec {
    std::string name;
    uint8_t type = 0;  // 0 pane, 1 material
    std::vector<InfoSpec> infos;
};

struct AnimSpec {
    uint16_t frames = 60;
    bool loop = false;
    std::vector<std::string> textures;
    std::vector<ContentSpec> contents;
    bool withTag = false;
    std::vector<std::string> tagGroups;
    bool descend = false;
    std::vector<std::pair<std::string, std::string>> shares;  // source pane, target group
};

inline bool IsStepKind(const std::string& kind) {
    return kind == "AVIS" || kind == "ATPT";
}

inline void AnimInfoSection(FileWriter& f, const AnimSpec& a) {
    BeWriter& w = f.w;
    const size_t s = f.Begin("ainf");
    w.U16(a.frames);
    w.U8(a.loop ? 1 : 0);
    w.U8(0);
    w.U16(uint16_t(a.textures.size()));
    w.U16(uint16_t(a.contents.size()));
    const size_t tableField = w.Pos();
    w.U32(0);
    // Texture names: offsets counted from offset 20 of the section.
    const size_t nameTable = w.Pos();
    w.Zero(4 * a.textures.size());
    for (size_t i = 0; i < a.textures.size(); ++i) {
        w.PatchU32(nameTable + 4 * i, uint32_t(w.Pos() - nameTable));
        w.CStr(a.textures[i]);
    }
    w.Align4();
    w.PatchU32(tableField, uint32_t(w.Pos() - s));
    const size_t contentTable = w.Pos();
    w.Zero(4 * a.contents.size());
    for (size_t ci = 0; ci < a.contents.size(); ++ci) {
        const ContentSpec& c = a.contents[ci];
        const size_t cs = w.Pos();
        w.PatchU32(contentTable + 4 * ci, uint32_t(cs - s));
        w.Fixed(c.name, 20);
        w.U8(uint8_t(c.infos.size()));
        w.U8(c.type);
        w.U16(0);
        const size_t infoTable = w.Pos();
        w.Zero(4 * c.infos.size());
        for (size_t ii = 0; ii < c.infos.size(); ++ii) {
            const InfoSpec& info = c.infos[ii];
            const size_t is = w.Pos();
            w.PatchU32(infoTable + 4 * ii, uint32_t(is - cs));
            w.Tag(info.kind.c_str());
            w.U8(uint8_t(info.targets.size()));
            w.Zero(3);
            const size_t targetTable = w.Pos();
            w.Zero(4 * info.targets.size());
            for (size_t ti = 0; ti < info.targets.size(); ++ti) {
                const TargetSpec& t = info.targets[ti];
                const size_t ts = w.Pos();
                w.PatchU32(targetTable + 4 * ti, uint32_t(ts - is));
                w.U8(t.index);
                w.U8(t.element);
                w.U8(IsStepKind(info.kind) ? 1 : 2);
                w.U8(0);
                w.U16(uint16_t(t.keys.size()));
                w.U16(0);
                w.U32(12);  // keys follow the target
                for (const KeySpec& k : t.keys) {
                    w.F32(k.frame);
                    if (IsStepKind(info.kind)) {
                        w.U16(uint16_t(k.value));
                        w.U16(0);
                    } else {
                        w.F32(k.value);
                        w.F32(k.slope);
                    }
                }
            }
        }
    }
    f.End(s);
}

inline std::vector<uint8_t> Animation(const AnimSpec& a, uint16_t version = 0x0008) {
    FileWriter f("SANM", version);
    if (a.withTag) {
        BeWriter& w = f.w;
        const size_t s = f.Begin("atag");
        w.U16(0);
        w.U16(uint16_t(a.tagGroups.size()));
        w.U32(28);                // name right after the fixed fields
        w.U32(uint32_t(28 + 8));  // group references after the name
        w.U16(0), w.U16(a.frames);
        w.U8(a.descend ? 1 : 0);
        w.Zero(3);
        w.Fixed("Tag_00", 8);
        for (const auto& g : a.tagGroups) w.Fixed(g, 20);
        f.End(s);
    }
    if (!a.shares.empty()) {
        BeWriter& w = f.w;
        const size_t s = f.Begin("ashr");
        w.U32(16);
        w.U16(uint16_t(a.shares.size()));
        w.U16(0);
        for (const auto& [src, group] : a.shares) {
            w.Fixed(src, 17);
            w.Fixed(group, 17);
            w.Zero(2);
        }
        f.End(s);
    }
    AnimInfoSection(f, a);
    return f.Finish();
}

}  // namespace lytfix
