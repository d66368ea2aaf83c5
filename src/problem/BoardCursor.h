#pragma once

// The highlight cursor a drag moves over the problem board: one point per step, a step each
// time the pointer has travelled more than the threshold from the last anchor in an axis.
class BoardCursor {
public:
    // Starts a drag at screen (x, y) on a board of `size`; the cursor goes to the point under
    // the pointer. False (no drag) when the press is not on a point of the board.
    bool Begin(int size, int x, int y);
    // The pointer moved to (x, y) during the drag: steps the cursor, clamped to the board.
    // True when the cursor moved.
    bool Move(int x, int y);
    // Ends the drag; the cursor stays where it is.
    void End() { m_dragging = false; }
    // Removes the cursor (and ends any drag).
    void Clear();

    bool Shown() const { return m_shown; }
    bool Dragging() const { return m_dragging; }
    int Column() const { return m_col; }
    int Row() const { return m_row; }
    // Pixels the pointer must travel for one step: 32 on the corner board, 23 otherwise.
    static int Threshold(int size) { return size == 13 ? 32 : 23; }

private:
    int m_size = 0;
    int m_col = 0;
    int m_row = 0;
    int m_anchorX = 0;
    int m_anchorY = 0;
    bool m_shown = false;
    bool m_dragging = false;
};
