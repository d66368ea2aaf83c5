#include <gtest/gtest.h>
#include <functional>
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"

namespace {

using Log = std::vector<std::string>;

// A window whose timer callbacks run a test-supplied action.
class ScriptedWnd : public ProbeWnd {
public:
    std::function<void(ScriptedWnd&, int)> onTimer;
    std::function<void(ScriptedWnd&)> onStart;
    int frames = 0;
    void OnTimer(int index) override {
        ProbeWnd::OnTimer(index);
        if (onTimer) onTimer(*this, index);
    }
    void OnStart() override {
        if (onStart) onStart(*this);
    }
    void OnDraw() override { ++frames; }
};

class RunLoopTest : public HeadlessTest {
protected:
    RunLoopTest() { gfx::RenderDevice::Instance().Create(); }
    ~RunLoopTest() override { gfx::RenderDevice::Instance().Release(); }
    CTSWndMgr manager;
};

TEST_F(RunLoopTest, TimersFireByWindowTimeKillPurgesItsIndexInactiveWindowsDropThem) {
    ScriptedWnd w;
    w.StartTimer(0, 30);
    w.StartTimer(1, 50);
    for (uint64_t now : {29, 30, 55}) m_platform.SetNow(now), w.RunTimers();
    EXPECT_EQ(w.log, (Log{"timer 0", "timer 1"}));
    w.PostEvent(kEvTimer, 0, 0);
    w.PostEvent(kEvTimer, 1, 0);
    w.KillTimer(0);
    EXPECT_FALSE(w.IsTimerRunning(0));
    TSEvent ev;
    ASSERT_TRUE(w.PopForTest(ev));
    EXPECT_EQ(ev.p1, 1u);
    EXPECT_FALSE(w.PopForTest(ev));
    EXPECT_EQ(w.SetActive(0), 1);
    EXPECT_EQ(w.PostEvent(kEvTimer, 0, 0), 0);
    EXPECT_EQ(w.PostEvent(kEvPointerUp, 0, 0), 1);
    EXPECT_EQ(w.QueuedEvents(), 1);
}

TEST_F(RunLoopTest, AnIdleLoopDrawsOneFramePerTenMilliseconds) {
    ScriptedWnd w;
    w.onStart = [](ScriptedWnd& self) { self.StartTimer(0, 100); };
    w.onTimer = [](ScriptedWnd& self, int) { self.EndModal(42); };
    const uint64_t presentedBefore = gfx::RenderDevice::Instance().PresentedFrames();
    const uint64_t handedBefore = m_platform.FrameCount();
    EXPECT_EQ(manager.RunWindow(&w), 42u);
    // The start event's frame at 0 ms, then one idle frame at each 10 ms step up to 90 ms;
    // the timer ends the loop at 100 ms before another frame.
    EXPECT_EQ(
        std::tuple(m_platform.Now(),
                   gfx::RenderDevice::Instance().PresentedFrames() - presentedBefore, w.frames),
        std::tuple(100u, 10u, 10));
    // Nothing on screen changes, so the window side is woken for the first frame at most.
    EXPECT_LE(m_platform.FrameCount() - handedBefore, 1u);
}

TEST_F(RunLoopTest, RunWindowSendsTheLifeEventsInOrder) {
    struct LifeWnd : ScriptedWnd {
        void OnCreate() override { log.push_back("create"); }
        void OnLoad() override { log.push_back("load"); }
        void OnActivate() override { log.push_back("activate"); }
        void OnInit() override { log.push_back("init"); }
        void OnStart() override {
            log.push_back("start");
            EndModal(3);
        }
        void OnDeactivate() override { log.push_back("deactivate"); }
        void OnClose() override { log.push_back("close"); }
    } w;
    EXPECT_EQ(manager.RunWindow(&w), 3u);
    EXPECT_EQ(w.log, (Log{"create", "load", "activate", "init", "start", "deactivate", "close"}));
    EXPECT_EQ(manager.CurrentWindow(), &w);
}

TEST_F(RunLoopTest, ModalDialogSilencesItsParentAndHandsBackItsResult) {
    ScriptedWnd parent;
    struct Dialog : CTSDialog {
        CTSEventWnd* parentSeen = nullptr;
        bool parentActiveInside = true;
        int ticks = 0, closes = 0;
        void OnStart() override { StartTimer(0, 10); }
        void OnTimer(int) override {
            parentActiveInside = m_pParent->IsActive();
            if (++ticks == 20) EndModal(5);
        }
        void OnClose() override { ++closes; }
    } dialog;
    uint32_t dialogResult = 0;
    std::vector<int> dialogTicksWhenParentTimerFired;
    parent.onTimer = [&](ScriptedWnd&, int) {
        dialogTicksWhenParentTimerFired.push_back(dialog.ticks);
    };
    parent.onStart = [&](ScriptedWnd& self) {
        self.StartTimer(1, 50);
        dialogResult = dialog.DoModal(&self);
        EXPECT_EQ(manager.CurrentWindow(), &self) << "current again after the dialog";
        self.EndModal(9);
    };
    EXPECT_EQ(manager.RunWindow(&parent), 9u);
    EXPECT_EQ(std::tuple(dialogResult, dialog.closes, dialog.parentActiveInside, parent.IsActive()),
              std::tuple(5u, 1, false, true));
    // The parent's 50 ms timer is silent for the dialog's 200 ms and resumes afterwards.
    for (int ticks : dialogTicksWhenParentTimerFired) EXPECT_EQ(ticks, 20);
    EXPECT_TRUE(parent.m_pFrontDlg == nullptr && parent.m_pTopWnd == &parent);
}

TEST_F(RunLoopTest, QuitEndsTheDialogAndTravelsUpToItsParent) {
    ScriptedWnd parent;
    struct Dialog : CTSDialog {
        CTSWndMgr* mgr = nullptr;
        void OnStart() override { StartTimer(0, 30); }
        void OnTimer(int) override { mgr->RequestQuit(77); }
    } dialog;
    dialog.mgr = &manager;
    uint32_t dialogResult = 0;
    bool afterDialog = false;
    parent.onStart = [&](ScriptedWnd& self) {
        dialogResult = dialog.DoModal(&self);
        afterDialog = true;
    };
    EXPECT_EQ(manager.RunWindow(&parent), 77u);
    EXPECT_EQ(std::tuple(dialogResult, afterDialog), std::tuple(77u, true));
}

TEST_F(RunLoopTest, ModelessChildIsDrawnByItsParentWhichKeepsItsInput) {
    ScriptedWnd parent;
    struct Child : CTSDialog {
        int draws = 0;
        void OnDraw() override { ++draws; }
    } child;
    child.Open(&parent);
    EXPECT_TRUE(parent.m_pChildDlg == &child && child.m_notAttached == 0);
    const int before = child.draws;
    parent.DrawFrame();
    EXPECT_EQ(std::tuple(child.draws, parent.IsActive()), std::tuple(before + 1, true));
    child.Close();
    EXPECT_TRUE(parent.m_pChildDlg == nullptr && parent.m_pFrontDlg == nullptr);
}

}  // namespace
