#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace LYRALib::lytmgr {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Size {
    float width = 0.0f;
    float height = 0.0f;
};

struct Rect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// Four-character tag as the 32-bit value whose big-endian bytes spell it.
constexpr uint32_t MakeTag(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
           uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

inline constexpr int kPaneNameLen = 16;
inline constexpr int kUserStrLen = 8;
inline constexpr int kMaterialNameLen = 20;
inline constexpr int kGroupNameLen = 16;

namespace detail {

// float -> int truncating toward zero, saturating at the int range; NaN gives 0. Values
// from files may be anything, and a plain cast of an out-of-range float is undefined.
inline int SaturateToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483520.0f) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// Floor as an int, with the same saturation as SaturateToInt.
inline int FloorToInt(float v) {
    return SaturateToInt(std::isnan(v) ? v : std::floor(v));
}

// Clamps an int into [lo, hi].
inline int ClampInt(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace detail
}  // namespace LYRALib::lytmgr
