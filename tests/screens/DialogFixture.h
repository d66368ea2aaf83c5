#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "platform/headless/HeadlessPlatform.h"
#include "progress/ProgressState.h"
#include "screens/ScreenMgr.h"
#include "support/FontArchive.h"
#include "support/ProbeWindows.h"
#include "support/ScratchDir.h"

namespace dlgtest {

// A picture or text pane of a test layout, by its screen rectangle.
struct PaneSpec {
    std::string name;
    int left, top, right, bottom;
    bool text = false;
};

// Panes of the three dialogs as the code looks them up (rectangles are arbitrary but
// distinct per button).
std::vector<PaneSpec> MenuPanes();
std::vector<PaneSpec> MsgPanes();
std::vector<PaneSpec> OptionPanes();

// A layout file with the panes under the root, written from the format tables.
std::vector<uint8_t> BuildLayout(const std::vector<PaneSpec>& panes);
// An opaque picture of one colour (0xRRGGBB).
std::vector<uint8_t> SolidTga(uint32_t rgb, int width = 8, int height = 8);

// The colour each texture name gets in the test archives, so a drawn sprite tells which
// texture a pane shows.
uint32_t ColourOf(const std::string& texture);

// Runs dialogs and screens in a scratch program folder: archives DATA/IMG/M_1.T2G, MSG.T2G,
// OP_1.T2G, the three effect sounds, a window manager, the sound players and a headless
// platform whose traces are collected. Scripted input reaches the current window from the
// virtual clock's sleep hook; a window still open after `m_endAfter` ms is ended.
class DialogTest : public ::testing::Test {
protected:
    DialogTest();
    ~DialogTest() override;

    // Writes an archive from (entry, bytes) pairs under DATA/IMG/<name>.T2G.
    void WriteArchive(const std::string& name,
                      const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries);
    // The standard archive of a dialog: its layout NAME.lyt (panes) and every texture named.
    void WriteDialogArchive(const std::string& name, const std::vector<PaneSpec>& panes,
                            const std::vector<std::string>& textures);
    void WriteAllArchives();

    // Something to do at virtual time `ms` (from the sleep hook, on the window's thread).
    void At(uint64_t ms, std::function<void()> action);
    // A click (press, release 20 ms later) at a point of the window in front then.
    void Click(uint64_t ms, int x, int y);
    // A click at the centre of the named pane as the window in front shows it at `ms`.
    void Tap(uint64_t ms, const std::string& pane);
    // The centre of a shown pane of the window in front ({-1, -1} and a failure if none).
    TSPoint Centre(const std::string& pane);
    // Whether the window in front shows the pane, and the picture it shows there.
    bool Shown(const std::string& pane, std::string* image = nullptr) const;
    CTSEventWnd* Front() const { return m_mgr.CurrentWindow(); }
    // Scripted steps not yet due.
    size_t StepsLeft() const { return m_script.size(); }

    // Effect file names played so far, without folders ("Menu.wav").
    std::vector<std::string> Effects() const;
    // How often a trace line ("se DATA/SOUND/SE/Stone.wav") was written.
    int Count(const std::string& line) const;

    // Installed before, and removed after, every member that reads the clock.
    struct PlatformScope {
        explicit PlatformScope(platform::HeadlessPlatform& p) { platform::SetPlatform(&p); }
        ~PlatformScope() { platform::SetPlatform(nullptr); }
    };

    platform::HeadlessPlatform m_platform;
    PlatformScope m_platformScope{m_platform};
    std::unique_ptr<testsupport::FontArchiveScope> m_fonts;
    testsupport::ScratchDir m_dir;
    std::unique_ptr<testsupport::WorkingDirectory> m_cwd;
    CScreenMgr m_mgr;
    ProbeWnd m_parent;
    AppSettings m_savedSettings;
    ProgressState m_savedProgress;
    std::vector<std::string> m_trace;
    uint64_t m_endAfter = 60000;

private:
    struct Timed {
        uint64_t ms;
        std::function<void()> action;
    };
    std::vector<Timed> m_script;
};

// Runs screens on the data set the build makes, in the build's folder (or the parent of
// $STONEWELL_TEST_DATA_DIR) with its fonts and the shared archive open.
class BuiltDataTest : public DialogTest {
protected:
    BuiltDataTest();
    ~BuiltDataTest() override;
    void SetUp() override;
};

}  // namespace dlgtest
