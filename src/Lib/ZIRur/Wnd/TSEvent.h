#pragma once

#include <cstdint>

#include "Lib/ZIRur/Util/Geometry.h"

// A queued screen event. Pointer events pack x into bits 0-15 and y into bits 16-31 of p1,
// each as a signed 16-bit value (a held button reports positions left of or above the window).
struct TSEvent {
    uint32_t code = 0;
    uint32_t p1 = 0;
    uint32_t p2 = 0;
    uint8_t priority = 2;
};

// Event codes understood by the window's dispatcher.
enum TSEventCode : uint32_t {
    kEvCreate = 1,
    kEvLoad = 3,
    kEvInit = 6,
    kEvStart = 8,
    kEvClose = 9,
    kEvRefresh = 10,
    kEvTimer = 11,
    kEvButton = 12,
    kEvPointerDown = 13,
    kEvPointerUp = 14,
    kEvPointerHold = 15,
    kEvPointerMove = 16,
    kEvKeyDown = 17,
    kEvPadRelease = 18,
    kEvPadHold = 19,
    kEvEnd = 20,
    kEvActivate = 21,
    kEvDeactivate = 22,
    kEvButtonNotify = 23,
    kEvQuit = 24,
    kEvWheel = 25,
    kEvButtonHold = 26,
    kEvSecondaryDown = 27,
};

inline uint32_t PackPoint(TSPoint p) {
    return uint32_t(p.x & 0xFFFF) | uint32_t(p.y & 0xFFFF) << 16;
}
inline TSPoint UnpackPoint(uint32_t p1) {
    return {int(int16_t(uint16_t(p1 & 0xFFFF))), int(int16_t(uint16_t(p1 >> 16)))};
}
