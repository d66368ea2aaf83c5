#pragma once

#include <cstdint>

// The lesson screen's tick-counted motions, free of panes so they can be checked alone: the
// text window sliding in and out, the character's talking mouth and the screen's fade phases.
namespace explain {

// Pixels the text window travels per slide step, and the steps of one slide.
inline constexpr int kSlideStepPixels = 20;
inline constexpr int kSlideSteps = 5;
// Ticks between two slide steps; a slide is over once its counter reaches kSlideEndTicks.
inline constexpr int kSlideStepTicks = 3;
inline constexpr int kSlideEndTicks = 16;

// What one tick of a slide asks of the window's panes.
struct SlideTick {
    // The panes move by `dy` pixels (negative up) and take `alpha`.
    bool moved = false;
    int dy = 0;
    uint8_t alpha = 0;
    // The slide ended in this tick.
    bool finished = false;
};

// One direction of the text window's slide: -1 idle, else the ticks since it started.
class Slide {
public:
    // `up` slides in (upwards, fading in); otherwise out (downwards, fading out).
    explicit Slide(bool up) : m_up(up) {}

    void Start() { m_counter = 0; }
    void Cancel() { m_counter = -1; }
    bool Running() const { return m_counter >= 0; }
    int Counter() const { return m_counter; }
    // Counts one tick; every third tick is a step of 20 pixels with its alpha.
    SlideTick Advance();

private:
    bool m_up;
    int m_counter = -1;
};

// How the character's talking mouth looks after one tick.
enum class Mouth : uint8_t { Unchanged, Open, Closed };

// The talking animation: -1 idle, else counting ticks; the talking picture shows for 13
// ticks, hides for 13, and so on.
class Talking {
public:
    static constexpr int kHalfPeriod = 13;
    static constexpr int kWrapAbove = 100000;

    void Start() { m_counter = 0; }
    void Stop() { m_counter = -1; }
    bool Running() const { return m_counter >= 0; }
    int Counter() const { return m_counter; }
    // Counts one tick while running and says when the talking picture turns on or off.
    Mouth Advance();

private:
    int m_counter = -1;
};

// The screen's phases: 0 normal, 1 opening, 3 closing towards the main menu, 4 restarting
// (the music starts again).
enum class Phase : int32_t { Normal = 0, Opening = 1, Closing = 3, Restarting = 4 };

// What one tick of the phase logic asks of the screen.
struct PhaseTick {
    // Apply `alpha` to every faded pane.
    bool applyAlpha = false;
    uint8_t alpha = 0;
    // Play the lesson music again (end of a restart).
    bool restartMusic = false;
    // Leave for the main menu (end of closing).
    bool leave = false;
};

// The phase and its signed counter: -20..-1 while fading out, then counting up.
class ScreenPhase {
public:
    static constexpr int kFadeTicks = 20;
    static constexpr int kWrapAbove = 100000;

    // Phase `phase` from counter `counter`.
    void Set(Phase phase, int counter) {
        m_phase = phase;
        m_counter = counter;
    }
    Phase Current() const { return m_phase; }
    int Counter() const { return m_counter; }
    // Normal: playback timers run in this tick.
    bool IsNormal() const { return m_phase == Phase::Normal; }
    bool IsClosing() const { return m_phase == Phase::Closing; }
    // One tick of fading and phase ends; the counter then moves on by one.
    PhaseTick Advance();

private:
    Phase m_phase = Phase::Normal;
    int m_counter = 0;
};

}  // namespace explain
