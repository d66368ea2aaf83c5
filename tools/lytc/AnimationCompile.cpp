// Animation source -> animation file: the header, then "ainf", and "atag" and "ashr" when the
// source has a tag or shares. Offsets are laid out in one fixed order so that the decompiler
// can print any file this compiler writes and get the same bytes back.
#include <bit>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "common/ToolError.h"
#include "lytc/AnimationNames.h"
#include "lytc/AnimationSource.h"
#include "lytc/BinarySink.h"

namespace lytc {
namespace {

using nlohmann::json;
using tools::JsonChild;

using Bytes = BinarySink;

struct Key {
    float frame = 0;
    float value = 0;  // Hermite value
    float slope = 0;
    uint32_t step = 0;  // step value
};

struct Target {
    uint8_t index = 0, element = 0, curveType = 0;
    std::vector<Key> keys;
};

struct Info {
    const AnimKind* kind = nullptr;
    std::vector<Target> targets;
};

struct Content {
    std::string name;
    bool material = false;
    std::vector<Info> infos;
};

class Compiler {
public:
    explicit Compiler(const tools::JsonSource& src) : mSrc(src) {}

    std::vector<uint8_t> Run() {
        if (!Root().is_object()) mSrc.Fail("", "an animation source is a JSON object");
        Keys("", {"frames", "loop", "textures", "contents", "tag", "shares"});
        if (!Root().contains("frames")) mSrc.Fail("", "missing \"frames\"");
        mFrames = uint16_t(Int("/frames", 0, 0xFFFF));
        if (Root().contains("loop")) mLoop = Bool("/loop");
        if (Root().contains("textures")) {
            const json& list = Array("/textures");
            for (size_t i = 0; i < list.size(); ++i) {
                const std::string p = JsonChild("/textures", i);
                const std::string name = Str(p, kAnimFileNameMax);
                if (!mTextureIndex.emplace(name, mTextures.size()).second)
                    mSrc.Fail(p, "texture \"" + name + "\" is listed twice");
                mTextures.push_back(name);
            }
        }
        if (!Root().contains("contents")) mSrc.Fail("", "missing \"contents\"");
        const json& contents = Array("/contents");
        if (contents.size() > 0xFFFF) mSrc.Fail("/contents", "more than 65535 contents");
        std::set<std::pair<bool, std::string>> seen;
        for (size_t i = 0; i < contents.size(); ++i) {
            Content c = ReadContent(JsonChild("/contents", i));
            if (!seen.emplace(c.material, c.name).second)
                mSrc.Fail(JsonChild("/contents", i), std::string(c.material ? "material" : "pane") +
                                                         " \"" + c.name +
                                                         "\" is animated by two contents");
            mContents.push_back(std::move(c));
        }
        if (mTextures.size() > 0xFFFF) mSrc.Fail("/textures", "more than 65535 textures");

        mOut.Tag("SANM"), mOut.U16(0xFEFF), mOut.U16(0x000A), mOut.U32(0), mOut.U16(16);
        mOut.U16(0);
        uint16_t sections = 1;
        WriteInfo();
        if (Root().contains("tag")) WriteTag("/tag"), ++sections;
        if (Root().contains("shares")) WriteShares("/shares"), ++sections;
        mOut.PatchU32(8, uint32_t(mOut.Pos()));
        mOut.PatchU16(14, sections);
        return std::move(mOut.mBytes);
    }

private:
    const json& Root() const { return mSrc.root(); }
    const json& At(const std::string& p) const { return Root().at(json::json_pointer(p)); }
    bool Has(const std::string& p, const char* key) const { return At(p).contains(key); }

    void Object(const std::string& p) const {
        if (!At(p).is_object()) mSrc.Fail(p, "expected an object");
    }
    const json& Array(const std::string& p) const {
        if (!At(p).is_array()) mSrc.Fail(p, "expected an array");
        return At(p);
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
        const float f = float(v.get<double>());
        if (!std::isfinite(f)) mSrc.Fail(p, "number out of range");
        return f;
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
    std::string Str(const std::string& p, size_t maxLen) const {
        const json& v = At(p);
        if (!v.is_string()) mSrc.Fail(p, "expected a string");
        std::string s = v.get<std::string>();
        if (s.empty()) mSrc.Fail(p, "must not be empty");
        if (s.size() > maxLen)
            mSrc.Fail(p, "\"" + s + "\" is longer than " + std::to_string(maxLen) + " characters");
        for (unsigned char c : s)
            if (c < 0x20 || c > 0x7E) mSrc.Fail(p, "\"" + s + "\" is not printable ASCII");
        return s;
    }

    Content ReadContent(const std::string& p) {
        Object(p);
        Keys(p, {"pane", "material", "curves"});
        Content c;
        if (Has(p, "pane") == Has(p, "material"))
            mSrc.Fail(p, "a content names either a \"pane\" or a \"material\"");
        c.material = Has(p, "material");
        c.name = c.material ? Str(JsonChild(p, "material"), kAnimMaterialNameMax)
                            : Str(JsonChild(p, "pane"), kAnimPaneNameMax);
        if (!Has(p, "curves")) mSrc.Fail(p, "missing \"curves\"");
        const std::string cp = JsonChild(p, "curves");
        const json& curves = Array(cp);
        if (curves.empty()) mSrc.Fail(cp, "a content needs at least one curve");
        std::set<std::tuple<const AnimKind*, int, int>> targets;
        for (size_t i = 0; i < curves.size(); ++i) {
            const std::string tp = JsonChild(cp, i);
            const AnimKind* kind = nullptr;
            Target t = ReadCurve(tp, c.material, kind);
            if (!targets.emplace(kind, t.index, t.element).second)
                mSrc.Fail(tp, "this value is already animated by an earlier curve");
            // Curves of one kind form one info, in order of the kind's first curve.
            Info* info = nullptr;
            for (Info& existing : c.infos)
                if (existing.kind == kind) info = &existing;
            if (info == nullptr) {
                c.infos.push_back({kind, {}});
                info = &c.infos.back();
            }
            if (info->targets.size() == 255) mSrc.Fail(tp, "more than 255 curves of one kind");
            info->targets.push_back(std::move(t));
        }
        return c;
    }

    Target ReadCurve(const std::string& p, bool material, const AnimKind*& kind) {
        Object(p);
        Keys(p, {"kind", "index", "element", "curveType", "keys"});
        if (!Has(p, "kind")) mSrc.Fail(p, "missing \"kind\"");
        const std::string kp = JsonChild(p, "kind");
        if (!At(kp).is_string()) mSrc.Fail(kp, "expected a string");
        kind = FindAnimKindByName(At(kp).get<std::string>());
        if (kind == nullptr)
            mSrc.Fail(kp, "unknown curve kind \"" + At(kp).get<std::string>() + "\"");
        if (kind->material != material)
            mSrc.Fail(kp, std::string("a ") + (material ? "material" : "pane") +
                              " cannot have a \"" + kind->name + "\" curve");
        Target t;
        if (Has(p, "index")) {
            if (!material) mSrc.Fail(JsonChild(p, "index"), "pane curves have no index");
            t.index = uint8_t(Int(JsonChild(p, "index"), 0, 255));
        }
        if (Has(p, "element")) {
            const std::string ep = JsonChild(p, "element");
            if (!At(ep).is_string()) mSrc.Fail(ep, "expected an element name");
            const std::string name = At(ep).get<std::string>();
            size_t e = 0;
            while (e < kind->elements.size() && kind->elements[e] != name) ++e;
            if (e == kind->elements.size()) {
                std::string known;
                for (const auto& n : kind->elements) known += (known.empty() ? "" : ", ") + n;
                mSrc.Fail(ep, "\"" + name + "\" is not an element of \"" + kind->name +
                                  "\" (one of: " + known + ")");
            }
            t.element = uint8_t(e);
        } else if (kind->elements.size() > 1) {
            mSrc.Fail(p, std::string("missing \"element\" for a \"") + kind->name + "\" curve");
        }
        if (Has(p, "curveType")) t.curveType = uint8_t(Int(JsonChild(p, "curveType"), 0, 255));
        if (!Has(p, "keys")) mSrc.Fail(p, "missing \"keys\"");
        const std::string ksp = JsonChild(p, "keys");
        const json& keys = Array(ksp);
        if (keys.empty()) mSrc.Fail(ksp, "a curve needs at least one key");
        if (keys.size() > 0xFFFF) mSrc.Fail(ksp, "more than 65535 keys");
        for (size_t i = 0; i < keys.size(); ++i) {
            const std::string kpth = JsonChild(ksp, i);
            Key k = kind->step ? StepKey(kpth, *kind) : HermiteKey(kpth);
            if (!t.keys.empty() && k.frame < t.keys.back().frame)
                mSrc.Fail(kpth, "keys must be in ascending frame order");
            t.keys.push_back(k);
        }
        return t;
    }

    Key HermiteKey(const std::string& p) const {
        const json& v = Array(p);
        if (v.size() != 2 && v.size() != 3)
            mSrc.Fail(p, "a key is [frame, value] or [frame, value, slope]");
        Key k;
        k.frame = Float(JsonChild(p, 0));
        k.value = Float(JsonChild(p, 1));
        if (v.size() == 3) k.slope = Float(JsonChild(p, 2));
        return k;
    }

    Key StepKey(const std::string& p, const AnimKind& kind) {
        const json& v = Array(p);
        if (v.size() != 2) mSrc.Fail(p, "a step key is [frame, value]");
        Key k;
        k.frame = Float(JsonChild(p, 0));
        const std::string vp = JsonChild(p, 1);
        if (At(vp).is_string() && std::string(kind.tag) == "ATPT") {
            const std::string name = Str(vp, kAnimFileNameMax);
            auto it = mTextureIndex.find(name);
            if (it == mTextureIndex.end()) {
                it = mTextureIndex.emplace(name, mTextures.size()).first;
                mTextures.push_back(name);
            }
            k.step = uint32_t(it->second);
        } else {
            k.step = uint32_t(Int(vp, 0, 0xFFFF));
        }
        return k;
    }

    size_t BeginSection(const char* tag) {
        const size_t start = mOut.Pos();
        mOut.Tag(tag), mOut.U32(0);
        return start;
    }
    void EndSection(size_t start) {
        mOut.Align4();
        mOut.PatchU32(start + 4, uint32_t(mOut.Pos() - start));
    }

    void WriteInfo() {
        const size_t s = BeginSection("ainf");
        mOut.U16(mFrames), mOut.U8(mLoop ? 1 : 0), mOut.U8(0);
        mOut.U16(uint32_t(mTextures.size())), mOut.U16(uint32_t(mContents.size()));
        const size_t tableAt = mOut.Pos();
        mOut.U32(0);
        const size_t nameTable = mOut.Pos();
        for (size_t i = 0; i < mTextures.size(); ++i) mOut.U32(0);
        for (size_t i = 0; i < mTextures.size(); ++i) {
            mOut.PatchU32(nameTable + 4 * i, uint32_t(mOut.Pos() - nameTable));
            mOut.CStr(mTextures[i]);
        }
        mOut.Align4();
        mOut.PatchU32(tableAt, uint32_t(mOut.Pos() - s));
        const size_t table = mOut.Pos();
        for (size_t i = 0; i < mContents.size(); ++i) mOut.U32(0);
        for (size_t i = 0; i < mContents.size(); ++i) {
            mOut.PatchU32(table + 4 * i, uint32_t(mOut.Pos() - s));
            WriteContent(mContents[i]);
        }
        EndSection(s);
    }

    void WriteContent(const Content& c) {
        const size_t cs = mOut.Pos();
        mOut.Fixed(c.name, kAnimMaterialNameMax);
        mOut.U8(uint32_t(c.infos.size())), mOut.U8(c.material ? 1 : 0), mOut.U16(0);
        const size_t infoTable = mOut.Pos();
        for (size_t i = 0; i < c.infos.size(); ++i) mOut.U32(0);
        for (size_t i = 0; i < c.infos.size(); ++i) {
            mOut.PatchU32(infoTable + 4 * i, uint32_t(mOut.Pos() - cs));
            const Info& info = c.infos[i];
            const size_t is = mOut.Pos();
            mOut.Tag(info.kind->tag);
            mOut.U8(uint32_t(info.targets.size())), mOut.U8(0), mOut.U16(0);
            const size_t targetTable = mOut.Pos();
            for (size_t t = 0; t < info.targets.size(); ++t) mOut.U32(0);
            for (size_t t = 0; t < info.targets.size(); ++t) {
                mOut.PatchU32(targetTable + 4 * t, uint32_t(mOut.Pos() - is));
                WriteTarget(info.targets[t], info.kind->step);
            }
        }
    }

    void WriteTarget(const Target& t, bool step) {
        mOut.U8(t.index), mOut.U8(t.element), mOut.U8(t.curveType), mOut.U8(0);
        mOut.U16(uint32_t(t.keys.size())), mOut.U16(0), mOut.U32(12);
        for (const Key& k : t.keys) {
            mOut.F32(k.frame);
            if (step) {
                mOut.U16(k.step), mOut.U16(0);
            } else {
                mOut.F32(k.value), mOut.F32(k.slope);
            }
        }
    }

    void WriteTag(const std::string& p) {
        Object(p);
        Keys(p, {"name", "order", "start", "end", "descendants", "groups"});
        if (!Has(p, "name")) mSrc.Fail(p, "missing \"name\"");
        const std::string name = Str(JsonChild(p, "name"), kAnimFileNameMax);
        const uint16_t order =
            Has(p, "order") ? uint16_t(Int(JsonChild(p, "order"), 0, 0xFFFF)) : 0;
        const uint16_t start =
            Has(p, "start") ? uint16_t(Int(JsonChild(p, "start"), 0, 0xFFFF)) : 0;
        const uint16_t end =
            Has(p, "end") ? uint16_t(Int(JsonChild(p, "end"), 0, 0xFFFF)) : uint16_t(mFrames);
        if (end < start) mSrc.Fail(JsonChild(p, "end"), "the tag ends before it starts");
        const bool descendants = Has(p, "descendants") && Bool(JsonChild(p, "descendants"));
        std::vector<std::string> groups;
        if (Has(p, "groups")) {
            const std::string gp = JsonChild(p, "groups");
            const json& list = Array(gp);
            if (list.size() > 0xFFFF) mSrc.Fail(gp, "more than 65535 groups");
            for (size_t i = 0; i < list.size(); ++i)
                groups.push_back(Str(JsonChild(gp, i), kAnimGroupNameMax));
        }
        const size_t s = BeginSection("atag");
        mOut.U16(order), mOut.U16(uint32_t(groups.size()));
        const size_t offsets = mOut.Pos();
        mOut.U32(0), mOut.U32(0);
        mOut.U16(start), mOut.U16(end), mOut.U8(descendants ? 1 : 0);
        mOut.Align4();
        mOut.PatchU32(offsets, uint32_t(mOut.Pos() - s));
        mOut.CStr(name);
        mOut.Align4();
        mOut.PatchU32(offsets + 4, uint32_t(mOut.Pos() - s));
        for (const std::string& g : groups) mOut.Fixed(g, 20);
        EndSection(s);
    }

    void WriteShares(const std::string& p) {
        const json& list = Array(p);
        if (list.size() > 0xFFFF) mSrc.Fail(p, "more than 65535 shares");
        std::vector<std::pair<std::string, std::string>> shares;
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string sp = JsonChild(p, i);
            Object(sp);
            Keys(sp, {"pane", "group"});
            if (!Has(sp, "pane") || !Has(sp, "group"))
                mSrc.Fail(sp, "a share names a \"pane\" and a \"group\"");
            shares.emplace_back(Str(JsonChild(sp, "pane"), kAnimPaneNameMax),
                                Str(JsonChild(sp, "group"), kAnimGroupNameMax));
        }
        const size_t s = BeginSection("ashr");
        mOut.U32(16), mOut.U16(uint32_t(shares.size())), mOut.U16(0);
        for (const auto& [pane, group] : shares) {
            mOut.Fixed(pane, 17), mOut.Fixed(group, 17), mOut.U16(0);
        }
        EndSection(s);
    }

    const tools::JsonSource& mSrc;
    Bytes mOut;
    uint16_t mFrames = 0;
    bool mLoop = false;
    std::vector<std::string> mTextures;
    std::map<std::string, size_t> mTextureIndex;
    std::vector<Content> mContents;
};

}  // namespace

std::vector<uint8_t> CompileAnimation(const tools::JsonSource& source) {
    return Compiler(source).Run();
}

}  // namespace lytc
