#pragma once

// Byte-by-byte writers for layout and animation fixtures, following the format tables
// (big-endian, sizes patched after each section is written).

#include <algorithm>
#include <bit>
#include <cstdint>
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
    void Tag(const char* t) { Fixed(std::string(t, 4), 4); }
    // Fixed field: the text then zeros up to `width` bytes (the text is cut at `width`).
    void Fixed(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) U8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void CStr(const std::string& s) { Fixed(s, s.size() + 1); }
    void Zero(size_t n) { mBytes.resize(mBytes.size() + n); }
    void Align4() { Zero((4 - Pos() % 4) % 4); }
    void PatchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) mBytes[at + i] = uint8_t(v >> (24 - 8 * i));
    }
    // A table of `n` offsets, each patched to (item start - base) before `write(i)` runs.
    template <class F>
    void OffsetTable(size_t n, size_t base, F write) {
        const size_t table = Pos();
        Zero(4 * n);
        for (size_t i = 0; i < n; ++i) PatchU32(table + 4 * i, uint32_t(Pos() - base)), write(i);
    }
    std::vector<uint8_t>& Bytes() { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

// A file: 16-byte header, then sections opened with Begin and closed with End.
class FileWriter {
public:
    explicit FileWriter(const char* magic = "SLYT", uint16_t version = 0x0008) {
        w.Tag(magic), w.U16(0xFEFF), w.U16(version);
        w.U32(0), w.U16(16), w.U16(0);  // file size and section count patched by Finish
    }
    size_t Begin(const char* tag) {
        const size_t start = w.Pos();
        w.Tag(tag), w.U32(0);
        return start;
    }
    void End(size_t start) { w.PatchU32(start + 4, uint32_t(w.Pos() - start)), ++mSections; }
    // A section with a header only ("chbg", "chen", "gpbg", "gpen").
    void Marker(const char* tag) { End(Begin(tag)); }
    std::vector<uint8_t> Finish() {
        w.PatchU32(8, uint32_t(w.Pos()));
        w.Bytes()[14] = uint8_t(mSections >> 8), w.Bytes()[15] = uint8_t(mSections);
        return w.Bytes();
    }

    BeWriter w;

private:
    uint16_t mSections = 0;
};

struct PaneSpec {
    std::string name{};
    uint8_t flags = 1, basePosition = 4, alpha = 255;
    std::string userStr{};
    float tx = 0, ty = 0, tz = 0, sx = 1, sy = 1, width = 0, height = 0;
};

inline PaneSpec Named(const std::string& name) {
    return PaneSpec{name};
}

// A pane centred on the screen rectangle (l, t)-(r, b) of a 1024 x 768 layout.
inline PaneSpec OnScreen(const std::string& name, float l, float t, float r, float b) {
    return {.name = name,
            .tx = (l + r) / 2 - 512,
            .ty = 384 - (t + b) / 2,
            .width = r - l,
            .height = b - t};
}

// A pane section: the 76-byte pane record, then `extra` (the fields of derived kinds).
template <class F>
void PaneSection(FileWriter& f, const PaneSpec& p, const char* tag, F extra) {
    const size_t s = f.Begin(tag);
    BeWriter& w = f.w;
    w.U8(p.flags), w.U8(p.basePosition), w.U8(p.alpha), w.U8(0);
    w.Fixed(p.name, 16), w.Fixed(p.userStr, 8);
    for (float v : {p.tx, p.ty, p.tz, 0.f, 0.f, 0.f, p.sx, p.sy, p.width, p.height}) w.F32(v);
    extra(w);
    f.End(s);
}

inline void Pane(FileWriter& f, const PaneSpec& p, const char* tag = "panl") {
    PaneSection(f, p, tag, [](BeWriter&) {});
}

// A picture: four white vertex colours, the material, one set of texture coordinates.
inline void Picture(FileWriter& f, const PaneSpec& p, uint16_t material) {
    PaneSection(f, p, "pict", [&](BeWriter& w) {
        for (int i = 0; i < 4; ++i) w.U32(0xFFFFFFFF);
        w.U16(material), w.U8(1), w.U8(0);
        for (float v : {0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 1.f, 1.f}) w.F32(v);
    });
}

inline void TextBox(FileWriter& f, const PaneSpec& p, uint16_t material, uint16_t bufBytes,
                    const std::u16string& text, uint8_t textPosition = 4) {
    PaneSection(f, p, "txtb", [&](BeWriter& w) {
        w.U16(bufBytes), w.U16(uint16_t((text.size() + 1) * 2)), w.U16(material);
        w.U16(0);                               // font
        w.U8(textPosition), w.U8(1), w.U16(0);  // text position, alignment
        w.U32(116);                             // string right after the fixed fields
        w.U32(0x11223344), w.U32(0x55667788);
        w.F32(24), w.F32(26), w.F32(1), w.F32(2);
        for (char16_t c : text) w.U16(c);
        w.U16(0), w.Align4();
    });
}

inline void TextureList(FileWriter& f, const std::vector<std::string>& names) {
    const size_t s = f.Begin("texl");
    f.w.U16(uint16_t(names.size())), f.w.U16(0);
    size_t nameAt = 8 * names.size();
    for (const auto& n : names) f.w.U32(uint32_t(nameAt)), f.w.U32(0), nameAt += n.size() + 1;
    for (const auto& n : names) f.w.CStr(n);
    f.w.Align4();
    f.End(s);
}

struct MaterialSpec {
    std::string name = "mat";
    int16_t tint[3][4] = {{0, 0, 0, 0}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    std::vector<uint16_t> textures{};  // texture-list indices
    uint8_t texSRTs = 0;
    bool matColor = false;  // written as 10, 20, 30, 40
};

inline void MaterialList(FileWriter& f, const std::vector<MaterialSpec>& mats) {
    const size_t s = f.Begin("matl");
    BeWriter& w = f.w;
    w.U16(uint16_t(mats.size())), w.U16(0);
    w.OffsetTable(mats.size(), s, [&](size_t mi) {
        const MaterialSpec& m = mats[mi];
        w.Fixed(m.name, 20);
        for (auto& c : m.tint)
            for (int16_t v : c) w.S16(v);
        w.Zero(16);  // constant colours
        w.U32(uint32_t(m.textures.size() & 0xF) | uint32_t(m.texSRTs & 0xF) << 4 |
              (m.matColor ? 1u << 27 : 0u));
        // wrap S 1 + min filter 1, wrap T 2 + mag filter 1
        for (uint16_t t : m.textures) w.U16(t), w.U8(0x05), w.U8(0x06);
        for (int i = 0; i < m.texSRTs; ++i)
            for (float v : {0.f, 0.f, 0.f, 1.f, 1.f}) w.F32(v);
        if (m.matColor)
            for (uint8_t v : {10, 20, 30, 40}) w.U8(v);
    });
    f.End(s);
}

inline void GroupSection(FileWriter& f, const std::string& name,
                         const std::vector<std::string>& panes) {
    const size_t s = f.Begin("grup");
    f.w.Fixed(name, 16), f.w.U16(uint16_t(panes.size())), f.w.U16(0);
    for (const auto& p : panes) f.w.Fixed(p, 16);
    f.End(s);
}

inline void LayoutInfo(FileWriter& f, float width, float height) {
    const size_t s = f.Begin("linf");
    f.w.Zero(4), f.w.F32(width), f.w.F32(height);
    f.End(s);
}

// A 1024 x 768 screen: layout info, one plain material, "RootPane" with its children opened.
inline void ScreenStart(FileWriter& f) {
    LayoutInfo(f, 1024, 768);
    MaterialList(f, {MaterialSpec{}});
    Pane(f, {.name = "RootPane", .width = 1024, .height = 768});
    f.Marker("chbg");
}

// Where the first section `tag` starts (0 when there is none).
inline size_t FindSection(const std::vector<uint8_t>& b, const char* tag) {
    for (size_t i = 16; i + 4 <= b.size(); ++i)
        if (std::equal(tag, tag + 4, b.begin() + long(i))) return i;
    return 0;
}
inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
// `b` with the big-endian word at `at` replaced by `v`.
inline std::vector<uint8_t> WithU32(std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
    return b;
}

struct KeySpec {
    float frame, value, slope = 0;  // the slope for Hermite kinds only
};
struct TargetSpec {
    uint8_t index = 0, element = 0;
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
    std::vector<std::string> textures{};
    std::vector<ContentSpec> contents{};
    bool withTag = false;
    std::vector<std::string> tagGroups{};
    std::vector<std::pair<std::string, std::string>> shares{};  // source pane, target group
};

inline std::vector<uint8_t> Animation(const AnimSpec& a, uint16_t version = 0x0008) {
    FileWriter f("SANM", version);
    BeWriter& w = f.w;
    if (a.withTag) {
        const size_t s = f.Begin("atag");
        w.U16(0), w.U16(uint16_t(a.tagGroups.size()));
        w.U32(28), w.U32(28 + 8);  // the name, then group references, after the fixed fields
        w.U16(0), w.U16(a.frames), w.Zero(4);
        w.Fixed("Tag_00", 8);
        for (const auto& g : a.tagGroups) w.Fixed(g, 20);
        f.End(s);
    }
    if (!a.shares.empty()) {
        const size_t s = f.Begin("ashr");
        w.U32(16), w.U16(uint16_t(a.shares.size())), w.U16(0);
        for (const auto& [src, group] : a.shares) w.Fixed(src, 17), w.Fixed(group, 17), w.Zero(2);
        f.End(s);
    }
    const size_t ainf = f.Begin("ainf");
    w.U16(a.frames), w.U8(0), w.U8(0);  // no loop
    w.U16(uint16_t(a.textures.size())), w.U16(uint16_t(a.contents.size()));
    const size_t tableField = w.Pos();
    w.U32(0);
    // Texture names: offsets counted from offset 20 of the section.
    w.OffsetTable(a.textures.size(), w.Pos(), [&](size_t i) { w.CStr(a.textures[i]); });
    w.Align4();
    w.PatchU32(tableField, uint32_t(w.Pos() - ainf));
    w.OffsetTable(a.contents.size(), ainf, [&](size_t ci) {
        const ContentSpec& c = a.contents[ci];
        const size_t cs = w.Pos();
        w.Fixed(c.name, 20), w.U8(uint8_t(c.infos.size())), w.U8(c.type), w.U16(0);
        w.OffsetTable(c.infos.size(), cs, [&](size_t ii) {
            const InfoSpec& info = c.infos[ii];
            const bool step = info.kind == "AVIS" || info.kind == "ATPT";
            const size_t is = w.Pos();
            w.Tag(info.kind.c_str()), w.U8(uint8_t(info.targets.size())), w.Zero(3);
            w.OffsetTable(info.targets.size(), is, [&](size_t ti) {
                const TargetSpec& t = info.targets[ti];
                w.U8(t.index), w.U8(t.element), w.U8(step ? 1 : 2), w.U8(0);
                w.U16(uint16_t(t.keys.size())), w.U16(0);
                w.U32(12);  // keys follow the target
                for (const KeySpec& k : t.keys) {
                    w.F32(k.frame);
                    if (step) {
                        w.U16(uint16_t(k.value)), w.U16(0);
                    } else {
                        w.F32(k.value), w.F32(k.slope);
                    }
                }
            });
        });
    });
    f.End(ainf);
    return f.Finish();
}

}  // namespace lytfix
