#include "screens/ExplainMotion.h"

namespace explain {

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

}  // namespace explain
