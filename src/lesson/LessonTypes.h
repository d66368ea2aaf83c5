#pragma once

#include <array>
#include <cstdint>

// The shapes that a lesson's data file is read into and that playback works on.
namespace lesson {

// Limits of the in-memory page. Files that exceed them are cut to them when read.
inline constexpr int kMaxSteps = 150;
inline constexpr int kMaxEntriesPerStep = 200;
// Text buffers, NUL included: a caption keeps at most 99 bytes, a body at most 249.
inline constexpr int kCaptionBufferSize = 100;
inline constexpr int kBodyBufferSize = 250;
// Edge of the stored board; a page uses its top-left boardSize x boardSize corner.
inline constexpr int kBoardEdge = 19;

// One lesson of the curriculum, 0-based.
struct LessonId {
    int course = 0;
    int chapter = 0;
    int section = 0;
    friend bool operator==(const LessonId&, const LessonId&) = default;
};

// One point of the lesson board: stone layer, arrow layer, number and blink class.
using PointCode = uint16_t;

inline constexpr PointCode kStoneMask = 0x000F;
inline constexpr PointCode kArrowMask = 0x00F0;
inline constexpr PointCode kNumberMask = 0x3F00;
inline constexpr PointCode kBlinkMask = 0xC000;
// Blink classes (the top two bits, in place).
inline constexpr PointCode kBlinkStones = 0x4000;
inline constexpr PointCode kBlinkLabels = 0x8000;

// Stone-layer value, 0..15.
constexpr int StoneLayer(PointCode c) {
    return c & kStoneMask;
}
// Arrow-layer value, 0..15.
constexpr int ArrowLayer(PointCode c) {
    return (c & kArrowMask) >> 4;
}
// Number drawn on the point, 0..63 (0 none).
constexpr int NumberField(PointCode c) {
    return (c & kNumberMask) >> 8;
}
// Blink class in place: 0, kBlinkStones, kBlinkLabels or 0xC000.
constexpr PointCode BlinkClass(PointCode c) {
    return PointCode(c & kBlinkMask);
}
// Stone-layer values 1, 2, 7 and 8 are stones (the others are labels).
constexpr bool IsStoneValue(int stoneLayer) {
    return stoneLayer == 1 || stoneLayer == 2 || stoneLayer == 7 || stoneLayer == 8;
}

// What a page does with the text window; the page header's second field.
enum class TextWindowMode : int32_t {
    Hidden = 0,
    Shown = 1,
    SlideIn = 2,
    SlideOut = 3,
};

// The 28-byte page header, seven signed 32-bit fields in file order.
struct LessonPageHeader {
    // 2: the character faces front; anything else: it faces left.
    int32_t characterPose = 0;
    // A TextWindowMode; other values come from bad data and change nothing.
    int32_t windowMode = 0;
    // Board edge: 6, 9, 13 or 19.
    int32_t boardSize = 0;
    // Steps of the page; kept within 0..kMaxSteps once loaded.
    int32_t stepCount = 0;
    // 1: the next page follows by itself when this one has finished.
    int32_t autoAdvance = 0;
    // 1: the page opens on its last step and plays nothing by itself.
    int32_t showFinal = 0;
    // 1: text first, then steps; 0: steps first, then text.
    int32_t textFirst = 0;
};

// One 4-byte step entry: merge `code` into point (x, y as stored).
struct StepEntry {
    uint8_t x = 0;
    uint8_t y = 0;
    uint16_t code = 0;
};

// 19 rows of 19 points, row-major: points[y][x].
struct LessonBoard {
    std::array<std::array<PointCode, kBoardEdge>, kBoardEdge> points{};

    // Sets every point to 0.
    void Clear() { points = {}; }
    PointCode At(int x, int y) const { return points[size_t(y)][size_t(x)]; }
    PointCode& At(int x, int y) { return points[size_t(y)][size_t(x)]; }
    friend bool operator==(const LessonBoard&, const LessonBoard&) = default;
};

// The part of the board that a page of this size may touch: its size within 0..19.
constexpr int UsableEdge(int boardSize) {
    return boardSize < 0 ? 0 : (boardSize > kBoardEdge ? kBoardEdge : boardSize);
}

}  // namespace lesson
