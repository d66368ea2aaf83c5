#include <gtest/gtest.h>

#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "app/BankoView.h"
#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"

namespace {

TEST(BankoViewScale, ScalesClientPixelsToTheVirtualScreen) {
    // The headless program's clicks go through at 1024 x 768, unscaled.
    int vx = -1, vy = -1;
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

    CTSWndMgr manager;
    ProbeWnd screen;
    CBankoView view;
};

TEST_F(BankoViewTest, NoCurrentScreenMeansNoDelivery) {
    SetScreen(nullptr);
    view.OnMouseMove(10, 10);
    view.OnKey(true, 13);
    EXPECT_EQ(screen.Device(0).m_pointerState, kPtrIdle);
    EXPECT_EQ(screen.Device(0).m_keyState, kKeyNone);
}

}  // namespace
