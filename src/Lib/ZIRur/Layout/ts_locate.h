#pragma once

#include <string>

#include "Lib/ZIRur/Util/Geometry.h"

class CTSEventWnd;
class CTSLayout;
namespace LYRALib::lytmgr {
class Pane;
}

// Where panes are on screen as last drawn, for callers that drive the program by pane name
// (scripted input, screenshots of single buttons) rather than by pixels.

// True when the pane and every ancestor are visible.
bool IsPaneShown(const LYRALib::lytmgr::Pane& pane);

// The pane's on-screen rectangle (logical pixels, right and bottom exclusive) from the scale,
// translation and anchor of the last layout update, so animated and scaled panes are found
// where they are drawn.
TSRect ScreenRectOf(const LYRALib::lytmgr::Pane& pane);

// What a pane looks like on screen: rectangle, the image its picture shows ("" for none) and
// the alpha it is drawn with (its global alpha after the last layout update).
struct PaneLook {
    TSRect rect{};
    std::string image;
    int alpha = 0;
};

enum class PaneState { Missing, Hidden, Shown };

// Searches the registered layouts loaded by `owner`, the latest first (a pane of a layout
// loaded later is drawn on top), for a pane called `name`. A shown one wins and fills `look`;
// Hidden means only hidden ones (themselves or an ancestor) exist.
PaneState LocatePane(const CTSEventWnd* owner, const char* name, PaneLook& look);

// LocatePane for a shown pane only: fills `rect` (and, when given, `image`) and returns true
// when one is found.
bool LocateShownPane(const CTSEventWnd* owner, const char* name, TSRect& rect,
                     std::string* image = nullptr);
