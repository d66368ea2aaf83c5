#pragma once

#include <cstdint>

// Base of every drawable object (pictures, texts). Positions are logical pixels.
class CGObj {
public:
    CGObj() = default;
    virtual ~CGObj() = default;

    virtual void Draw() {}
    // Stores x and y; width and height unless they are -1; then the alignment.
    virtual void SetBox(int x, int y, int width, int height, int align);
    // The same from layout coordinates (centred, y up).
    virtual void SetRectLayout(int x, int y, int width, int height, int align);
    virtual void SetAlign(int align) { m_align = align; }
    virtual void SetScale(float sx, float sy) { m_scaleX = sx, m_scaleY = sy; }
    virtual void SetColor(int red, int green, int blue);
    virtual void SetAlpha(int alpha) { m_alpha = int16_t(alpha); }
    // Writes position, size, scale and alpha to the debug log.
    virtual void PrintProp();

    // ARGB with each component outside 0..255 taken as 255.
    uint32_t ColorARGB() const;

    int m_x = 0;
    int m_y = 0;
    // Low nibble 1 left / 2 centre / 3 right; high nibble 0x10 top / 0x20 middle / 0x30 bottom.
    int m_align = 0x22;
    int m_width = 0;
    int m_height = 0;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    int16_t m_red = 255;
    int16_t m_green = 255;
    int16_t m_blue = 255;
    int16_t m_alpha = 255;
};
