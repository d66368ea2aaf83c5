#include "screens/ListGrid.h"

#include <algorithm>
#include <cmath>

namespace listgrid {

int RowCount(int problems) {
    return problems > 0 ? (problems + kColumns - 1) / kColumns : 0;
}

int MaxFirstRow(int rows) {
    return std::max(rows - kVisibleRows, 0);
}

bool Scrolls(int rows) {
    return rows > kVisibleRows;
}

int RestoreFirstRow(int saved, int rows) {
    // A negative word can only come from a damaged save file; treat it like one too large.
    return saved < 0 || saved > MaxFirstRow(rows) ? 0 : saved;
}

int CellNumber(int firstRow, int cell) {
    return firstRow * kColumns + cell + 1;
}

DigitPlaces DigitsOf(int number, int cell) {
    DigitPlaces places;
    const int base = (cell % kColumns) * kColumnPitch;
    places.y = (cell / kColumns) * kRowPitch + kGridTop + 23.5;
    if (number < 0) return places;
    if (number < 10) {
        places.count = 1;
        places.digit = {number, 0, 0};
        places.x = {base + 102, 0, 0};
    } else if (number < 100) {
        places.count = 2;
        places.digit = {number / 10, number % 10, 0};
        places.x = {base + 90, base + 113, 0};
    } else {
        // The grid never shows more than three digits; larger numbers keep their last three.
        places.count = 3;
        places.digit = {number / 100 % 10, number / 10 % 10, number % 10};
        places.x = {base + 82, base + 102, base + 122};
    }
    return places;
}

double ThumbY(int firstRow, int rows) {
    if (!Scrolls(rows)) return kThumbRestY;
    return kThumbTop + double(firstRow * kTrackLength / MaxFirstRow(rows));
}

int FirstRowForThumb(double thumbY, int rows) {
    if (!Scrolls(rows)) return 0;
    const double step = double(kTrackLength) / MaxFirstRow(rows);
    const int row = int((thumbY - kThumbTop + step / 2) / step);
    return std::clamp(row, 0, MaxFirstRow(rows));
}

bool PressGrabsThumb(double x, double y, double thumbY, int rows) {
    return Scrolls(rows) && std::abs(x - kThumbX) < 23.0 && std::abs(y - thumbY) < 23.0;
}

bool NearThumb(double x, double y, double thumbY) {
    return std::abs(x - kThumbX) <= 23.5 && std::abs(y - thumbY) <= 23.5;
}

bool InTrack(double x, double y) {
    return x > 932 && x < 979 && y > 207 && y < 591;
}

bool LeavesTrackSideways(double x) {
    return x <= 932 || x >= 979;
}

int NumberAt(double x, double y, int firstRow, int problems) {
    if (x < kGridLeft || x >= kGridRight || y < kGridTop || y > kGridBottom) return 0;
    const int column = int(x - kGridLeft) / kColumnPitch;
    const int offset = int(y - kGridTop);
    if (offset % kRowPitch >= kCellHeight) return 0;
    const int row = offset / kRowPitch;
    const int number = (firstRow + row) * kColumns + column + 1;
    return number >= 1 && number <= problems ? number : 0;
}

int FlickedFirstRow(int firstRow, int rows, double pressY, double releaseY) {
    const double dy = releaseY - pressY;
    if (dy > 50) return std::max(firstRow - kVisibleRows, 0);
    if (dy < -50) return std::min(firstRow + kVisibleRows, MaxFirstRow(rows));
    return firstRow;
}

DragStep DragThumb(double thumbY, double dy) {
    const double y = thumbY + dy;
    if (y < kThumbTop) return {kThumbTop, true};
    if (y > kThumbBottom) return {kThumbBottom, true};
    return {y, false};
}

}  // namespace listgrid
