#include <gtest/gtest.h>

#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"

namespace {

using Log = std::vector<std::string>;

class GenerateEventsTest : public HeadlessTest {
protected:
    // Feeds one device report and lets the window turn it into events and dispatch them.
    template <class Report>
    void Feed(Report report) {
        report();
        w.Step();
        w.DispatchQueued();
    }

    ProbeWnd w;
    RectButton a{w, 1, {100, 100, 200, 150}};
    RectButton b{w, 2, {300, 100, 400, 150}};
};

TEST_F(GenerateEventsTest, PressAndReleaseOnAButtonNotifiesOnReleaseOnly) {
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    EXPECT_EQ(w.CapturedButton(), &a);
    EXPECT_EQ(w.log, Log{}) << "id 1 is not press-notified";
    Feed([&] { w.ReportPress(0, 0, {150, 120}); });
    EXPECT_EQ(w.log, Log{"button 1"});
    EXPECT_EQ(w.CapturedButton(), nullptr);
}

TEST_F(GenerateEventsTest, PressNotifiedIdsActOnThePress) {
    RectButton arrow(w, 7, {500, 100, 540, 140});
    Feed([&] { w.ReportPress(0, 1, {510, 110}); });
    EXPECT_EQ(w.log, Log{"button 7"});
    Feed([&] { w.ReportPress(0, 0, {510, 110}); });
    EXPECT_EQ(w.log, Log{"button 7"}) << "no second notification on release";
}

TEST_F(GenerateEventsTest, MovingOffReleasesTheCaptureSilently) {
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    ASSERT_EQ(a.m_state, kBtnPressed);
    Feed([&] { w.ReportMove(0, {350, 120}); });
    EXPECT_EQ(w.CapturedButton(), nullptr);
    EXPECT_NE(a.m_state, kBtnPressed);
    Feed([&] { w.ReportPress(0, 0, {350, 120}); });
    EXPECT_EQ(w.log, Log{}) << "a release over another button notifies and posts nothing";
}

TEST_F(GenerateEventsTest, ReleaseAwayFromButtonsPostsPointerUp) {
    Feed([&] { w.ReportPress(0, 1, {10, 10}); });
    Feed([&] { w.ReportPress(0, 0, {12, 14}); });
    EXPECT_EQ(w.log, (Log{"down 10,10 dev 0", "up 12,14 dev 0"}));
}

TEST_F(GenerateEventsTest, DeviceOnePressOverAButtonPostsPointerDown) {
    Feed([&] { w.ReportPress(1, 1, {150, 120}); });
    EXPECT_EQ(w.CapturedButton(), nullptr);
    ASSERT_FALSE(w.log.empty());
    EXPECT_EQ(w.log[0], "down 150,120 dev 1");
}

TEST_F(GenerateEventsTest, EnterWithoutFocusPostsKeyDown) {
    Feed([&] { w.ReportKey(0, 1, 13); });
    EXPECT_EQ(w.log, Log{"key 13 dev 0"});
    Feed([&] { w.ReportKey(0, 0, 13); });
    EXPECT_EQ(w.log, Log{"key 13 dev 0"}) << "key-up is consumed and ignored";
}

TEST_F(GenerateEventsTest, EnterWithFocusPressesTheFocusedButton) {
    b.m_restoreFocus = 0;
    ASSERT_TRUE(b.SetFocus(true));
    RectButton arrow(w, 8, {500, 100, 540, 140});
    arrow.SetFocus(false);
    Feed([&] { w.ReportKey(0, 1, 13); });
    EXPECT_EQ(w.log, Log{}) << "a press of id 2 does not notify";
    EXPECT_EQ(b.m_state, kBtnFocused);
}

TEST_F(GenerateEventsTest, HoldOnlyWhileAButtonIsCaptured) {
    Feed([&] { w.ReportHold(0, {150, 120}); });
    EXPECT_EQ(w.log, Log{});
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    Feed([&] { w.ReportHold(0, {150, 120}); });
    EXPECT_EQ(w.log, Log{"hold 1"});
}

TEST_F(GenerateEventsTest, SecondaryAndWheelArePosted) {
    Feed([&] { w.ReportSecondary(0, {5, 6}); });
    Feed([&] { w.ReportWheel(0, -120, {7, 8}); });
    EXPECT_EQ(w.log, (Log{"second 5,6 dev 0", "wheel -120 7,8 dev 0"}));
}

TEST_F(GenerateEventsTest, DisabledButtonsAreNeverHit) {
    a.SetEnabled(false);
    EXPECT_FALSE(a.SetFocus(true));
    EXPECT_FALSE(a.SetPressed(true));
    EXPECT_EQ(w.HitTest({150, 120}), nullptr);
    Feed([&] { w.ReportPress(0, 1, {150, 120}); });
    EXPECT_EQ(w.CapturedButton(), nullptr);
}

TEST_F(GenerateEventsTest, InactiveWindowsDoNotPoll) {
    w.SetActive(0);
    Feed([&] { w.ReportPress(0, 1, {10, 10}); });
    EXPECT_EQ(w.log, Log{});
    w.SetActive(1);
    Feed([] {});
    EXPECT_EQ(w.log, Log{"down 10,10 dev 0"}) << "the pending state is kept until then";
}

TEST_F(GenerateEventsTest, PendingPressKeepsThePressedState) {
    a.m_pendingPress = 1;
    a.m_state = kBtnPressed;
    a.SetState(kBtnNormal);
    EXPECT_EQ(a.m_state, kBtnPressed);
    a.SetState(kBtnDisabled);
    EXPECT_EQ(a.m_pendingPress, 0);
}

TEST_F(GenerateEventsTest, MoveFocusWalksTheRingOfUsableIds) {
    RectButton c(w, 3, {0, 0, 1, 1});
    b.SetEnabled(false);
    EXPECT_EQ(w.MoveFocus(1, 3, 1), 1);
    EXPECT_EQ(w.FocusedButton(), &a);
    EXPECT_EQ(w.MoveFocus(1, 3, 1), 1);
    EXPECT_EQ(w.FocusedButton(), &c) << "id 2 is disabled and skipped";
    EXPECT_EQ(w.MoveFocus(1, 3, 1), 1);
    EXPECT_EQ(w.FocusedButton(), &a) << "wraps";
    EXPECT_EQ(w.MoveFocus(0, 3, 1), 1);
    EXPECT_EQ(w.FocusedButton(), &c) << "backwards";
    EXPECT_EQ(w.MoveFocus(1, 2, 20), 0) << "no usable id in the ring";
}

TEST_F(GenerateEventsTest, TestAnyInputConsumesStates) {
    w.ReportMove(0, {1, 1});
    EXPECT_EQ(w.TestAnyInput(1), 0);
    w.ReportKey(0, 1, 13);
    EXPECT_EQ(w.TestAnyInput(0), 0);
    w.ReportKey(0, 1, 13);
    EXPECT_EQ(w.TestAnyInput(1), 1);
    w.ReportPress(0, 1, {1, 1});
    EXPECT_EQ(w.TestAnyInput(0), 1);
    EXPECT_EQ(w.TestAnyInput(0), 0) << "consumed";
}

TEST_F(GenerateEventsTest, ADestroyedButtonLeavesItsWindow) {
    {
        RectButton temp(w, 9, {600, 600, 700, 700});
        Feed([&] { w.ReportPress(0, 1, {650, 650}); });
        EXPECT_EQ(w.CapturedButton(), &temp);
    }
    EXPECT_EQ(w.CapturedButton(), nullptr);
    EXPECT_EQ(w.Buttons().size(), 2u);
}

}  // namespace
