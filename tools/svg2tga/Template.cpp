#include "svg2tga/Template.h"

#include <filesystem>
#include <set>

#include "common/FileIO.h"
#include "common/JsonSource.h"
#include "common/ToolError.h"

namespace svg {
namespace {

using nlohmann::json;
using tools::JsonChild;
using tools::JsonSource;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A variable's value as text: strings as they are, integers in decimal.
std::string ValueText(const JsonSource& src, const std::string& ptr) {
    const json& v = src.root().at(json::json_pointer(ptr));
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer()) return std::to_string(v.get<long long>());
    if (v.is_number()) {
        std::string s = v.dump();
        return s;
    }
    src.Fail(ptr, "a variable's value must be a string or a number");
}

const json& At(const JsonSource& src, const std::string& ptr) {
    return src.root().at(json::json_pointer(ptr));
}

void ReadVars(const JsonSource& src, const std::string& ptr, Vars& vars) {
    const json& obj = At(src, ptr);
    if (!obj.is_object()) src.Fail(ptr, "\"vars\" must be an object");
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        vars[it.key()] = ValueText(src, JsonChild(ptr, it.key()));
    }
}

// A size as given: two numbers, or texts with placeholders filled in per image.
struct SizeSpec {
    std::string width, height;
    std::string pointer;
};

SizeSpec ReadSize(const JsonSource& src, const std::string& ptr) {
    const json& v = At(src, ptr);
    if (!v.is_array() || v.size() != 2 || !(v[0].is_number_integer() || v[0].is_string()) ||
        !(v[1].is_number_integer() || v[1].is_string())) {
        src.Fail(ptr, "\"size\" must be [width, height] in pixels");
    }
    return {ValueText(src, JsonChild(ptr, 0)), ValueText(src, JsonChild(ptr, 1)), ptr};
}

// Resolves a size for one image; a missing spec means the document's own size (0).
void ResolveSize(const JsonSource& src, const SizeSpec& spec, const Vars& vars, int& width,
                 int& height) {
    width = height = 0;
    if (spec.pointer.empty()) return;
    int* out[2] = {&width, &height};
    const std::string* text[2] = {&spec.width, &spec.height};
    for (int i = 0; i < 2; ++i) {
        std::string value;
        try {
            value = ExpandPlaceholders(*text[i], vars, src.file());
        } catch (const tools::ToolError& e) {
            src.Fail(spec.pointer, e.what());
        }
        size_t used = 0;
        long n = 0;
        try {
            n = std::stol(value, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != value.size() || value.empty() || n < 1 || n > 4096) {
            src.Fail(spec.pointer,
                     "size \"" + value + "\" is not a whole number of pixels 1..4096");
        }
        *out[i] = int(n);
    }
}

// The variable sets one "for" loop runs through: a scalar value sets the loop's own variable,
// an object sets all of its variables at once (e.g. a board size and its pixel pitch).
std::vector<Vars> ReadLoop(const JsonSource& src, const std::string& ptr, const std::string& var) {
    const json& v = At(src, ptr);
    std::vector<Vars> values;
    if (v.is_array()) {
        for (size_t i = 0; i < v.size(); ++i) {
            Vars set;
            if (v[i].is_object()) {
                ReadVars(src, JsonChild(ptr, i), set);
            } else {
                set[var] = ValueText(src, JsonChild(ptr, i));
            }
            values.push_back(std::move(set));
        }
    } else if (v.is_object() && v.contains("from") && v.contains("to") &&
               v["from"].is_number_integer() && v["to"].is_number_integer()) {
        long long from = v["from"].get<long long>(), to = v["to"].get<long long>();
        if (to < from || to - from > 100000) src.Fail(ptr, "\"to\" must be >= \"from\"");
        for (long long n = from; n <= to; ++n) values.push_back({{var, std::to_string(n)}});
    } else {
        src.Fail(ptr, "a loop is a list of values or {\"from\": N, \"to\": M}");
    }
    if (values.empty()) src.Fail(ptr, "a loop needs at least one value");
    return values;
}

bool IsSafeOutputName(const std::string& name) {
    if (name.empty() || name.size() > 51 || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x21 || c > 0x7E || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

std::string ExpandPlaceholders(const std::string& text, const Vars& vars,
                               const std::string& sourceName) {
    std::string out;
    out.reserve(text.size());
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "{{") != 0) {
            if (text[i] == '\n') ++line;
            out += text[i++];
            continue;
        }
        size_t close = text.find("}}", i + 2);
        size_t newline = text.find('\n', i + 2);
        if (close == std::string::npos || (newline != std::string::npos && newline < close)) {
            throw tools::ToolError(sourceName, line, "placeholder \"{{\" is not closed by \"}}\"");
        }
        std::string inner = text.substr(i + 2, close - i - 2);
        size_t b = inner.find_first_not_of(' '), e = inner.find_last_not_of(' ');
        inner = b == std::string::npos ? "" : inner.substr(b, e - b + 1);
        std::string name = inner, format;
        if (auto colon = inner.find(':'); colon != std::string::npos) {
            name = inner.substr(0, colon);
            format = inner.substr(colon + 1);
        }
        bool valid = !name.empty();
        for (char c : name) valid = valid && IsNameChar(c);
        // The only format is "0N": pad with zeros to N characters.
        bool formatOk =
            format.empty() || (format.size() >= 2 && format.size() <= 3 && format[0] == '0' &&
                               format.find_first_not_of("0123456789") == std::string::npos);
        if (!valid || !formatOk) {
            throw tools::ToolError(sourceName, line, "malformed placeholder \"{{" + inner + "}}\"");
        }
        auto it = vars.find(name);
        if (it == vars.end()) {
            throw tools::ToolError(sourceName, line,
                                   "no value for placeholder \"{{" + name + "}}\"");
        }
        std::string value = it->second;
        if (!format.empty()) {
            size_t width = size_t(std::stoi(format.substr(1)));
            if (value.size() < width) value.insert(0, width - value.size(), '0');
        }
        out += value;
        i = close + 2;
    }
    return out;
}

std::vector<FamilyImage> ExpandFamilyText(const std::string& jsonText,
                                          const std::string& descriptionName,
                                          const std::string& baseDir) {
    JsonSource src(descriptionName, jsonText);
    const json& root = src.root();
    if (!root.is_object()) src.Fail("", "a family description is a JSON object");
    static const std::set<std::string> kTopKeys = {"template", "size", "vars", "images"};
    static const std::set<std::string> kImageKeys = {"name", "template", "size",
                                                     "vars", "for",      "each"};
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!kTopKeys.count(it.key()))
            src.Fail(JsonChild("", it.key()), "unknown key \"" + it.key() + "\"");
    }

    std::string defaultTemplate;
    if (root.contains("template")) {
        if (!root["template"].is_string()) src.Fail("/template", "\"template\" must be a path");
        defaultTemplate = root["template"].get<std::string>();
    }
    SizeSpec defaultSize;
    if (root.contains("size")) defaultSize = ReadSize(src, "/size");
    Vars defaultVars;
    if (root.contains("vars")) ReadVars(src, "/vars", defaultVars);
    if (!root.contains("images") || !root["images"].is_array() || root["images"].empty()) {
        src.Fail(root.contains("images") ? "/images" : "", "\"images\" must be a non-empty list");
    }

    std::map<std::string, std::string> templates;  // path -> text, each read once
    std::map<std::string, std::string> seenNames;  // folded name -> where first made
    std::vector<FamilyImage> images;
    const json& list = root["images"];
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string ip = JsonChild("/images", i);
        const json& item = list[i];
        if (!item.is_object()) src.Fail(ip, "an image is a JSON object");
        for (auto it = item.begin(); it != item.end(); ++it) {
            if (!kImageKeys.count(it.key()))
                src.Fail(JsonChild(ip, it.key()), "unknown key \"" + it.key() + "\"");
        }
        if (!item.contains("name") || !item["name"].is_string()) {
            src.Fail(item.contains("name") ? JsonChild(ip, "name") : ip,
                     "an image needs a \"name\" pattern");
        }
        std::string templatePath = defaultTemplate;
        if (item.contains("template")) {
            if (!item["template"].is_string())
                src.Fail(JsonChild(ip, "template"), "\"template\" must be a path");
            templatePath = item["template"].get<std::string>();
        }
        if (templatePath.empty()) src.Fail(ip, "no \"template\" for this image");
        SizeSpec size = defaultSize;
        if (item.contains("size")) size = ReadSize(src, JsonChild(ip, "size"));
        Vars baseVars = defaultVars;
        if (item.contains("vars")) ReadVars(src, JsonChild(ip, "vars"), baseVars);

        // Every combination of the "for" loops, times every "each" set.
        std::vector<Vars> combos = {baseVars};
        if (item.contains("for")) {
            const std::string fp = JsonChild(ip, "for");
            if (!item["for"].is_object() || item["for"].empty())
                src.Fail(fp, "\"for\" must be an object of loops");
            for (auto it = item["for"].begin(); it != item["for"].end(); ++it) {
                auto values = ReadLoop(src, JsonChild(fp, it.key()), it.key());
                std::vector<Vars> next;
                for (const auto& c : combos) {
                    for (const auto& v : values) {
                        Vars n = c;
                        for (const auto& [key, value] : v) n[key] = value;
                        next.push_back(std::move(n));
                    }
                }
                combos = std::move(next);
            }
        }
        std::vector<std::string> comboOrigin(combos.size(), JsonChild(ip, "name"));
        if (item.contains("each")) {
            const std::string ep = JsonChild(ip, "each");
            if (!item["each"].is_array() || item["each"].empty())
                src.Fail(ep, "\"each\" must be a non-empty list of variable sets");
            std::vector<Vars> next;
            std::vector<std::string> origins;
            for (const auto& c : combos) {
                for (size_t k = 0; k < item["each"].size(); ++k) {
                    Vars n = c;
                    ReadVars(src, JsonChild(ep, k), n);
                    next.push_back(std::move(n));
                    origins.push_back(JsonChild(ep, k));
                }
            }
            combos = std::move(next);
            comboOrigin = std::move(origins);
        }

        std::filesystem::path full = std::filesystem::path(baseDir) / templatePath;
        auto cached = templates.find(full.string());
        if (cached == templates.end()) {
            std::string text;
            try {
                text = tools::ReadText(full);
            } catch (const tools::ToolError&) {
                src.Fail(item.contains("template") ? JsonChild(ip, "template") : "/template",
                         "cannot read template " + full.string());
            }
            cached = templates.emplace(full.string(), std::move(text)).first;
        }

        const std::string namePattern = item["name"].get<std::string>();
        for (size_t c = 0; c < combos.size(); ++c) {
            FamilyImage img;
            try {
                img.name = ExpandPlaceholders(namePattern, combos[c], descriptionName);
            } catch (const tools::ToolError& e) {
                src.Fail(JsonChild(ip, "name"), e.what());
            }
            if (!IsSafeOutputName(img.name)) {
                src.Fail(comboOrigin[c],
                         "image name \"" + img.name +
                             "\" is not a plain file name of 1..51 ASCII characters");
            }
            auto [it, fresh] = seenNames.emplace(Lower(img.name), comboOrigin[c]);
            if (!fresh) {
                src.Fail(comboOrigin[c], "image name \"" + img.name +
                                             "\" is made twice (first at line " +
                                             std::to_string(src.LineOf(it->second)) + ")");
            }
            img.templatePath = full.string();
            img.svgText = ExpandPlaceholders(cached->second, combos[c], full.string());
            ResolveSize(src, size, combos[c], img.width, img.height);
            images.push_back(std::move(img));
        }
    }
    return images;
}

std::vector<FamilyImage> ExpandFamily(const std::string& descriptionPath) {
    std::string text = tools::ReadText(descriptionPath);
    return ExpandFamilyText(text, descriptionPath,
                            std::filesystem::path(descriptionPath).parent_path().string());
}

}  // namespace svg
