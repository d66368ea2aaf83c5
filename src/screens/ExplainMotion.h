#pragma once

#include <cstdint>

// The lesson screen's tick-counted motions, free of panes so they can be checked alone: the
// text window sliding in and out and the character's talking mouth.
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

}  // namespace explain
