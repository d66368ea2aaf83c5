#include "Lib/ZIRur/Graphics/JpegStructure.h"

#include <cstddef>

namespace gfx {
namespace {

constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kTemporary = 0x01;

bool IsRestart(uint8_t code) {
    return code >= 0xD0 && code <= 0xD7;
}

// From just after a scan header to the next marker that is not a restart: the position of its
// 0xFF, or data.size() when the entropy-coded data runs to the end.
size_t EndOfEntropyData(std::span<const uint8_t> data, size_t at) {
    while (at + 1 < data.size()) {
        if (data[at] != kMarkerPrefix) {
            ++at;
            continue;
        }
        const uint8_t next = data[at + 1];
        if (next == 0x00 || IsRestart(next)) {
            at += 2;  // a stuffed 0xFF byte, or a restart marker inside the scan
        } else if (next == kMarkerPrefix) {
            ++at;  // fill byte before a marker
        } else {
            return at;
        }
    }
    return data.size();
}

}  // namespace

bool JpegComplete(std::span<const uint8_t> data) {
    if (data.size() < 4 || data[0] != kMarkerPrefix || data[1] != kStartOfImage) return false;
    size_t at = 2;
    while (at < data.size()) {
        if (data[at] != kMarkerPrefix) return false;  // stray bytes where a marker belongs
        while (at < data.size() && data[at] == kMarkerPrefix) ++at;
        if (at >= data.size()) return false;
        const uint8_t code = data[at++];
        if (code == kEndOfImage) return true;
        if (code == kStartOfImage || code == 0x00) return false;
        if (IsRestart(code) || code == kTemporary) continue;
        if (data.size() - at < 2) return false;
        const size_t length = size_t(data[at]) << 8 | data[at + 1];
        if (length < 2 || length > data.size() - at) return false;
        at += length;
        if (code == kStartOfScan) at = EndOfEntropyData(data, at);
    }
    return false;
}

}  // namespace gfx
