#include "screens/MenuScroll.h"

#include <algorithm>
#include <cmath>

namespace menuscroll {

int ClampTop(int top) {
    return std::clamp(top, 0, kMaxTop);
}

int ThumbY(int top) {
    return kThumbTop + top * kTrack / kMaxTop;
}

int TopForThumbY(double y) {
    const double step = double(kTrack) / kMaxTop;
    return ClampTop(int((y - (kThumbTop + 0.5) + step / 2) / step));
}

bool PressGrabsThumb(double x, double y, int thumbY) {
    return std::abs(x - kThumbX) < 23.0 && std::abs(y - thumbY) < 23.0;
}

bool ReleaseOnThumb(double x, double y, int thumbY) {
    return std::abs(x - kThumbX) <= 23.5 && std::abs(y - thumbY) <= 23.5;
}

bool InScrollColumn(double x, double y) {
    return x > 932.5 && x < 979.5 && y > 206.5 && y < 590.5;
}

int PageTop(int top, int dy) {
    if (dy > 49.5) return std::max(top - kRows, 0);
    if (dy < -49.5) return std::min(top + kRows, kMaxTop);
    return top;
}

Release ReleaseEffect(bool dragging, bool pressSeen, double pressX, double pressY, double x,
                      double y, int thumbY) {
    // A fast drag can be far from the thumb when the button comes up: it ends all the same.
    if (dragging) return Release::EndDrag;
    if (!pressSeen || InScrollColumn(pressX, pressY) || !ReleaseOnThumb(x, y, thumbY))
        return Release::Nothing;
    return Release::Page;
}

}  // namespace menuscroll
