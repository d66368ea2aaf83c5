#pragma once

// Where the board's points lie on the 1024 x 768 screen, per board size.
namespace boardgeometry {

struct Geometry {
    // Edge length this geometry is for.
    int size;
    // Hit area: left <= x < right, top <= y < bottom.
    int left, top, right, bottom;
    // Distance between neighbouring points.
    int pitch;
    // Pixel centre of point (0, 0).
    int originX, originY;
};

// The geometry of sizes 6, 9, 13 and 19; null for any other size.
const Geometry* For(int size);

// What a click at (x, y) means on a board of `size`.
enum class Hit {
    Off,      // outside the hit area
    Point,    // on the board, at (col, row)
    NoPoint,  // a size without geometry: on the board but no point selected
};
Hit PointAt(int size, int x, int y, int& col, int& row);

// Pixel centre of (col, row); (0, 0) for a size without geometry.
void CenterOf(int size, int col, int row, int& x, int& y);

}  // namespace boardgeometry
