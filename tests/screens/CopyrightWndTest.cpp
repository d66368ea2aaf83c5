#include <gtest/gtest.h>

#include "../Lib/lyt/LytFixture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "screens/CopyrightWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"
#include "support/PlatformFixture.h"
#include "support/ScratchDir.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace {

// "A_1": a full-screen root with the 256 x 64 picture pane "VXL_logo" in the middle.
std::vector<uint8_t> LogoLayout() {
    lytfix::FileWriter f;
    lytfix::LayoutInfo(f, 1024, 768);
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::PaneSpec root = lytfix::Named("RootPane");
    root.width = 1024, root.height = 768;
    lytfix::Pane(f, root);
    f.Marker("chbg");
    lytfix::PaneSpec logo = lytfix::Named("VXL_logo");
    logo.width = 256, logo.height = 64;
    lytfix::Picture(f, logo, 0);
    f.Marker("chen");
    return f.Finish();
}

testsupport::Rgba Green(int, int) {
    return testsupport::Rgba{0, 200, 0, 255};
}

// Runs the logo screen under the application's manager in a scratch working directory.
class CopyrightWndTest : public HeadlessTest {
protected:
    CopyrightWndTest() : m_cwd(m_dir.Path()) { gfx::RenderDevice::Instance().Create(); }
    ~CopyrightWndTest() override {
        gfx::RenderDevice::Instance().Release();
        TSingleton<CTSLytMgr>::DestroyInstance();
    }

    void WriteArchives() {
        ASSERT_TRUE(testsupport::WriteBytes(
            m_dir / "DATA/IMG/A_1.T2G",
            testsupport::BuildT2g(
                {{"A_1.lyt", LogoLayout()},
                 {"A1_VXL_logo.tga", testsupport::BuildTga(256, 64, Green, false)}})));
        ASSERT_TRUE(testsupport::WriteBytes(
            m_dir / "DATA/IMG/COMMON.T2G",
            testsupport::BuildT2g({{"COMN_BG.tga", testsupport::BuildTga(4, 4, Green, false)}})));
    }

    // Runs the screen to its end; `at`/`key` post one key press at that virtual time.
    uint32_t Run(uint64_t at = 0, uint16_t key = 0) {
        CCopyrightWnd logo;
        if (key != 0)
            m_platform.SetSleepHook([&, posted = false](uint64_t until) mutable {
                if (posted || until < at) return;
                m_platform.SetNow(at);
                logo.PostEvent(kEvKeyDown, key, 0);
                posted = true;
            });
        const uint32_t scene = m_manager.RunWindow(&logo);
        m_platform.SetSleepHook(nullptr);
        return scene;
    }

    testsupport::ScratchDir m_dir;
    testsupport::WorkingDirectory m_cwd;
    CScreenMgr m_manager;
};

TEST_F(CopyrightWndTest, ShowsTheLogoForTwoSecondsThenAsksForTheTitle) {
    WriteArchives();
    const uint64_t framesBefore = gfx::RenderDevice::Instance().PresentedFrames();
    EXPECT_EQ(Run(), uint32_t(kSceneTitle));
    EXPECT_EQ(m_platform.Now(), CCopyrightWnd::kShowMs);
    EXPECT_GT(gfx::RenderDevice::Instance().PresentedFrames() - framesBefore, 100u);
    // The shared archive stays open for the screens that follow.
    EXPECT_TRUE(m_manager.CommonGroup().IsOpen());
    EXPECT_NE(m_manager.CommonGroup().GetT2IBuffer("COMN_BG.tga"), nullptr);
    // The logo is drawn, centred on the screen.
    int logos = 0;
    for (const platform::DrawCommand& c : m_platform.LatestFrame().commands)
        if (c.kind == platform::DrawCommand::Kind::Sprite && c.src.right - c.src.left == 256 &&
            c.x == 384.0f && c.y == 352.0f)
            ++logos;
    EXPECT_EQ(logos, 1);
}

TEST_F(CopyrightWndTest, EnterSkipsTheWaitOtherKeysDoNot) {
    WriteArchives();
    EXPECT_EQ(Run(500, 13), uint32_t(kSceneTitle));
    EXPECT_LT(m_platform.Now(), 600u);

    const uint64_t start = m_platform.Now();
    EXPECT_EQ(Run(start + 300, 32), uint32_t(kSceneTitle));
    EXPECT_GE(m_platform.Now() - start, CCopyrightWnd::kShowMs);
}

TEST_F(CopyrightWndTest, MissingArchivesLeaveAnEmptyScreenThatStillMovesOn) {
    EXPECT_EQ(Run(), uint32_t(kSceneTitle));
    EXPECT_FALSE(m_manager.CommonGroup().IsOpen());
}

}  // namespace
