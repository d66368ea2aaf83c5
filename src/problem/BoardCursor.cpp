#include "problem/BoardCursor.h"

#include <algorithm>

#include "problem/BoardGeometry.h"

bool BoardCursor::Begin(int size, int x, int y) {
    int col = 0, row = 0;
    if (boardgeometry::PointAt(size, x, y, col, row) != boardgeometry::Hit::Point) return false;
    m_size = size;
    m_col = col;
    m_row = row;
    m_anchorX = x;
    m_anchorY = y;
    m_shown = true;
    m_dragging = true;
    return true;
}

bool BoardCursor::Move(int x, int y) {
    if (!m_dragging) return false;
    const int threshold = Threshold(m_size);
    const int col = m_col, row = m_row;
    if (x - m_anchorX > threshold || m_anchorX - x > threshold) {
        m_col = std::clamp(m_col + (x > m_anchorX ? 1 : -1), 0, m_size - 1);
        m_anchorX = x;
    }
    if (y - m_anchorY > threshold || m_anchorY - y > threshold) {
        m_row = std::clamp(m_row + (y > m_anchorY ? 1 : -1), 0, m_size - 1);
        m_anchorY = y;
    }
    return col != m_col || row != m_row;
}

void BoardCursor::Clear() {
    m_shown = false;
    m_dragging = false;
}
