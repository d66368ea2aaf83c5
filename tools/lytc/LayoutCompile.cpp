// Layout source -> layout file. Sections are written in the order the program reads them:
// info, textures, fonts, materials, the pane tree, then the groups.
#include <bit>
#include <cmath>
#include <map>
#include <set>

#include "common/ToolError.h"
#include "lytc/BinarySink.h"
#include "lytc/LayoutSource.h"
#include "lytc/SourceNames.h"
#include "lytc/Utf16.h"

namespace lytc {
namespace {

using nlohmann::json;
using tools::JsonChild;

using Writer = BinarySink;

struct Vec2 {
    double x = 0, y = 0;
};

class Compiler {
public:
    explicit Compiler(const tools::JsonSource& src) : mSrc(src) {}

    std::vector<uint8_t> Run() {
        const json& root = mSrc.root();
        if (!root.is_object()) mSrc.Fail("", "a layout source is a JSON object");
        Keys("", {"layout", "textures", "fonts", "materials", "root", "groups", "rootGroup"});
        mW.Tag("SLYT"), mW.U16(0xFEFF), mW.U16(0x000A), mW.U32(0), mW.U16(16), mW.U16(0);

        const std::string info = "/layout";
        float width = 1024, height = 768;
        if (root.contains("layout")) {
            Object(info);
            Keys(info, {"width", "height"});
            if (root["layout"].contains("width")) width = Float(info + "/width");
            if (root["layout"].contains("height")) height = Float(info + "/height");
        }
        mHalf = {width / 2.0, height / 2.0};
        size_t s = Begin("linf");
        mW.U32(0), mW.F32(width), mW.F32(height);
        End(s);

        NameList("/textures", mTextures, 0);
        NameList("/fonts", mFonts, 0);
        ReadMaterials();  // may add texture names used only there
        WriteNames("texl", mTextures);
        WriteNames("fntl", mFonts);
        mFontsWritten = mFonts.size();
        WriteMaterials();

        if (!root.contains("root")) mSrc.Fail("", "missing \"root\" pane");
        Pane("/root", Vec2{}, true);
        WriteGroups();

        mW.PatchU32(8, uint32_t(mW.Pos()));
        mW.PatchU16(14, mSections);
        return std::move(mW.mBytes);
    }

private:
    const json& At(const std::string& p) const { return mSrc.root().at(json::json_pointer(p)); }
    bool Has(const std::string& obj, const char* key) const { return At(obj).contains(key); }

    void Object(const std::string& p) const {
        if (!At(p).is_object()) mSrc.Fail(p, "expected an object");
    }
    const json& Array(const std::string& p, size_t exact = 0) const {
        const json& v = At(p);
        if (!v.is_array()) mSrc.Fail(p, "expected an array");
        if (exact != 0 && v.size() != exact)
            mSrc.Fail(p, "expected " + std::to_string(exact) + " values, got " +
                             std::to_string(v.size()));
        return v;
    }
    void Keys(const std::string& p, std::initializer_list<const char*> allowed) const {
        for (const auto& item : At(p).items()) {
            bool ok = false;
            for (const char* a : allowed) ok = ok || item.key() == a;
            if (!ok) mSrc.Fail(JsonChild(p, item.key()), "unknown key \"" + item.key() + "\"");
        }
    }
    float Float(const std::string& p) const {
        const json& v = At(p);
        if (!v.is_number()) mSrc.Fail(p, "expected a number");
        const double d = v.get<double>();
        if (!std::isfinite(float(d))) mSrc.Fail(p, "number out of range");
        return float(d);
    }
    long Int(const std::string& p, long lo, long hi) const {
        const json& v = At(p);
        if (!v.is_number_integer())
            mSrc.Fail(p,
                      "expected a whole number " + std::to_string(lo) + ".." + std::to_string(hi));
        const long n = v.get<long>();
        if (n < lo || n > hi)
            mSrc.Fail(p, std::to_string(n) + " is outside " + std::to_string(lo) + ".." +
                             std::to_string(hi));
        return n;
    }
    bool Bool(const std::string& p) const {
        if (!At(p).is_boolean()) mSrc.Fail(p, "expected true or false");
        return At(p).get<bool>();
    }
    std::string Str(const std::string& p, size_t maxLen, bool nonEmpty = true) const {
        const json& v = At(p);
        if (!v.is_string()) mSrc.Fail(p, "expected a string");
        std::string s = v.get<std::string>();
        if (nonEmpty && s.empty()) mSrc.Fail(p, "must not be empty");
        if (s.size() > maxLen)
            mSrc.Fail(p, "\"" + s + "\" is longer than " + std::to_string(maxLen) + " characters");
        for (unsigned char c : s)
            if (c < 0x20 || c > 0x7E) mSrc.Fail(p, "\"" + s + "\" is not printable ASCII");
        return s;
    }
    uint32_t Colour(const std::string& p) const {
        const json& v = At(p);
        const std::string s = v.is_string() ? v.get<std::string>() : "";
        bool ok = s.size() == 9 && s[0] == '#';
        for (size_t i = 1; ok && i < 9; ++i) ok = std::isxdigit(static_cast<unsigned char>(s[i]));
        if (!ok) mSrc.Fail(p, "expected a colour \"#RRGGBBAA\"");
        return uint32_t(std::stoul(s.substr(1), nullptr, 16));
    }
    void Floats(const std::string& p, size_t n, float* out) const {
        Array(p, n);
        for (size_t i = 0; i < n; ++i) out[i] = Float(JsonChild(p, i));
    }
    uint8_t NamedValue(const std::string& p, const auto& names, const char* what) const {
        const json& v = At(p);
        if (v.is_string())
            for (size_t i = 0; i < names.size(); ++i)
                if (v.get<std::string>() == names[i]) return uint8_t(i);
        std::string list;
        for (const char* n : names) list += std::string(list.empty() ? "" : ", ") + n;
        mSrc.Fail(p, std::string("unknown ") + what + "; use one of " + list);
    }

    size_t Begin(const char* tag) {
        const size_t s = mW.Pos();
        mW.Tag(tag), mW.U32(0);
        return s;
    }
    void End(size_t s) {
        mW.PatchU32(s + 4, uint32_t(mW.Pos() - s));
        ++mSections;
    }

    void NameList(const std::string& p, std::vector<std::string>& out, size_t) {
        if (!mSrc.root().contains(p.substr(1))) return;
        const json& list = Array(p);
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string name = Str(JsonChild(p, i), 255);
            for (const auto& n : out)
                if (n == name) mSrc.Fail(JsonChild(p, i), "\"" + name + "\" is listed twice");
            out.push_back(name);
        }
    }
    uint16_t IndexOf(std::vector<std::string>& names, const std::string& name) {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return uint16_t(i);
        names.push_back(name);
        return uint16_t(names.size() - 1);
    }
    void WriteNames(const char* tag, const std::vector<std::string>& names) {
        const size_t s = Begin(tag);
        mW.U16(uint32_t(names.size())), mW.U16(0);
        size_t at = names.size() * 8;
        for (const auto& n : names) {
            mW.U32(uint32_t(at)), mW.U32(0);
            at += n.size() + 1;
        }
        for (const auto& n : names) mW.Fixed(n, n.size() + 1);
        mW.Align4();
        End(s);
    }

    // One material, already as its record bytes (offsets are patched in WriteMaterials).
    void ReadMaterials() {
        if (!mSrc.root().contains("materials")) return;
        const json& list = Array("/materials");
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string p = JsonChild("/materials", i);
            Object(p);
            Keys(p, {"name", "tint", "constants", "textures", "transforms", "texCoordGens",
                     "channelControl", "colour", "swapTable", "indirectTransforms",
                     "indirectStages", "combinerStages", "alphaTest", "blendMode"});
            if (!Has(p, "name")) mSrc.Fail(p, "material without \"name\"");
            const std::string name = Str(p + "/name", 20);
            if (mMaterialIndex.count(name))
                mSrc.Fail(p + "/name", "material \"" + name + "\" defined twice");
            mMaterialIndex[name] = uint16_t(i);
            mMaterials.push_back(Material(p, name));
        }
        if (list.size() > 0xFFFF) mSrc.Fail("/materials", "too many materials");
    }

    std::vector<uint8_t> Material(const std::string& p, const std::string& name) {
        Writer w;
        w.Fixed(name, 20);
        const int tintDefault[3][4] = {{0, 0, 0, 0}, {255, 255, 255, 255}, {0, 0, 0, 0}};
        if (Has(p, "tint")) Array(p + "/tint", 3);
        for (int c = 0; c < 3; ++c) {
            const std::string cp = JsonChild(p + "/tint", size_t(c));
            if (Has(p, "tint")) Array(cp, 4);
            for (int k = 0; k < 4; ++k)
                w.U16(uint16_t(Has(p, "tint") ? Int(JsonChild(cp, size_t(k)), -32768, 32767)
                                              : tintDefault[c][k]));
        }
        if (Has(p, "constants")) Array(p + "/constants", 4);
        for (size_t c = 0; c < 4; ++c)
            w.U32(Has(p, "constants") ? Colour(JsonChild(p + "/constants", c)) : 0xFFFFFFFFu);
        const size_t flagsAt = w.Pos();
        w.U32(0);
        uint32_t flags = 0;

        const size_t maps = Count(p, "textures", 10);
        for (size_t i = 0; i < maps; ++i) {
            const std::string tp = JsonChild(p + "/textures", i);
            long wrapS = 0, wrapT = 0, minF = 0, magF = 0;
            std::string tex;
            if (At(tp).is_string()) {
                tex = Str(tp, 255);
            } else {
                Object(tp);
                Keys(tp, {"name", "wrapS", "wrapT", "minFilter", "magFilter"});
                if (!Has(tp, "name")) mSrc.Fail(tp, "texture without \"name\"");
                tex = Str(tp + "/name", 255);
                if (Has(tp, "wrapS")) wrapS = Int(tp + "/wrapS", 0, 3);
                if (Has(tp, "wrapT")) wrapT = Int(tp + "/wrapT", 0, 3);
                if (Has(tp, "minFilter")) minF = Int(tp + "/minFilter", 0, 7);
                if (Has(tp, "magFilter")) magF = Int(tp + "/magFilter", 0, 1);
            }
            w.U16(IndexOf(mTextures, tex));
            w.U8(uint32_t(wrapS | minF << 2)), w.U8(uint32_t(wrapT | magF << 2));
        }
        flags |= uint32_t(maps);
        const size_t srts = Count(p, "transforms", 10);
        for (size_t i = 0; i < srts; ++i) Transform(w, JsonChild(p + "/transforms", i));
        flags |= uint32_t(srts) << 4;
        flags |= Raw(w, p, kTexCoordGens);
        flags |= Raw(w, p, kChannelControl);
        if (Has(p, "colour")) {
            w.U32(Colour(p + "/colour"));
            flags |= 1u << 27;
        }
        flags |= Raw(w, p, kSwapTable);
        const size_t inds = Count(p, "indirectTransforms", 3);
        for (size_t i = 0; i < inds; ++i) Transform(w, JsonChild(p + "/indirectTransforms", i));
        flags |= uint32_t(inds) << 13;
        flags |= Raw(w, p, kIndirectStages);
        flags |= Raw(w, p, kCombinerStages);
        flags |= Raw(w, p, kAlphaTest);
        flags |= Raw(w, p, kBlendMode);
        w.PatchU32(flagsAt, flags);
        return std::move(w.mBytes);
    }
    size_t Count(const std::string& p, const char* key, size_t max) const {
        if (!Has(p, key)) return 0;
        const json& list = Array(JsonChild(p, key));
        if (list.size() > max)
            mSrc.Fail(JsonChild(p, key),
                      std::string("at most ") + std::to_string(max) + " " + key + " are allowed");
        return list.size();
    }
    void Transform(Writer& w, const std::string& p) const {
        Object(p);
        Keys(p, {"translate", "rotate", "scale"});
        float t[2] = {0, 0}, s[2] = {1, 1}, r = 0;
        if (Has(p, "translate")) Floats(p + "/translate", 2, t);
        if (Has(p, "rotate")) r = Float(p + "/rotate");
        if (Has(p, "scale")) Floats(p + "/scale", 2, s);
        w.F32(t[0]), w.F32(t[1]), w.F32(r), w.F32(s[0]), w.F32(s[1]);
    }
    uint32_t Raw(Writer& w, const std::string& p, const RawBlock& b) const {
        if (!Has(p, b.key)) return 0;
        const std::string bp = JsonChild(p, b.key);
        size_t n = 1;
        if (b.bits > 1) n = Count(p, b.key, size_t(b.max));
        for (size_t i = 0; i < n; ++i) {
            const std::string ep = b.bits > 1 ? JsonChild(bp, i) : bp;
            Array(ep, size_t(b.size));
            for (size_t k = 0; k < size_t(b.size); ++k)
                w.U8(uint32_t(Int(JsonChild(ep, k), 0, 255)));
        }
        return uint32_t(n) << b.shift;
    }
    void WriteMaterials() {
        const size_t s = Begin("matl");
        mW.U16(uint32_t(mMaterials.size())), mW.U16(0);
        size_t at = 12 + 4 * mMaterials.size();
        for (const auto& m : mMaterials) {
            mW.U32(uint32_t(at));
            at += m.size();
        }
        for (const auto& m : mMaterials) mW.mBytes.insert(mW.mBytes.end(), m.begin(), m.end());
        End(s);
    }

    uint16_t MaterialRef(const std::string& p, const std::string& kind) {
        if (!Has(p, "material")) mSrc.Fail(p, "a " + kind + " needs a \"material\"");
        const std::string name = Str(p + "/material", 20);
        const auto it = mMaterialIndex.find(name);
        if (it == mMaterialIndex.end())
            mSrc.Fail(p + "/material", "no material named \"" + name + "\"");
        return it->second;
    }

    void Pane(const std::string& p, Vec2 parentAt, bool parentPlain) {
        Object(p);
        std::string kind = "pane";
        if (Has(p, "kind")) kind = Str(p + "/kind", 16);
        const char* tag = nullptr;
        for (const auto& k : kPaneKinds)
            if (kind == k.name) tag = k.tag;
        if (tag == nullptr)
            mSrc.Fail(p + "/kind", "unknown kind \"" + kind +
                                       "\"; use pane, picture, textbox, bounding or window");
        const bool picture = kind == "picture", text = kind == "textbox", window = kind == "window";
        for (const auto& item : At(p).items()) {
            static const std::set<std::string> common = {
                "name",           "kind",        "position",   "screen",   "rotation",
                "scale",          "size",        "anchor",     "alpha",    "visible",
                "propagateAlpha", "scaleAdjust", "userString", "userData", "children"};
            static const std::set<std::string> pict = {"material", "vertexColours", "texCoords"};
            static const std::set<std::string> txtb = {
                "material",   "font",      "fontSize",    "charSpace", "lineSpace",
                "textAnchor", "alignment", "textColours", "text",      "maxLength"};
            const std::string& k = item.key();
            if (!(common.count(k) || (picture && pict.count(k)) || (text && txtb.count(k)) ||
                  (window && k == "inflation")))
                mSrc.Fail(JsonChild(p, k), "unknown key \"" + k + "\" for a " + kind);
        }
        if (!Has(p, "name")) mSrc.Fail(p, "pane without \"name\"");
        const std::string name = Str(p + "/name", 16);
        if (!mPaneNames.insert(name).second)
            mSrc.Fail(p + "/name", "pane name \"" + name + "\" used twice");

        uint8_t flags = 1;
        if (Has(p, "visible") && !Bool(p + "/visible")) flags &= ~1u;
        if (Has(p, "propagateAlpha") && Bool(p + "/propagateAlpha")) flags |= 2;
        if (Has(p, "scaleAdjust") && Bool(p + "/scaleAdjust")) flags |= 4;
        const uint8_t anchor =
            Has(p, "anchor") ? NamedValue(p + "/anchor", kAnchorNames, "anchor") : 4;
        const uint8_t alpha = Has(p, "alpha") ? uint8_t(Int(p + "/alpha", 0, 255)) : 255;
        const std::string userString = Has(p, "userString") ? Str(p + "/userString", 8, false) : "";

        float pos[3] = {0, 0, 0}, rot[3] = {0, 0, 0}, scale[2] = {1, 1}, size[2] = {0, 0};
        if (Has(p, "position") && Has(p, "screen"))
            mSrc.Fail(p + "/screen", "give \"position\" or \"screen\", not both");
        if (Has(p, "position")) {
            const size_t n = Array(p + "/position").size();
            if (n != 2 && n != 3) mSrc.Fail(p + "/position", "expected [x, y] or [x, y, z]");
            for (size_t i = 0; i < n; ++i) pos[i] = Float(JsonChild(p + "/position", i));
        }
        if (Has(p, "rotation")) Floats(p + "/rotation", 3, rot);
        if (Has(p, "scale")) Floats(p + "/scale", 2, scale);
        if (Has(p, "size")) Floats(p + "/size", 2, size);
        if (Has(p, "screen")) {
            if (!parentPlain)
                mSrc.Fail(p + "/screen",
                          "\"screen\" needs every enclosing pane unscaled and unrotated");
            float sc[2];
            Floats(p + "/screen", 2, sc);
            pos[0] = float(sc[0] - mHalf.x - parentAt.x);
            pos[1] = float(mHalf.y - sc[1] - parentAt.y);
        }
        const Vec2 here{parentAt.x + pos[0], parentAt.y + pos[1]};
        const bool plain = parentPlain && scale[0] == 1 && scale[1] == 1 && rot[0] == 0 &&
                           rot[1] == 0 && rot[2] == 0;

        const size_t s = Begin(tag);
        mW.U8(flags), mW.U8(anchor), mW.U8(alpha), mW.U8(0);
        mW.Fixed(name, 16), mW.Fixed(userString, 8);
        for (float v : pos) mW.F32(v);
        for (float v : rot) mW.F32(v);
        for (float v : scale) mW.F32(v);
        for (float v : size) mW.F32(v);
        if (picture) PictureTail(p);
        if (text) TextTail(p);
        if (window) {
            float inflation[4] = {0, 0, 0, 0};
            if (Has(p, "inflation")) Floats(p + "/inflation", 4, inflation);
            for (float v : inflation) mW.F32(v);
            mW.U8(0), mW.U8(0), mW.U16(0), mW.U32(0), mW.U32(0);
        }
        End(s);

        if (Has(p, "userData")) UserData(p + "/userData");
        if (Has(p, "children")) {
            const json& kids = Array(p + "/children");
            mMarker("chbg");
            for (size_t i = 0; i < kids.size(); ++i)
                Pane(JsonChild(p + "/children", i), here, plain);
            mMarker("chen");
        }
    }
    void mMarker(const char* tag) { End(Begin(tag)); }

    void PictureTail(const std::string& p) {
        if (Has(p, "vertexColours")) Array(p + "/vertexColours", 4);
        for (size_t i = 0; i < 4; ++i)
            mW.U32(Has(p, "vertexColours") ? Colour(JsonChild(p + "/vertexColours", i))
                                           : 0xFFFFFFFFu);
        mW.U16(MaterialRef(p, "picture"));
        if (!Has(p, "texCoords")) {
            mW.U8(1), mW.U8(0);
            for (float v : {0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 1.f, 1.f}) mW.F32(v);
            return;
        }
        const std::string sp = p + "/texCoords";
        const json& sets = Array(sp);
        if (sets.size() > 10) mSrc.Fail(sp, "at most 10 texture coordinate sets are allowed");
        mW.U8(uint32_t(sets.size())), mW.U8(0);
        for (size_t i = 0; i < sets.size(); ++i) {
            const std::string setp = JsonChild(sp, i);
            Array(setp, 4);
            for (size_t c = 0; c < 4; ++c) {
                float st[2];
                Floats(JsonChild(setp, c), 2, st);
                mW.F32(st[0]), mW.F32(st[1]);
            }
        }
    }

    void TextTail(const std::string& p) {
        std::u16string text;
        const bool hasText = Has(p, "text");
        if (hasText) {
            if (!At(p + "/text").is_string()) mSrc.Fail(p + "/text", "expected a string");
            if (!Utf8ToUtf16(At(p + "/text").get<std::string>(), text))
                mSrc.Fail(p + "/text", "text is not valid UTF-8");
        }
        long maxLength = long(text.size());
        if (Has(p, "maxLength")) maxLength = Int(p + "/maxLength", 0, 32766);
        if (long(text.size()) > maxLength)
            mSrc.Fail(p + "/text", "text has " + std::to_string(text.size()) +
                                       " UTF-16 units, more than maxLength " +
                                       std::to_string(maxLength));
        if (text.size() > 32766) mSrc.Fail(p + "/text", "text is too long");
        uint16_t font = 0;
        if (Has(p, "font")) font = IndexOf(mFonts, Str(p + "/font", 255));
        if (mFonts.size() > mFontsWritten)
            mSrc.Fail(p + "/font", "font \"" + mFonts.back() + "\" is not in \"fonts\"");
        mW.U16(uint32_t((maxLength + 1) * 2));
        mW.U16(hasText ? uint32_t((text.size() + 1) * 2) : 0);
        mW.U16(MaterialRef(p, "textbox"));
        mW.U16(font);
        mW.U8(Has(p, "textAnchor") ? NamedValue(p + "/textAnchor", kAnchorNames, "anchor") : 4);
        mW.U8(Has(p, "alignment") ? NamedValue(p + "/alignment", kAlignNames, "alignment") : 0);
        mW.U16(0);
        mW.U32(116);
        for (size_t i = 0; i < 2; ++i)
            mW.U32(Has(p, "textColours")
                       ? (Array(p + "/textColours", 2), Colour(JsonChild(p + "/textColours", i)))
                       : 0xFFFFFFFFu);
        float fontSize[2] = {24, 24};
        if (Has(p, "fontSize")) Floats(p + "/fontSize", 2, fontSize);
        mW.F32(fontSize[0]), mW.F32(fontSize[1]);
        mW.F32(Has(p, "charSpace") ? Float(p + "/charSpace") : 0);
        mW.F32(Has(p, "lineSpace") ? Float(p + "/lineSpace") : 0);
        if (hasText) {
            for (char16_t c : text) mW.U16(c);
            mW.U16(0);
        }
        mW.Align4();
    }

    void UserData(const std::string& p) {
        const json& list = Array(p);
        const size_t s = Begin("usrd");
        mW.U16(uint32_t(list.size())), mW.U16(0);
        std::vector<std::string> names;
        size_t at = 12 * list.size();
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string ep = JsonChild(p, i);
            uint8_t data[8] = {};
            std::string name;
            if (At(ep).is_string()) {
                name = Str(ep, 255);
            } else {
                Object(ep);
                Keys(ep, {"name", "data"});
                if (!Has(ep, "name")) mSrc.Fail(ep, "user data without \"name\"");
                name = Str(ep + "/name", 255);
                if (Has(ep, "data")) {
                    Array(ep + "/data", 8);
                    for (size_t k = 0; k < 8; ++k)
                        data[k] = uint8_t(Int(JsonChild(ep + "/data", k), 0, 255));
                }
            }
            mW.U32(uint32_t(at - 12 * i));
            for (uint8_t b : data) mW.U8(b);
            at += name.size() + 1;
            names.push_back(name);
        }
        for (const auto& n : names) mW.Fixed(n, n.size() + 1);
        mW.Align4();
        End(s);
    }

    void WriteGroups() {
        const std::string rootName =
            mSrc.root().contains("rootGroup") ? Str("/rootGroup", 16) : "RootGroup";
        size_t s = Begin("grup");
        mW.Fixed(rootName, 16), mW.U16(0), mW.U16(0);
        End(s);
        if (!mSrc.root().contains("groups")) return;
        const json& groups = Array("/groups");
        mMarker("gpbg");
        std::set<std::string> seen;
        for (size_t i = 0; i < groups.size(); ++i) {
            const std::string gp = JsonChild("/groups", i);
            Object(gp);
            Keys(gp, {"name", "panes"});
            if (!Has(gp, "name")) mSrc.Fail(gp, "group without \"name\"");
            const std::string name = Str(gp + "/name", 16);
            if (!seen.insert(name).second)
                mSrc.Fail(gp + "/name", "group \"" + name + "\" defined twice");
            const json& panes = Has(gp, "panes") ? Array(gp + "/panes") : json::array();
            s = Begin("grup");
            mW.Fixed(name, 16), mW.U16(uint32_t(panes.size())), mW.U16(0);
            for (size_t k = 0; k < panes.size(); ++k) {
                const std::string pp = JsonChild(gp + "/panes", k);
                const std::string pane = Str(pp, 16);
                if (!mPaneNames.count(pane)) mSrc.Fail(pp, "no pane named \"" + pane + "\"");
                mW.Fixed(pane, 16);
            }
            End(s);
        }
        mMarker("gpen");
    }

    const tools::JsonSource& mSrc;
    Writer mW;
    uint16_t mSections = 0;
    Vec2 mHalf;
    std::vector<std::string> mTextures, mFonts;
    size_t mFontsWritten = 0;
    std::vector<std::vector<uint8_t>> mMaterials;
    std::map<std::string, uint16_t> mMaterialIndex;
    std::set<std::string> mPaneNames;
};

}  // namespace

std::vector<uint8_t> CompileLayout(const tools::JsonSource& source) {
    return Compiler(source).Run();
}

}  // namespace lytc
