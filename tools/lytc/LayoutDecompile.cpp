// Layout file -> layout source. Only what the source can say is accepted, so that compiling
// the printed source gives the same bytes for every file the compiler writes.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "common/ToolError.h"
#include "lytc/BinarySource.h"
#include "lytc/LayoutSource.h"
#include "lytc/SourceNames.h"
#include "lytc/SourcePrinter.h"
#include "lytc/Utf16.h"

namespace lytc {
namespace {

using Json = BinarySource::Json;

class Decompiler : BinarySource {
public:
    using BinarySource::BinarySource;

    Json Run() {
        if (mBytes.size() < 16 || Tag(0) != "SLYT") Fail(0, "not a layout file");
        if (U16(4) != 0xFEFF) Fail(4, "byte-order mark is not 0xFEFF");
        size_t at = U16(12);
        const size_t count = U16(14);
        Json out = Json::object();
        std::vector<Json*> stack;  // open children lists
        Json* last = nullptr;      // pane read last
        bool rootDone = false, groupsOpen = false, rootGroupSeen = false;
        for (size_t i = 0; i < count; ++i) {
            const std::string tag = Tag(at);
            const size_t size = U32(at + 4);
            if (size < 8 || at + size > mBytes.size() || at + size < at)
                Fail(at, "section \"" + tag + "\" runs outside the file");
            if (tag == "linf") {
                out["layout"] = {{"width", F32(at + 12)}, {"height", F32(at + 16)}};
            } else if (tag == "texl" || tag == "fntl") {
                Json names = Json::array();
                for (size_t k = 0, n = U16(at + 8); k < n; ++k)
                    names.push_back(CStr(at + 12 + U32(at + 12 + 8 * k)));
                (tag == "texl" ? mTextures : mFonts) = names;
                if (!names.empty()) out[tag == "texl" ? "textures" : "fonts"] = names;
            } else if (tag == "matl") {
                Json mats = Json::array();
                for (size_t k = 0, n = U16(at + 8); k < n; ++k)
                    mats.push_back(Material(at + U32(at + 12 + 4 * k)));
                if (!mats.empty()) out["materials"] = mats;
            } else if (tag == "panl" || tag == "pict" || tag == "txtb" || tag == "bndg" ||
                       tag == "wndw") {
                Json pane = Pane(at, tag);
                if (!rootDone) {
                    out["root"] = pane;
                    last = &out["root"];
                    rootDone = true;
                } else if (stack.empty()) {
                    Fail(at, "a second top-level pane cannot be written as source");
                } else {
                    stack.back()->push_back(pane);
                    last = &stack.back()->back();
                }
            } else if (tag == "usrd") {
                if (last == nullptr) Fail(at, "user data before any pane");
                last->operator[]("userData") = UserData(at);
            } else if (tag == "chbg") {
                if (last == nullptr) Fail(at, "children before any pane");
                (*last)["children"] = Json::array();
                stack.push_back(&(*last)["children"]);
            } else if (tag == "chen") {
                if (stack.empty()) Fail(at, "unmatched \"chen\"");
                stack.pop_back();
                last = nullptr;
            } else if (tag == "grup") {
                const std::string name = Fixed(at + 8, 16);
                if (!rootGroupSeen) {
                    rootGroupSeen = true;
                    if (U16(at + 24) != 0) Fail(at, "the root group cannot list panes");
                    if (name != "RootGroup") out["rootGroup"] = name;
                } else if (!groupsOpen) {
                    Fail(at, "a group outside the root group");
                } else {
                    Json panes = Json::array();
                    for (size_t k = 0, n = U16(at + 24); k < n; ++k)
                        panes.push_back(Fixed(at + 28 + 16 * k, 16));
                    out["groups"].push_back({{"name", name}, {"panes", panes}});
                }
            } else if (tag == "gpbg") {
                if (groupsOpen) Fail(at, "groups nested below the first level");
                groupsOpen = true;
                if (!out.contains("groups")) out["groups"] = Json::array();
            } else if (tag == "gpen") {
                groupsOpen = false;
            } else {
                Fail(at, "unknown section \"" + tag + "\"");
            }
            at += size;
        }
        if (!rootDone) Fail(0, "the file has no pane");
        // Keys in the order the source documentation lists them.
        Json ordered = Json::object();
        for (const char* k :
             {"layout", "textures", "fonts", "materials", "root", "rootGroup", "groups"})
            if (out.contains(k)) ordered[k] = out[k];
        return ordered;
    }

private:
    Json Colour(size_t at) const {
        char text[10];
        std::snprintf(text, sizeof text, "#%08X", unsigned(U32(at)));
        return text;
    }
    Json Bytes(size_t at, size_t n) const {
        Json a = Json::array();
        for (size_t i = 0; i < n; ++i) a.push_back(U8(at + i));
        return a;
    }
    Json Transform(size_t at) const {
        Json t = Json::object();
        Json tr = {F32(at), F32(at + 4)}, sc = {F32(at + 12), F32(at + 16)};
        if (tr != Json{0, 0}) t["translate"] = tr;
        if (F32(at + 8) != Json(0)) t["rotate"] = F32(at + 8);
        if (sc != Json{1, 1}) t["scale"] = sc;
        return t;
    }

    Json Material(size_t at) {
        Json m = Json::object();
        m["name"] = Fixed(at, 20);
        mMaterialNames.push_back(m["name"]);
        Json tint = Json::array();
        for (size_t c = 0; c < 3; ++c) {
            Json comps = Json::array();
            for (size_t k = 0; k < 4; ++k) comps.push_back(int16_t(U16(at + 20 + 8 * c + 2 * k)));
            tint.push_back(comps);
        }
        if (tint != Json{{0, 0, 0, 0}, {255, 255, 255, 255}, {0, 0, 0, 0}}) m["tint"] = tint;
        Json consts = Json::array();
        for (size_t c = 0; c < 4; ++c) consts.push_back(Colour(at + 44 + 4 * c));
        if (consts != Json{"#FFFFFFFF", "#FFFFFFFF", "#FFFFFFFF", "#FFFFFFFF"})
            m["constants"] = consts;
        const uint32_t flags = U32(at + 60);
        if (flags & 0xF4000000u & ~(1u << 27)) Fail(at + 60, "unknown material flag bits");
        size_t p = at + 64;
        const size_t maps = flags & 15, srts = flags >> 4 & 15, inds = flags >> 13 & 3;
        if (maps > 10 || srts > 10 || inds > 3) Fail(at + 60, "more material entries than kept");
        if (maps) m["textures"] = Json::array();
        for (size_t i = 0; i < maps; ++i, p += 4) {
            const uint16_t index = U16(p);
            if (index >= mTextures.size()) Fail(p, "texture index outside the texture list");
            const uint8_t s = U8(p + 2), t = U8(p + 3);
            if ((s >> 5) || (t >> 3)) Fail(p, "unknown texture map bits");
            if (s == 0 && t == 0) {
                m["textures"].push_back(mTextures[index]);
            } else {
                m["textures"].push_back({{"name", mTextures[index]},
                                         {"wrapS", s & 3},
                                         {"wrapT", t & 3},
                                         {"minFilter", s >> 2},
                                         {"magFilter", t >> 2}});
            }
        }
        if (srts) m["transforms"] = Json::array();
        for (size_t i = 0; i < srts; ++i, p += 20) m["transforms"].push_back(Transform(p));
        p = Raw(m, p, flags, kTexCoordGens);
        p = Raw(m, p, flags, kChannelControl);
        if (flags >> 27 & 1) m["colour"] = Colour(p), p += 4;
        p = Raw(m, p, flags, kSwapTable);
        if (inds) m["indirectTransforms"] = Json::array();
        for (size_t i = 0; i < inds; ++i, p += 20) m["indirectTransforms"].push_back(Transform(p));
        p = Raw(m, p, flags, kIndirectStages);
        p = Raw(m, p, flags, kCombinerStages);
        p = Raw(m, p, flags, kAlphaTest);
        Raw(m, p, flags, kBlendMode);
        return m;
    }
    size_t Raw(Json& m, size_t p, uint32_t flags, const RawBlock& b) const {
        const size_t n = flags >> b.shift & ((1u << b.bits) - 1);
        if (n == 0) return p;
        if (n > size_t(b.max)) Fail(p, std::string("more ") + b.key + " than kept");
        if (b.bits == 1) {
            m[b.key] = Bytes(p, size_t(b.size));
        } else {
            m[b.key] = Json::array();
            for (size_t i = 0; i < n; ++i)
                m[b.key].push_back(Bytes(p + i * size_t(b.size), size_t(b.size)));
        }
        return p + n * size_t(b.size);
    }

    Json Pane(size_t at, const std::string& tag) {
        Json p = Json::object();
        p["name"] = Fixed(at + 12, 16);
        for (const auto& k : kPaneKinds)
            if (tag == k.tag && tag != "panl") p["kind"] = k.name;
        const uint8_t flags = U8(at + 8), anchor = U8(at + 9);
        if (flags > 7) Fail(at + 8, "unknown pane flag bits");
        if (anchor > 8) Fail(at + 9, "anchor position out of range");
        Json pos = {F32(at + 36), F32(at + 40)};
        if (F32(at + 44) != Json(0)) pos.push_back(F32(at + 44));
        if (pos != Json{0, 0}) p["position"] = pos;
        Json rot = {F32(at + 48), F32(at + 52), F32(at + 56)};
        if (rot != Json{0, 0, 0}) p["rotation"] = rot;
        Json scale = {F32(at + 60), F32(at + 64)};
        if (scale != Json{1, 1}) p["scale"] = scale;
        Json size = {F32(at + 68), F32(at + 72)};
        if (size != Json{0, 0}) p["size"] = size;
        if (anchor != 4) p["anchor"] = kAnchorNames[anchor];
        if (U8(at + 10) != 255) p["alpha"] = U8(at + 10);
        if (!(flags & 1)) p["visible"] = false;
        if (flags & 2) p["propagateAlpha"] = true;
        if (flags & 4) p["scaleAdjust"] = true;
        const std::string user = Fixed(at + 28, 8);
        if (!user.empty()) p["userString"] = user;
        if (tag == "pict") PictureTail(p, at);
        if (tag == "txtb") TextTail(p, at);
        if (tag == "wndw") {
            Json inflation = {F32(at + 76), F32(at + 80), F32(at + 84), F32(at + 88)};
            if (inflation != Json{0, 0, 0, 0}) p["inflation"] = inflation;
            if (U8(at + 92) != 0) Fail(at + 92, "window frames cannot be written as source");
        }
        return p;
    }
    std::string MaterialName(size_t at) const {
        const uint16_t index = U16(at);
        if (index >= mMaterialNames.size()) Fail(at, "material index outside the material list");
        return mMaterialNames[index];
    }
    void PictureTail(Json& p, size_t at) {
        Json colours = Json::array();
        for (size_t i = 0; i < 4; ++i) colours.push_back(Colour(at + 76 + 4 * i));
        if (colours != Json{"#FFFFFFFF", "#FFFFFFFF", "#FFFFFFFF", "#FFFFFFFF"})
            p["vertexColours"] = colours;
        p["material"] = MaterialName(at + 92);
        Json sets = Json::array();
        for (size_t i = 0, n = U8(at + 94); i < n; ++i) {
            Json set = Json::array();
            for (size_t c = 0; c < 4; ++c)
                set.push_back({F32(at + 96 + 32 * i + 8 * c), F32(at + 100 + 32 * i + 8 * c)});
            sets.push_back(set);
        }
        if (sets != Json{{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}) p["texCoords"] = sets;
    }
    void TextTail(Json& p, size_t at) {
        const uint16_t buf = U16(at + 76), strBytes = U16(at + 78);
        if (buf < 2 || buf % 2 || strBytes % 2 || strBytes > buf)
            Fail(at + 76, "text buffer sizes cannot be written as source");
        p["material"] = MaterialName(at + 80);
        const uint16_t font = U16(at + 82);
        if (font >= mFonts.size()) {
            if (font != 0) Fail(at + 82, "font index outside the font list");
        } else {
            p["font"] = mFonts[font];
        }
        const uint8_t anchor = U8(at + 84), align = U8(at + 85);
        if (anchor > 8 || align > 2) Fail(at + 84, "text anchor or alignment out of range");
        Json fontSize = {F32(at + 100), F32(at + 104)};
        if (fontSize != Json{24, 24}) p["fontSize"] = fontSize;
        if (F32(at + 108) != Json(0)) p["charSpace"] = F32(at + 108);
        if (F32(at + 112) != Json(0)) p["lineSpace"] = F32(at + 112);
        if (anchor != 4) p["textAnchor"] = kAnchorNames[anchor];
        if (align != 0) p["alignment"] = kAlignNames[align];
        Json colours = {Colour(at + 92), Colour(at + 96)};
        if (colours != Json{"#FFFFFFFF", "#FFFFFFFF"}) p["textColours"] = colours;
        size_t length = 0;
        if (strBytes > 0) {
            const size_t s = at + U32(at + 88);
            std::u16string text;
            for (size_t i = 0; i + 1 < strBytes / 2u; ++i) text.push_back(char16_t(U16(s + 2 * i)));
            if (U16(s + strBytes - 2) != 0 || text.find(u'\0') != std::u16string::npos)
                Fail(s, "the initial text is not terminated where its size says");
            std::string utf8;
            if (!Utf16ToUtf8(text, utf8)) Fail(s, "the initial text is not valid UTF-16");
            p["text"] = utf8;
            length = text.size();
        }
        if (buf / 2u - 1 != length) p["maxLength"] = buf / 2 - 1;
    }
    Json UserData(size_t at) const {
        Json list = Json::array();
        for (size_t k = 0, n = U16(at + 8); k < n; ++k) {
            const size_t e = at + 12 + 12 * k;
            const std::string name = CStr(e + U32(e));
            Json data = Bytes(e + 4, 8);
            if (data == Json{0, 0, 0, 0, 0, 0, 0, 0}) {
                list.push_back(name);
            } else {
                list.push_back({{"name", name}, {"data", data}});
            }
        }
        return list;
    }

    std::vector<std::string> mMaterialNames;
    std::vector<std::string> mTextures, mFonts;
};

}  // namespace

std::string DecompileLayout(std::span<const uint8_t> bytes, const std::string& file) {
    Decompiler d(bytes, file);
    Json source = d.Run();
    std::string out;
    PrintSource(source, 0, out);
    return out + "\n";
}

}  // namespace lytc
