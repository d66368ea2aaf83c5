#pragma once

#include <cstdint>

namespace LYRALib::lytmgr {

// What a visible pane hands to its draw object each frame. Positions are layout coordinates
// (origin at the screen centre, y up), already floored to integers.
struct DrawRequest {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Low nibble 1 left / 2 centre / 3 right; high nibble 0x10 top / 0x20 middle / 0x30 bottom.
    int anchor = 0x22;
    // False when the pane leaves the object's colour as it is (a text box without material).
    bool hasColor = false;
    // Colour channels may leave 0..255 (a text box's formula can reach 509).
    int16_t red = 255;
    int16_t green = 255;
    int16_t blue = 255;
    uint8_t alpha = 255;
};

// The renderer-side object that draws a pane; attached by the screen framework, never owned
// by the pane.
class Drawable {
public:
    virtual ~Drawable() = default;
    // Draws with the pane's rectangle, anchor, colour and alpha.
    virtual void Draw(const DrawRequest& request) = 0;
    // New image data for the object (texture pattern animation); objects without an image
    // ignore it.
    virtual void LoadImageData(const void* data, uint32_t size) {
        (void)data;
        (void)size;
    }
};

}  // namespace LYRALib::lytmgr
