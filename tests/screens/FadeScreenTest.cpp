// The fade every screen opens and leaves with, and the input rule while it leaves.
#include <gtest/gtest.h>

#include <vector>

#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "screens/FadeScreen.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"
#include "support/PlatformFixture.h"

namespace {

TEST(ScreenFade, OpensFadingInWholeOnTheFirstTickOrAtOnce) {
    ScreenFade fade;
    fade.Open(ScreenFade::Opening::FirstTick);
    EXPECT_EQ(fade.Alpha(), 0);
    EXPECT_FALSE(fade.IsSettled());
    const ScreenFade::Tick first = fade.Advance();
    EXPECT_TRUE(first.applyAlpha);
    EXPECT_EQ(first.alpha, 255);
    EXPECT_TRUE(fade.IsSettled());
    EXPECT_FALSE(fade.Advance().applyAlpha);

    fade.Open(ScreenFade::Opening::AtOnce);
    EXPECT_EQ(fade.Alpha(), 255);
    EXPECT_TRUE(fade.IsSettled());
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
    // Opening alpha, twenty fading ticks from 0 up to 242, then whole.
    ASSERT_EQ(screen.alphasIn.size(), 22u);
    EXPECT_EQ(screen.alphasIn[0], 0);
    EXPECT_EQ(screen.alphasIn[2], 12);
    EXPECT_EQ(screen.alphasIn[20], 242);
    EXPECT_EQ(screen.alphasIn[21], 255);
    // Twenty fading ticks down to 12; the screen ends on the tick after.
    ASSERT_EQ(screen.alphasOut.size(), 20u);
    EXPECT_EQ(screen.alphasOut.front(), 255);
    EXPECT_EQ(screen.alphasOut.back(), 12);
    EXPECT_EQ(screen.ticksLeaving, 21);
    EXPECT_FALSE(screen.IsTicking());
}

}  // namespace
