#include <gtest/gtest.h>
#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"

namespace {

using Log = std::vector<std::string>;

class GenerateEventsTest : public HeadlessTest {
protected:
    // Feeds one device report, lets the window turn it into events and dispatch them, and
    // hands back (and forgets) what the window was told.
    template <class Report>
    Log Feed(Report report) {
        report();
        w.Step();
        w.DispatchQueued();
        return std::exchange(w.log, {});
    }

    ProbeWnd w;
    RectButton a{w, 1, {100, 100, 200, 150}};
    RectButton b{w, 2, {300, 100, 400, 150}};
};

TEST_F(GenerateEventsTest, PointerReportsBecomeButtonOrPointerEvents) {
    // A button of id 1 notifies on the release only.
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 1, {150, 120}); }), Log{});
    EXPECT_EQ(w.CapturedButton(), &a);
    EXPECT_EQ(Feed([&] { w.ReportHold(0, {150, 120}); }), Log{"hold 1"});
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 0, {150, 120}); }), Log{"button 1"});
    EXPECT_EQ(w.CapturedButton(), nullptr);
    EXPECT_EQ(Feed([&] { w.ReportHold(0, {150, 120}); }), Log{}) << "hold only while captured";
    // Press-notified ids act on the press, once.
    RectButton arrow(w, 7, {500, 100, 540, 140});
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 1, {510, 110}); }), Log{"button 7"});
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 0, {510, 110}); }), Log{});
    // Moving off releases the capture silently; a release over another button posts nothing.
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    ASSERT_EQ(a.m_state, kBtnPressed);
    Feed([&] { w.ReportMove(0, {350, 120}); });
    EXPECT_TRUE(w.CapturedButton() == nullptr && a.m_state != kBtnPressed);
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 0, {350, 120}); }), Log{});
    // Away from buttons, and from device 1 anywhere, the pointer events are posted.
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 1, {10, 10}); }), Log{"down 10,10 dev 0"});
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 0, {12, 14}); }), Log{"up 12,14 dev 0"});
    EXPECT_EQ(Feed([&] { w.ReportPress(1, 1, {150, 120}); }).at(0), "down 150,120 dev 1");
    EXPECT_EQ(w.CapturedButton(), nullptr);
    EXPECT_EQ(Feed([&] { w.ReportSecondary(0, {5, 6}); }), Log{"second 5,6 dev 0"});
    EXPECT_EQ(Feed([&] { w.ReportWheel(0, -120, {7, 8}); }), Log{"wheel -120 7,8 dev 0"});
    // An inactive window does not poll; the pending state is kept until it is active again.
    w.SetActive(0);
    EXPECT_EQ(Feed([&] { w.ReportPress(0, 1, {10, 10}); }), Log{});
    w.SetActive(1);
    EXPECT_EQ(Feed([] {}), Log{"down 10,10 dev 0"});
}

TEST_F(GenerateEventsTest, EnterPressesTheFocusedButtonOrPostsKeyDown) {
    EXPECT_EQ(Feed([&] { w.ReportKey(0, 1, 13); }), Log{"key 13 dev 0"});
    EXPECT_EQ(Feed([&] { w.ReportKey(0, 0, 13); }), Log{}) << "key-up is consumed and ignored";
    b.m_restoreFocus = 0;
    ASSERT_TRUE(b.SetFocus(true));
    RectButton arrow(w, 8, {500, 100, 540, 140});
    arrow.SetFocus(false);
    EXPECT_EQ(Feed([&] { w.ReportKey(0, 1, 13); }), Log{}) << "a press of id 2 does not notify";
    EXPECT_EQ(b.m_state, kBtnFocused);
}

TEST_F(GenerateEventsTest, DisabledDestroyedAndPendingButtons) {
    a.SetEnabled(false);
    EXPECT_FALSE(a.SetFocus(true) || a.SetPressed(true) || w.HitTest({150, 120}));
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    EXPECT_EQ(w.CapturedButton(), nullptr);
    {
        RectButton temp(w, 9, {600, 600, 700, 700});
        Feed([&] { w.ReportPress(0, 1, {650, 650}); });
        EXPECT_EQ(w.CapturedButton(), &temp);
    }
    EXPECT_EQ(w.CapturedButton(), nullptr);
    EXPECT_EQ(w.Buttons().size(), 2u);
    // A pending press keeps the pressed state until the button is disabled.
    b.m_pendingPress = 1;
    b.m_state = kBtnPressed;
    b.SetState(kBtnNormal);
    EXPECT_EQ(b.m_state, kBtnPressed);
    b.SetState(kBtnDisabled);
    EXPECT_EQ(b.m_pendingPress, 0);
}

TEST_F(GenerateEventsTest, MoveFocusWalksTheRingOfUsableIds) {
    RectButton c(w, 3, {0, 0, 1, 1});
    b.SetEnabled(false);
    // Forward: a, then c (id 2 is disabled), then wrapping to a; backwards to c.
    for (auto [forward, expected] : {std::pair{1, &a}, {1, &c}, {1, &a}, {0, &c}}) {
        EXPECT_EQ(w.MoveFocus(forward, 3, 1), 1);
        EXPECT_EQ(w.FocusedButton(), expected);
    }
    EXPECT_EQ(w.MoveFocus(1, 2, 20), 0) << "no usable id in the ring";
}

TEST_F(GenerateEventsTest, TestAnyInputConsumesStates) {
    // A move is no input; keys count only when asked for; each state is consumed.
    std::vector<int> seen;
    w.ReportMove(0, {1, 1});
    seen.push_back(w.TestAnyInput(1));
    w.ReportKey(0, 1, 13);
    seen.push_back(w.TestAnyInput(0));
    w.ReportKey(0, 1, 13);
    seen.push_back(w.TestAnyInput(1));
    w.ReportPress(0, 1, {1, 1});
    for (int i = 0; i < 2; ++i) seen.push_back(w.TestAnyInput(0));
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 1, 1, 0}));
}

}  // namespace
