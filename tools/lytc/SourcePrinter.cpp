#include "lytc/SourcePrinter.h"

#include <algorithm>

namespace lytc {

void PrintSource(const BinarySource::Json& v, int indent, std::string& out) {
    using Json = BinarySource::Json;
    auto plain = [](const Json& e) { return !e.is_structured(); };
    auto plainOrFlatArray = [&plain](const Json& e) {
        return plain(e) || (e.is_array() && std::all_of(e.begin(), e.end(), plain));
    };
    const bool flat =
        !v.is_structured() || (v.is_array() && std::all_of(v.begin(), v.end(), plainOrFlatArray));
    if (flat) {
        if (!v.is_array()) {
            out += v.dump(-1, ' ', false, Json::error_handler_t::strict);
            return;
        }
        out += "[";
        for (size_t i = 0; i < v.size(); ++i) {
            if (i) out += ", ";
            PrintSource(v[i], indent, out);
        }
        out += "]";
        return;
    }
    const std::string pad(size_t(indent + 2), ' ');
    out += v.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        out += pad;
        if (v.is_object()) out += Json(it.key()).dump() + ": ";
        PrintSource(*it, indent + 2, out);
    }
    out += "\n" + std::string(size_t(indent), ' ') + (v.is_object() ? "}" : "]");
}

}  // namespace lytc
