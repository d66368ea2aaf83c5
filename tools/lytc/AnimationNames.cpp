#include "lytc/AnimationNames.h"

namespace lytc {
namespace {

std::vector<std::string> ColourElements(const std::vector<std::string>& colours) {
    std::vector<std::string> out;
    for (const std::string& colour : colours)
        for (const char* channel : {"r", "g", "b", "a"}) out.push_back(colour + "-" + channel);
    return out;
}

std::vector<std::string> VertexColourElements() {
    auto out = ColourElements({"top-left", "top-right", "bottom-left", "bottom-right"});
    out.push_back("alpha");
    return out;
}

std::vector<std::string> MaterialColourElements() {
    std::vector<std::string> out = {"r", "g", "b", "a"};
    for (auto& e : ColourElements(
             {"tint0", "tint1", "tint2", "constant0", "constant1", "constant2", "constant3"}))
        out.push_back(e);
    return out;
}

}  // namespace

const std::array<AnimKind, 7>& AnimKinds() {
    static const std::array<AnimKind, 7> kinds = {{
        {"transform",
         "APSR",
         false,
         false,
         {"translate-x", "translate-y", "translate-z", "rotate-x", "rotate-y", "rotate-z",
          "scale-x", "scale-y", "width", "height"}},
        {"vertex-colour", "AVCL", false, false, VertexColourElements()},
        {"visibility", "AVIS", false, true, {"visible"}},
        {"material-colour", "AMCL", true, false, MaterialColourElements()},
        {"texture-transform",
         "ATSR",
         true,
         false,
         {"translate-x", "translate-y", "rotate", "scale-x", "scale-y"}},
        {"indirect-transform",
         "AIMT",
         true,
         false,
         {"translate-x", "translate-y", "rotate", "scale-x", "scale-y"}},
        {"texture-pattern", "ATPT", true, true, {"texture"}},
    }};
    return kinds;
}

const AnimKind* FindAnimKindByName(const std::string& name) {
    for (const AnimKind& k : AnimKinds())
        if (name == k.name) return &k;
    return nullptr;
}

const AnimKind* FindAnimKindByTag(const std::string& tag) {
    for (const AnimKind& k : AnimKinds())
        if (tag == k.tag) return &k;
    return nullptr;
}

}  // namespace lytc
