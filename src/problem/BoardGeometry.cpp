#include "problem/BoardGeometry.h"

namespace boardgeometry {
namespace {

constexpr Geometry kGeometries[] = {
    {6, 47, 69, 677, 699, 105, 99, 121},
    {9, 46, 68, 676, 698, 70, 81, 103},
    {13, 49, 71, 673, 695, 48, 73, 95},
    {19, 57, 79, 665, 687, 32, 73, 95},
};

}  // namespace

const Geometry* For(int size) {
    for (const Geometry& g : kGeometries) {
        if (g.size == size) return &g;
    }
    return nullptr;
}

Hit PointAt(int size, int x, int y, int& col, int& row) {
    const Geometry* g = For(size);
    if (g == nullptr) return Hit::NoPoint;
    if (x < g->left || x >= g->right || y < g->top || y >= g->bottom) return Hit::Off;
    col = (x - g->left) / g->pitch;
    row = (y - g->top) / g->pitch;
    return Hit::Point;
}

void CenterOf(int size, int col, int row, int& x, int& y) {
    const Geometry* g = For(size);
    x = g != nullptr ? col * g->pitch + g->originX : 0;
    y = g != nullptr ? row * g->pitch + g->originY : 0;
}

}  // namespace boardgeometry
