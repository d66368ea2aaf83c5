#pragma once

#include <array>
#include <cstdint>

namespace lesson {

// Playback's three timers, counted in the screen's update ticks: 0 plays steps, 1 types
// text, 2 blinks.
class LessonTickTimers {
public:
    static constexpr int kCount = 3;

    // Arms timer k: it fires on the next served tick and then every `period` ticks.
    void Set(int k, int32_t period) { m_timers[size_t(k)] = Timer{period < 1 ? 1 : period, 0}; }
    // Disarms timer k.
    void Stop(int k) { m_timers[size_t(k)].counter = -1; }
    void StopAll() {
        for (int k = 0; k < kCount; ++k) Stop(k);
    }
    bool Running(int k) const { return m_timers[size_t(k)].counter >= 0; }
    int32_t Period(int k) const { return m_timers[size_t(k)].period; }

    // Serves one tick: timers 0, 1, 2 in turn fire when their counter is 0 (a firing may
    // re-arm or stop any timer, served ones included), then count on modulo their period.
    template <typename Fire>
    void Serve(Fire fire) {
        for (int k = 0; k < kCount; ++k) {
            if (m_timers[size_t(k)].counter == 0) fire(k);
            Timer& t = m_timers[size_t(k)];
            if (t.counter >= 0) t.counter = (t.counter + 1) % t.period;
        }
    }

private:
    struct Timer {
        int32_t period = 1;
        int32_t counter = -1;
    };
    std::array<Timer, kCount> m_timers{};
};

}  // namespace lesson
