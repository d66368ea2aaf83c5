#pragma once

#include <string>
#include <vector>

#include "lesson/LessonTypes.h"

// The pictures drawn over the lesson board and where they go.
namespace lesson {

// A picture from the common texture group, drawn at pixel (x, y).
struct LessonSprite {
    std::string texture;
    int x = 0;
    int y = 0;
    friend bool operator==(const LessonSprite&, const LessonSprite&) = default;
};

// Most pictures the list holds; pictures beyond it are left out.
inline constexpr size_t kMaxSprites = 200;

struct PixelPoint {
    int x = 0;
    int y = 0;
};

// Pixel position of board point (x, y) for the board size (6, 9, 13; anything else as 19).
PixelPoint PointPosition(int boardSize, int x, int y);

// The board picture for the board size.
std::string BoardPictureName(int boardSize);

// Everything that decides the picture list.
struct SpriteScene {
    const LessonBoard* board = nullptr;
    int boardSize = 0;
    // 1: points of blink class 0x4000 / 0x8000 hide their blinking pictures.
    int blinkPhase = 0;
    LessonId lesson;
    int page = 0;
};

// Builds the list in drawing order: stone layers, arrow layers, numbers (each row by row),
// then the page's extra picture. At most kMaxSprites entries.
std::vector<LessonSprite> BuildSprites(const SpriteScene& scene);

}  // namespace lesson
