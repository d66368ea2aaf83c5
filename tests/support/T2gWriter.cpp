#include "support/T2gWriter.h"

#include <algorithm>

namespace testsupport {
namespace {
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> BuildT2g(const std::vector<T2gEntrySpec>& entries, bool longNames,
                              int32_t count) {
    std::vector<uint8_t> out = {'T', '2', 'G', 'F'};
    Put32(out, 0);
    Put32(out, longNames ? 1 : 0);
    Put32(out, uint32_t(count == INT32_MIN ? int32_t(entries.size()) : count));
    if (longNames) out.resize(64, 0);
    const size_t width = longNames ? 52 : 24;
    for (size_t k = 0; k < entries.size(); ++k) {
        const auto& e = entries[k];
        Put32(out, 0);
        std::vector<uint8_t> name(width, 0);
        for (size_t i = 0; i < e.name.size() && i < width; ++i) name[i] = uint8_t(e.name[i]);
        out.insert(out.end(), name.begin(), name.end());
        const uint32_t stored =
            e.storedSize >= 0 ? uint32_t(e.storedSize) : uint32_t((e.data.size() + 3) & ~size_t(3));
        Put32(out, uint32_t(e.data.size()));
        Put32(out, stored);
        const size_t dataStart = out.size();
        out.insert(out.end(), e.data.begin(), e.data.end());
        out.resize(std::max(out.size(), dataStart + stored), 0);
        // The next entry starts at the stored size rounded down to 4 (it may overlap the
        // tail of an unaligned entry, exactly as the format says).
        if (k + 1 < entries.size()) out.resize(dataStart + (stored & ~3u));
    }
    return out;
}

}  // namespace testsupport
