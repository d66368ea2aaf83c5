// The lesson screen's rules: its slides, the talking mouth and the typed text.
#include <gtest/gtest.h>

#include <vector>

#include "screens/ExplainMotion.h"
#include "screens/ExplainText.h"

namespace {

using explain::Mouth;
using explain::Slide;
using explain::SlideTick;
using explain::Talking;

struct StepSeen {
    int tick;
    int dy;
    int alpha;
    bool operator==(const StepSeen&) const = default;
};

// Runs a slide until it reports its end (at most 40 ticks) and lists its steps.
std::vector<StepSeen> RunSlide(Slide& slide, int& endTick) {
    std::vector<StepSeen> steps;
    endTick = -1;
    for (int tick = 1; tick <= 40; ++tick) {
        const SlideTick t = slide.Advance();
        if (t.moved) steps.push_back({tick, t.dy, t.alpha});
        if (t.finished) {
            endTick = tick;
            break;
        }
    }
    return steps;
}

TEST(ExplainSlide, SlidesMoveHundredPixelsInFiveStepsWhileFadingAndRestartAtOnce) {
    for (const bool inwards : {true, false}) {
        Slide slide(inwards);
        EXPECT_FALSE(slide.Running());
        slide.Start();
        int end = 0;
        const int dy = inwards ? -20 : 20;
        const auto alpha = [inwards](int step) { return inwards ? 51 * step : 255 - 51 * step; };
        std::vector<StepSeen> expected;  // a step every third tick
        for (int step = 1; step <= 5; ++step) expected.push_back({3 * step, dy, alpha(step)});
        EXPECT_EQ(RunSlide(slide, end), expected) << inwards;
        EXPECT_EQ(end, 16);
        EXPECT_FALSE(slide.Running());
        // An idle slide does nothing at all.
        const SlideTick idle = slide.Advance();
        EXPECT_FALSE(idle.moved || idle.finished);
    }
    // Restarting or cancelling takes effect at once.
    Slide in(true);
    in.Start();
    for (int i = 0; i < 7; ++i) in.Advance();
    in.Start();
    int end = 0;
    EXPECT_EQ(RunSlide(in, end).size(), 5u) << "a restarted slide makes all five steps again";
    in.Start();
    in.Advance();
    in.Cancel();
    EXPECT_FALSE(in.Running());
    EXPECT_FALSE(in.Advance().finished);
}

TEST(ExplainTalking, MouthOpensAndClosesEveryThirteenTicksAndTheCounterWraps) {
    Talking talking;
    EXPECT_EQ(talking.Advance(), Mouth::Unchanged) << "idle talking changes nothing";
    talking.Start();
    std::vector<std::pair<int, Mouth>> changes;
    for (int tick = 0; tick < 40; ++tick) {
        const Mouth m = talking.Advance();
        if (m != Mouth::Unchanged) changes.emplace_back(tick, m);
    }
    EXPECT_EQ(changes,
              (std::vector<std::pair<int, Mouth>>{
                  {0, Mouth::Open}, {13, Mouth::Closed}, {26, Mouth::Open}, {39, Mouth::Closed}}));
    talking.Stop();
    EXPECT_FALSE(talking.Running());
    EXPECT_EQ(talking.Advance(), Mouth::Unchanged);
    // The counter wraps to zero above its limit.
    talking.Start();
    for (int i = 0; i <= Talking::kWrapAbove; ++i) talking.Advance();
    EXPECT_EQ(talking.Counter(), 0);
    EXPECT_EQ(talking.Advance(), Mouth::Open);
}

// "あい" CR LF "う": Shift_JIS 82 A0, 82 A2, 0D 0A, 82 A4.
const std::string kBody = "\x82\xa0\x82\xa2\r\n\x82\xa4";

TEST(ExplainText, TypedCharactersBecomeGlyphsWithoutLineBreaksOrCarriageReturns) {
    EXPECT_EQ(explain::WithoutCarriageReturns("a\r\nb\rc\n"), "a\nbc\n");
    EXPECT_EQ(explain::WithoutCarriageReturns(""), "");
    const std::string lfOnly = "\x82\xa0\x82\xa2\n\x82\xa4";
    struct Case {
        int characters;
        int glyphs;
    };
    // The line break takes one typed character (two bytes) and reveals nothing.
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{4, 3}, Case{9, 3}}) {
        const explain::TypedText typed = explain::TypedBodyText(kBody, c.characters);
        EXPECT_EQ(typed.glyphs, c.glyphs) << c.characters << " characters";
        EXPECT_EQ(typed.text, lfOnly) << "the whole body keeps its lines while typing";
    }
    // Single bytes and a cut lead byte count once.
    EXPECT_EQ(explain::TypedBodyText("abcd", 1).glyphs, 2);
    // A lead byte at the very end has no trail byte: still one glyph, no overrun.
    EXPECT_EQ(explain::TypedBodyText("a\x82", 5).glyphs, 2);
    EXPECT_EQ(explain::TypedBodyText("\r\n\r\n", 2).glyphs, 0);
    EXPECT_EQ(explain::TypedBodyText(kBody, -3).glyphs, 0);
}

}  // namespace
