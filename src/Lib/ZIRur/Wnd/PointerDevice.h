#pragma once

#include <cstdint>

#include "Lib/ZIRur/Wnd/TSEvent.h"

// Pointer states written by the platform layer and consumed by the window.
enum PointerState : int32_t {
    kPtrIdle = -1,
    kPtrPress = 0,
    kPtrSecondary = 1,
    kPtrHeld = 3,
    kPtrLongPress = 4,
    kPtrRelease = 5,
    kPtrMove = 6,
    kPtrWheel = 7,
};

// Key states: -1 none, 0 key went down, 1 key went up.
enum KeyState : int32_t { kKeyNone = -1, kKeyDown = 0, kKeyUp = 1 };

// One input device of a window. Written under the window manager's queue lock.
struct PointerDevice {
    int32_t m_index = 0;
    // Cursor position (65535 = none); no cursor is ever bound in this program.
    uint16_t m_cursorX = 65535;
    uint16_t m_cursorY = 65535;
    int32_t m_cursorIndex = -1;
    int32_t m_pointerState = kPtrIdle;
    TSPoint m_pos;
    int16_t m_wheelDelta = 0;
    int32_t m_keyState = kKeyNone;
    int32_t m_keyCode = 0;
    // Auto-repeat record of pad buttons (never fed: the platform reports no pad).
    uint32_t m_padMask = 0;
    uint32_t m_repeatDelay = 600;
    uint32_t m_repeatPhase = 0;
    uint32_t m_repeatLast = 0;
    uint32_t m_edgeKind = 0;

    void WritePointer(int32_t state, TSPoint pos) {
        m_keyState = kKeyNone;
        m_pointerState = state;
        m_pos = pos;
    }
    void WriteKey(int32_t state, int32_t code) {
        m_pointerState = kPtrIdle;
        m_keyState = state;
        m_keyCode = code;
    }
};
