#pragma once

#include <cstdint>

#include "Lib/lyt/lytAlloc.h"
#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr {

// Settings and running state of one UpdateGlobals/Draw pass.
class DrawInfo : public detail::LytObject {
public:
    enum Flag : uint8_t {
        kFlagMultiplyAlpha = 1 << 1,       // an ancestor's alpha is in force
        kFlagLocationAdjust = 1 << 2,      // panes with scale adjust use the adjust scale
        kFlagInvisibleNeedsCalc = 1 << 3,  // compute invisible subtrees too
    };

    DrawInfo() = default;
    virtual ~DrawInfo() = default;

    bool IsMultiplyAlpha() const { return (mFlag & kFlagMultiplyAlpha) != 0; }
    bool IsLocationAdjust() const { return (mFlag & kFlagLocationAdjust) != 0; }
    bool IsInvisibleNeedsCalc() const { return (mFlag & kFlagInvisibleNeedsCalc) != 0; }
    void SetFlag(uint8_t bit, bool on) {
        mFlag = on ? uint8_t(mFlag | bit) : uint8_t(mFlag & ~bit);
    }

    // Carried for the caller; the 2D transform does not use them.
    float mViewMtx[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    Rect mViewRect;
    // Extra scale for panes with the scale-adjust flag (when kFlagLocationAdjust is set).
    Vec2 mLocationAdjustScale{1.0f, 1.0f};
    // Product of the influencing ancestors' alphas, 0..1.
    float mGlobalAlpha = 1.0f;
    uint8_t mFlag = 0;
};

}  // namespace LYRALib::lytmgr
