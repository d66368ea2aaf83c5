#pragma once

#include "Lib/lyt/pane.h"

namespace LYRALib::lytmgr {

// A pane that only marks an area (hit tests, layout); it never draws.
class Bounding : public Pane {
public:
    Bounding() = default;
    void DrawOwn(const DrawInfo& info) override { (void)info; }
};

}  // namespace LYRALib::lytmgr
