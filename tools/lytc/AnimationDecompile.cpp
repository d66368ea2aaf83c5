// Animation file -> animation source. The file is read through bounds-checked readers; what
// the source cannot say (unknown kinds or elements, reserved bytes in use, another layout of
// the offsets) is refused, checked at the end by compiling the printed source again.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "common/ToolError.h"
#include "lytc/AnimationNames.h"
#include "lytc/AnimationSource.h"
#include "lytc/BinarySource.h"
#include "lytc/SourcePrinter.h"

namespace lytc {
namespace {

using Json = BinarySource::Json;

class Decompiler : BinarySource {
public:
    using BinarySource::BinarySource;

    Json Run() {
        if (mBytes.size() < 16 || Tag(0) != "SANM") Fail(0, "not an animation file");
        if (U16(4) != 0xFEFF) Fail(4, "byte-order mark is not 0xFEFF");
        if (U32(8) != mBytes.size()) Fail(8, "the stored file size is not the file's size");
        size_t at = U16(12);
        const size_t count = U16(14);
        Json out = Json::object();
        bool info = false, tag = false, share = false;
        for (size_t i = 0; i < count; ++i) {
            const std::string kind = Tag(at);
            const size_t size = U32(at + 4);
            if (size < 8 || at + size > mBytes.size() || at + size < at)
                Fail(at, "section \"" + kind + "\" runs outside the file");
            if (kind == "ainf" && !info) {
                info = true;
                Info(at, out);
            } else if (kind == "atag" && info && !tag && !share) {
                tag = true;
                out["tag"] = TagSection(at);
            } else if (kind == "ashr" && info && !share) {
                share = true;
                out["shares"] = Shares(at);
            } else {
                Fail(at, "section \"" + kind + "\" cannot be written here as source");
            }
            at += size;
        }
        if (!info) Fail(0, "the file has no \"ainf\" section");
        return out;
    }

private:
    // A name the source can hold: printable ASCII, not empty.
    std::string Name(size_t at, std::string s) const {
        if (s.empty()) Fail(at, "an empty name cannot be written as source");
        for (unsigned char c : s)
            if (c < 0x20 || c > 0x7E) Fail(at, "a name is not printable ASCII");
        return s;
    }

    void Info(size_t s, Json& out) {
        out["frames"] = U16(s + 8);
        if (U8(s + 10) > 1) Fail(s + 10, "a loop flag other than 0 or 1");
        if (U8(s + 10) == 1) out["loop"] = true;
        const size_t textures = U16(s + 12);
        const size_t contents = U16(s + 14);
        const size_t table = s + U32(s + 16);
        Json names = Json::array();
        for (size_t i = 0; i < textures; ++i) {
            const size_t at = s + 20 + U32(s + 20 + 4 * i);
            names.push_back(Name(at, CStr(at)));
        }
        mTextures = names;
        if (!names.empty()) out["textures"] = names;
        Json list = Json::array();
        for (size_t i = 0; i < contents; ++i) list.push_back(Content(s + U32(table + 4 * i)));
        out["contents"] = list;
    }

    Json Content(size_t cs) {
        Json c = Json::object();
        const uint8_t type = U8(cs + 21);
        if (type > 1) Fail(cs + 21, "a content type other than pane (0) or material (1)");
        const bool material = type == 1;
        const std::string name = Fixed(cs, 20);
        if (!material && name.size() > kAnimPaneNameMax)
            Fail(cs, "a pane name longer than 16 characters");
        c[material ? "material" : "pane"] = Name(cs, name);
        Json curves = Json::array();
        for (size_t i = 0, n = U8(cs + 20); i < n; ++i) {
            const size_t is = cs + U32(cs + 24 + 4 * i);
            const std::string tag = Tag(is);
            const AnimKind* kind = FindAnimKindByTag(tag);
            if (kind == nullptr) Fail(is, "unknown curve kind \"" + tag + "\"");
            if (kind->material != material)
                Fail(is, "a \"" + tag + "\" curve on the wrong kind of target");
            for (size_t t = 0, nt = U8(is + 4); t < nt; ++t)
                curves.push_back(Curve(is + U32(is + 8 + 4 * t), *kind));
        }
        c["curves"] = curves;
        return c;
    }

    Json Curve(size_t ts, const AnimKind& kind) {
        Json curve = Json::object();
        curve["kind"] = kind.name;
        const uint8_t index = U8(ts), element = U8(ts + 1), curveType = U8(ts + 2);
        if (index != 0) {
            if (!kind.material) Fail(ts, "a pane curve with an index");
            curve["index"] = index;
        }
        if (element >= kind.elements.size()) Fail(ts + 1, "an element this kind does not have");
        if (kind.elements.size() > 1) curve["element"] = kind.elements[element];
        if (curveType != 0) curve["curveType"] = curveType;
        const size_t count = U16(ts + 4);
        const size_t ks = ts + U32(ts + 8);
        if (count == 0) Fail(ts + 4, "a curve without keys");
        Json keys = Json::array();
        for (size_t k = 0; k < count; ++k) {
            if (kind.step) {
                const size_t at = ks + 8 * k;
                const uint16_t v = U16(at + 4);
                Json value = v;
                if (std::string(kind.tag) == "ATPT" && v < mTextures.size()) value = mTextures[v];
                keys.push_back(Json::array({F32(at), value}));
            } else {
                const size_t at = ks + 12 * k;
                Json key = Json::array({F32(at), F32(at + 4)});
                // A slope of +0 is the default; -0 and others are written out.
                if (U32(at + 8) != 0) key.push_back(F32(at + 8));
                keys.push_back(key);
            }
        }
        curve["keys"] = keys;
        return curve;
    }

    Json TagSection(size_t s) {
        Json t = Json::object();
        t["name"] = Name(s + U32(s + 12), CStr(s + U32(s + 12)));
        if (U16(s + 8) != 0) t["order"] = U16(s + 8);
        if (U16(s + 20) != 0) t["start"] = U16(s + 20);
        t["end"] = U16(s + 22);
        if (U8(s + 24) > 1) Fail(s + 24, "tag flags other than the descendant bit");
        if (U8(s + 24) == 1) t["descendants"] = true;
        const size_t groups = U16(s + 10);
        const size_t refs = s + U32(s + 16);
        if (groups > 0) {
            Json list = Json::array();
            for (size_t g = 0; g < groups; ++g)
                list.push_back(Name(refs + 20 * g, Fixed(refs + 20 * g, 20)));
            t["groups"] = list;
        }
        return t;
    }

    Json Shares(size_t s) {
        Json list = Json::array();
        const size_t entries = s + U32(s + 8);
        for (size_t k = 0, n = U16(s + 12); k < n; ++k) {
            const size_t at = entries + 36 * k;
            list.push_back(Json{{"pane", Name(at, Fixed(at, 17))},
                                {"group", Name(at + 17, Fixed(at + 17, 17))}});
        }
        return list;
    }

    Json mTextures = Json::array();
};

}  // namespace

std::string DecompileAnimation(std::span<const uint8_t> bytes, const std::string& file) {
    Decompiler d(bytes, file);
    const Json source = d.Run();
    std::string out;
    PrintSource(source, 0, out);
    out += "\n";
    // Anything read above that the source still cannot reproduce (offsets laid out another
    // way, reserved bytes, padding) shows as a difference when the print is compiled again.
    std::vector<uint8_t> again;
    try {
        again = CompileAnimation(tools::JsonSource(file, out));
    } catch (const tools::ToolError& e) {
        throw tools::ToolError(file, 0,
                               std::string("the file cannot be written as source: ") + e.what());
    }
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) {
        size_t at = 0;
        while (at < again.size() && at < bytes.size() && again[at] == bytes[at]) ++at;
        char message[96];
        std::snprintf(message, sizeof message,
                      "at byte %zu: the file is laid out in a way the source cannot express", at);
        throw tools::ToolError(file, 0, message);
    }
    return out;
}

}  // namespace lytc
