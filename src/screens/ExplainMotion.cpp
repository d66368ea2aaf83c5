#include "screens/ExplainMotion.h"

namespace explain {

namespace {
uint8_t ToAlpha(float fraction) {
    if (fraction <= 0.0f) return 0;
    if (fraction >= 1.0f) return 255;
    return uint8_t(fraction * 255.0f);
}
}  // namespace

SlideTick Slide::Advance() {
    SlideTick tick;
    if (m_counter < 0) return tick;
    ++m_counter;
    if (m_counter % kSlideStepTicks == 0 && m_counter / kSlideStepTicks <= kSlideSteps) {
        // Whole fifths of full alpha, so the window ends exactly opaque or clear.
        const int steps = m_counter / kSlideStepTicks;
        tick.moved = true;
        tick.dy = m_up ? -kSlideStepPixels : kSlideStepPixels;
        tick.alpha = uint8_t((m_up ? steps : kSlideSteps - steps) * 255 / kSlideSteps);
    }
    if (m_counter >= kSlideEndTicks) {
        m_counter = -1;
        tick.finished = true;
    }
    return tick;
}

Mouth Talking::Advance() {
    if (m_counter < 0) return Mouth::Unchanged;
    Mouth mouth = Mouth::Unchanged;
    if (m_counter % kHalfPeriod == 0)
        mouth = (m_counter / kHalfPeriod) % 2 == 0 ? Mouth::Open : Mouth::Closed;
    ++m_counter;
    if (m_counter > kWrapAbove) m_counter = 0;
    return mouth;
}

PhaseTick ScreenPhase::Advance() {
    PhaseTick tick;
    if (m_counter < 0) {
        const int step = m_phase == Phase::Opening ? m_counter + kFadeTicks : -m_counter;
        tick.applyAlpha = true;
        tick.alpha = ToAlpha(float(step) / float(kFadeTicks));
    } else if (m_counter == 0) {
        switch (m_phase) {
            case Phase::Opening:
                tick.applyAlpha = true;
                tick.alpha = 255;
                break;
            case Phase::Restarting:
                tick.restartMusic = true;
                break;
            case Phase::Closing:
                tick.leave = true;
                break;
            case Phase::Normal:
                break;
        }
        m_phase = Phase::Normal;
    }
    ++m_counter;
    if (m_counter > kWrapAbove) m_counter = 1;
    return tick;
}

}  // namespace explain
