// The fades of screens and dialogs, and a screen's input rule while it leaves.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "screens/DialogFade.h"
#include "screens/FadeScreen.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"
#include "support/PlatformFixture.h"

namespace {

TEST(ScreenFade, OpensFadingInWholeOnTheFirstTickOrAtOnce) {
    ScreenFade fade;
    fade.Open(ScreenFade::Opening::FirstTick);
    EXPECT_TRUE(fade.Alpha() == 0 && !fade.IsSettled());
    const ScreenFade::Tick first = fade.Advance();
    EXPECT_TRUE(first.applyAlpha && first.alpha == 255 && fade.IsSettled());
    EXPECT_FALSE(fade.Advance().applyAlpha);
    fade.Open(ScreenFade::Opening::AtOnce);
    EXPECT_TRUE(fade.Alpha() == 255 && fade.IsSettled());
    EXPECT_FALSE(fade.Advance().applyAlpha);

    // Settled ticks count up and start again at 1 above the limit.
    for (int i = fade.Counter(); i <= ScreenFade::kWrapAbove; ++i) fade.Advance();
    EXPECT_EQ(fade.Counter(), 1);
}

// A screen without data that leaves for the main menu on any button.
class LeavingScreen : public CFadeScreen {
public:
    LeavingScreen() : CFadeScreen(screen_assets::Title(), ScreenFade::Opening::FadeIn) {}
    void OnButton(uint16_t id) override {
        buttons.push_back(id);
        Leave(kSceneMenu);
    }
    void OnPointerDown(TSPoint, int) override { ++presses; }
    void OnTick() override {
        if (IsLeaving()) ++ticksLeaving;
    }
    void ApplyAlpha(uint8_t alpha) override {
        (IsLeaving() ? alphasOut : alphasIn).push_back(alpha);
    }

    std::vector<uint16_t> buttons;
    std::vector<int> alphasIn, alphasOut;
    int presses = 0;
    int ticksLeaving = 0;
};

class FadeScreenTest : public HeadlessTest {
protected:
    ~FadeScreenTest() override { TSingleton<CTSLytMgr>::DestroyInstance(); }
    CScreenMgr m_manager;
};

TEST_F(FadeScreenTest, FadesInIgnoresInputWhileLeavingAndEndsAfterTheFadeOut) {
    LeavingScreen screen;
    int posted = 0;
    // A press at 300 ms, a button at 400 ms, then both again while the screen fades out.
    m_platform.SetSleepHook([&](uint64_t until) {
        if (posted == 0 && until >= 300) {
            screen.ReportPress(0, 1, TSPoint{10, 10});
            ++posted;
        } else if (posted == 1 && until >= 400) {
            screen.PostEvent(kEvButtonNotify, 7, 0);
            ++posted;
        } else if (posted == 2 && until >= 450) {
            screen.PostEvent(kEvButtonNotify, 8, 0);
            screen.ReportPress(0, 1, TSPoint{10, 10});
            ++posted;
        }
    });
    EXPECT_EQ(m_manager.RunWindow(&screen), uint32_t(kSceneMenu));
    m_platform.SetSleepHook(nullptr);
    EXPECT_EQ(posted, 3);
    EXPECT_EQ(screen.buttons, std::vector<uint16_t>{7});
    EXPECT_EQ(screen.presses, 1);
    // Opening alpha, twenty fading ticks from 0 up to 242, then whole; twenty fading ticks
    // down to 12, and the screen ends on the tick after.
    const auto& in = screen.alphasIn;
    ASSERT_EQ(in.size(), 22u);
    EXPECT_EQ((std::vector{in[0], in[2], in[20], in[21]}), (std::vector{0, 12, 242, 255}));
    ASSERT_EQ(screen.alphasOut.size(), 20u);
    EXPECT_EQ(std::tuple(screen.alphasOut.front(), screen.alphasOut.back(), screen.ticksLeaving),
              std::tuple(255, 12, 21));
    EXPECT_FALSE(screen.IsTicking());
}

TEST(DialogFadeTest, FadeInRisesTo246DimsAt37PercentAndFadeOutFalls) {
    DialogFade fade;
    fade.Begin();
    EXPECT_EQ(std::tuple(fade.Counter(), fade.Alpha()), std::tuple(-30, 0));
    std::vector<int> alphas, dims;
    while (fade.StepIn()) alphas.push_back(fade.Alpha()), dims.push_back(fade.DimAlpha());
    ASSERT_EQ(alphas.size(), 30u);
    EXPECT_EQ(alphas.front(), 0) << "the first tick still shows (0 / 30) x 255";
    EXPECT_EQ(alphas[15], 127);  // 15 / 30 x 255 = 127.5
    EXPECT_EQ(dims[15], 47);     // 127.5 x 0.37 = 47.2
    EXPECT_EQ(alphas.back(), 246) << "(29 / 30) x 255 truncated";
    for (size_t i = 1; i < alphas.size(); ++i) EXPECT_GT(alphas[i], alphas[i - 1]);
    // The tick that finds the counter at 0 changes nothing.
    EXPECT_FALSE(fade.StepIn());
    EXPECT_EQ(std::tuple(fade.Alpha(), fade.DimAlpha(), fade.Counter()), std::tuple(246, 91, 0));
    fade.Begin();
    ASSERT_TRUE(fade.StepOut());
    EXPECT_EQ(std::tuple(fade.Alpha(), fade.DimAlpha()), std::tuple(255, 94));
    int steps = 1;
    while (fade.StepOut()) ++steps;
    EXPECT_EQ(steps, 30);
    EXPECT_EQ(fade.Alpha(), 8);  // (1 - 29 / 30) x 255 = 8.5
}

}  // namespace
