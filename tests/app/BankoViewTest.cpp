#include <gtest/gtest.h>

#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "app/BankoView.h"
#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"

namespace {

TEST(BankoViewScale, ScalesClientPixelsToTheVirtualScreen) {
    int vx = -1, vy = -1;
    ASSERT_TRUE(CBankoView::Scale(511, 383, 1024, 768, vx, vy));
    EXPECT_EQ((TSPoint{vx, vy}), (TSPoint{511, 383}));
    ASSERT_TRUE(CBankoView::Scale(511, 383, 800, 600, vx, vy));
    EXPECT_EQ((TSPoint{vx, vy}), (TSPoint{654, 490}));
    EXPECT_FALSE(CBankoView::Scale(5, 5, 0, 768, vx, vy)) << "a minimised window drops input";
}

class BankoViewTest : public HeadlessTest {
protected:
    BankoViewTest() : view(manager) { SetScreen(&screen); }
    ~BankoViewTest() override { SetScreen(nullptr); }
    void SetScreen(CTSEventWnd* wnd) {
        std::lock_guard lock(manager.QueueLock());
        manager.SetCurrentWindow(wnd);
    }

    // Fires the view's hold timer at each due tick up to `until`; returns the times at
    // which a hold report reached the screen.
    std::vector<uint64_t> HoldsUntil(uint64_t until) {
        std::vector<uint64_t> holds;
        int id;
        uint64_t at;
        while (m_platform.NextWindowTimer(until, id, at)) {
            m_platform.SetNow(at);
            m_platform.WindowTimerFired(id, at);
            screen.Device(0).m_pointerState = kPtrIdle;
            view.OnWindowTimer(id);
            if (screen.Device(0).m_pointerState == kPtrLongPress) holds.push_back(at);
        }
        return holds;
    }

    CTSWndMgr manager;
    ProbeWnd screen;
    CBankoView view;
};

TEST_F(BankoViewTest, PressReachesDeviceZeroAndHoldRepeatsFromHalfASecondUntilRelease) {
    view.OnLeftDown(511, 383, false);
    EXPECT_EQ(screen.Device(0).m_pointerState, kPtrPress);
    EXPECT_EQ(screen.Device(0).m_pos, (TSPoint{511, 383}));
    EXPECT_TRUE(view.m_held);
    EXPECT_EQ(HoldsUntil(1000), (std::vector<uint64_t>{600, 800, 1000}));
    view.OnLeftUp(300, 200);
    EXPECT_EQ(screen.Device(0).m_pointerState, kPtrRelease);
    EXPECT_EQ(HoldsUntil(2000), std::vector<uint64_t>{}) << "the release stops the timer";
}

TEST_F(BankoViewTest, NoCurrentScreenMeansNoDelivery) {
    SetScreen(nullptr);
    view.OnMouseMove(10, 10);
    view.OnKey(true, 13);
    EXPECT_EQ(screen.Device(0).m_pointerState, kPtrIdle);
    EXPECT_EQ(screen.Device(0).m_keyState, kKeyNone);
}

}  // namespace
