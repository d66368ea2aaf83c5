#pragma once

// Points and rectangles of the 1024 x 768 logical screen, shared by the windows and the layout
// binding without either depending on the other.
struct TSPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TSPoint&) const = default;
};

// Half-open: right and bottom lie outside.
struct TSRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const TSRect&) const = default;
};
