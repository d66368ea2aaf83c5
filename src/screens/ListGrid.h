#pragma once

#include <array>

// The geometry of the problem list: a grid of ten cells to a row, five rows shown at a time,
// a scroll thumb on a track at x 955 from y 230.5 to 567.5, selection by the release point
// and paging by a flick onto the thumb. Pure arithmetic, so it is tested without graphics.
namespace listgrid {

inline constexpr int kColumns = 10;
inline constexpr int kVisibleRows = 5;
inline constexpr int kCells = kColumns * kVisibleRows;

// Cell pitch and the first cell's corner; the lower 27 pixels of each row pitch are a gap.
inline constexpr int kGridLeft = 60;
inline constexpr int kGridRight = 920;
inline constexpr int kGridTop = 215;
inline constexpr int kGridBottom = 587;
inline constexpr int kColumnPitch = 86;
inline constexpr int kRowPitch = 80;
inline constexpr int kCellHeight = 53;

// The thumb's column and its track (top and bottom centre positions).
inline constexpr double kThumbX = 955.0;
inline constexpr double kThumbTop = 230.5;
inline constexpr double kThumbBottom = 567.5;
inline constexpr int kTrackLength = 337;
// The thumb's place when the list needs no scrolling.
inline constexpr double kThumbRestY = 230.0;

// Rows needed for `problems` problems (ten to a row); 0 for none.
int RowCount(int problems);
// The largest first row: row count − 5, never below 0.
int MaxFirstRow(int rows);
// Whether the list has more rows than it shows.
bool Scrolls(int rows);
// The first row to open with: the saved one, or 0 when it lies outside 0..MaxFirstRow.
int RestoreFirstRow(int saved, int rows);

// The number cell k (0..49) shows with the list at `firstRow` (1-based).
int CellNumber(int firstRow, int cell);

// Where a number's digits go in cell `cell`: up to three centres, most significant first.
struct DigitPlaces {
    int count = 0;
    std::array<int, 3> digit{};
    std::array<int, 3> x{};
    // Centre line of the digits (the row's top + 23.5).
    double y = 0;
};
DigitPlaces DigitsOf(int number, int cell);

// The thumb's centre y for a first row (the step in whole pixels); kThumbRestY without
// scrolling.
double ThumbY(int firstRow, int rows);
// The first row for a thumb at `thumbY`, rounded to the nearest step, within 0..MaxFirstRow.
int FirstRowForThumb(double thumbY, int rows);

// A press starts a thumb drag: the list scrolls and the press is less than 23 pixels from
// the thumb's centre on both axes.
bool PressGrabsThumb(double x, double y, double thumbY, int rows);
// A point within 23.5 pixels of the thumb's centre on both axes.
bool NearThumb(double x, double y, double thumbY);
// A point inside the open rectangle of the scroll track (932 < x < 979, 207 < y < 591).
bool InTrack(double x, double y);
// A drag ends when the pointer leaves the track sideways.
bool LeavesTrackSideways(double x);

// The number a release at (x, y) selects, or 0 for none: outside the grid, in the gap below
// a row, or beyond the problem count.
int NumberAt(double x, double y, int firstRow, int problems);

// The first row after a flick from `pressY` to `releaseY`: a release more than 50 pixels
// below the press pages back by five rows, more than 50 above pages forward; both stop at
// the ends.
int FlickedFirstRow(int firstRow, int rows, double pressY, double releaseY);

// One step of a thumb drag: the thumb moved by `dy`; `ended` when it hit an end of the track,
// where it stops.
struct DragStep {
    double thumbY;
    bool ended;
};
DragStep DragThumb(double thumbY, double dy);

}  // namespace listgrid
