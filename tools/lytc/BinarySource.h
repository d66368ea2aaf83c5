#pragma once

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "common/JsonSource.h"

#include "Lib/ZIRur/Util/ByteReader.h"
#include "common/ToolError.h"

namespace lytc {

// Bounds-checked reads of a compiled file for the decompilers: every read outside the file,
// and every value the source cannot hold, stops with the byte offset in the message.
class BinarySource {
public:
    using Json = nlohmann::ordered_json;

    BinarySource(std::span<const uint8_t> bytes, std::string file)
        : mBytes(bytes), mFile(std::move(file)) {}

protected:
    [[noreturn]] void Fail(size_t at, const std::string& message) const {
        char where[32];
        std::snprintf(where, sizeof where, "at byte %zu: ", at);
        throw tools::ToolError(mFile, 0, where + message);
    }
    bytes::Reader At(size_t at, size_t n) const {
        bytes::Reader r(mBytes);
        if (!r.Seek(at) || !r.has(n)) Fail(at, "data runs outside the file");
        return r;
    }
    uint8_t U8(size_t at) const {
        uint8_t v = 0;
        At(at, 1).U8(v);
        return v;
    }
    uint16_t U16(size_t at) const {
        uint16_t v = 0;
        At(at, 2).U16BE(v);
        return v;
    }
    uint32_t U32(size_t at) const {
        uint32_t v = 0;
        At(at, 4).U32BE(v);
        return v;
    }
    Json F32(size_t at) const {
        const float f = std::bit_cast<float>(U32(at));
        if (!std::isfinite(f)) Fail(at, "a number is not finite");
        return Number(f);
    }
    std::string Tag(size_t at) const { return Fixed(at, 4, false); }
    std::string Fixed(size_t at, size_t width, bool stopAtNul = true) const {
        auto r = At(at, width);
        std::string s;
        for (uint8_t c : r.Bytes(width)) {
            if (c == 0 && stopAtNul) break;
            s.push_back(char(c));
        }
        return s;
    }
    std::string CStr(size_t at) const {
        std::string s;
        for (size_t i = at;; ++i) {
            const uint8_t c = U8(i);
            if (c == 0) return s;
            s.push_back(char(c));
        }
    }
    // Whole floats print as integers; others as the shortest text that reads back the same.
    static Json Number(float f) {
        if (f == std::trunc(f) && std::fabs(f) < 1e9f && !(f == 0 && std::signbit(f)))
            return int64_t(f);
        char text[32];
        const auto r = std::to_chars(text, text + sizeof text, f);
        return std::strtod(std::string(text, r.ptr).c_str(), nullptr);
    }

    std::span<const uint8_t> mBytes;
    std::string mFile;
};

}  // namespace lytc
