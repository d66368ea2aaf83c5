#pragma once

// The geometry of the main menu's scrolling list: five rows of the course's 31 sections, a
// thumb on a track at x 956 from y 230 to 567, and paging by a flick over the list.
namespace menuscroll {

inline constexpr int kItems = 31;
inline constexpr int kRows = 5;
inline constexpr int kMaxTop = kItems - kRows;
inline constexpr int kThumbX = 956;
inline constexpr int kThumbTop = 230;
inline constexpr int kThumbBottom = 567;
// Track length in pixels.
inline constexpr int kTrack = kThumbBottom - kThumbTop;

// A saved list position brought into 0..kMaxTop.
int ClampTop(int top);
// The thumb's y for a top item (integer division, as the track is drawn).
int ThumbY(int top);
// The top item nearest to a thumb dragged to `y`, within 0..kMaxTop.
int TopForThumbY(double y);
// A press grabs the thumb centred at (kThumbX, thumbY) when less than 23 pixels from its
// centre on both axes.
bool PressGrabsThumb(double x, double y, int thumbY);
// A release is on the thumb within 23.5 pixels of its centre on both axes, bounds included.
bool ReleaseOnThumb(double x, double y, int thumbY);
// Whether a point lies in the open rectangle of the scroll column.
bool InScrollColumn(double x, double y);
// The top item after a vertical flick of `dy` pixels (release y − press y) over the list:
// down by more than 49.5 pages back by five rows, up by more than 49.5 forward, both
// stopping at the ends.
int PageTop(int top, int dy);

// What a left-button release does to the list.
enum class Release {
    Nothing,
    // Dragging ends; the thumb's position becomes the top item.
    EndDrag,
    // The vertical movement since the press pages the list (PageTop).
    Page,
};
// Any release ends a drag. Otherwise the list pages only on a release on the thumb (as
// ReleaseOnThumb) whose press reached the screen (`pressSeen`: not taken by a button) at
// (pressX, pressY) outside the scroll column.
Release ReleaseEffect(bool dragging, bool pressSeen, double pressX, double pressY, double x,
                      double y, int thumbY);

}  // namespace menuscroll
