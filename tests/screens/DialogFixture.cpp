#include "DialogFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "../Lib/ZIRur/Sound/WavBytes.h"
#include "../Lib/lyt/LytFixture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Layout/ts_locate.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "screens/ScreenAssets.h"
#include "support/Built.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace dlgtest {

std::vector<PaneSpec> MenuPanes() {
    return {{"background", 0, 0, 1024, 768}, {"window", 300, 200, 724, 600},
            {"btn1_1", 350, 250, 650, 310},  {"btn1_2", 350, 250, 650, 310},
            {"btn2_1", 350, 350, 650, 410},  {"btn2_2", 350, 350, 650, 410},
            {"btn3_1", 350, 450, 650, 510},  {"btn3_2", 350, 450, 650, 510}};
}

std::vector<PaneSpec> MsgPanes() {
    return {{"background", 0, 0, 1024, 768},           {"window", 250, 250, 774, 530},
            {"txt_message", 280, 280, 744, 380, true}, {"btn_ok_1", 300, 430, 500, 490},
            {"btn_ok_2", 300, 430, 500, 490},          {"btn_no_1", 524, 430, 724, 490},
            {"btn_no_2", 524, 430, 724, 490}};
}

std::vector<PaneSpec> OptionPanes() {
    return {{"background", 0, 0, 1024, 768},     {"window", 250, 150, 774, 600},
            {"texture_bgm", 300, 250, 480, 300}, {"texture_se", 300, 350, 480, 400},
            {"btn_bgm_on1", 520, 250, 680, 310}, {"btn_bgm_on2", 520, 250, 680, 310},
            {"btn_se_on1", 520, 350, 680, 410},  {"btn_se_on2", 520, 350, 680, 410},
            {"btn_ok_1", 300, 480, 500, 540},    {"btn_ok_2", 300, 480, 500, 540},
            {"btn_no_1", 524, 480, 724, 540},    {"btn_no_2", 524, 480, 724, 540}};
}

std::vector<uint8_t> BuildLayout(const std::vector<PaneSpec>& panes) {
    lytfix::FileWriter f;
    lytfix::LayoutInfo(f, 1024, 768);
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::PaneSpec root = lytfix::Named("RootPane");
    root.width = 1024, root.height = 768;
    lytfix::Pane(f, root);
    f.Marker("chbg");
    for (const PaneSpec& p : panes) {
        lytfix::PaneSpec s = lytfix::Named(p.name);
        s.width = float(p.right - p.left);
        s.height = float(p.bottom - p.top);
        s.tx = float(p.left + p.right) / 2 - 512;
        s.ty = 384 - float(p.top + p.bottom) / 2;
        if (p.text)
            lytfix::TextBox(f, s, 0, 128, u"");
        else
            lytfix::Picture(f, s, 0);
    }
    f.Marker("chen");
    return f.Finish();
}

std::vector<uint8_t> SolidTga(uint32_t rgb, int width, int height) {
    return testsupport::BuildTga(
        width, height,
        [rgb](int, int) {
            return testsupport::Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
        },
        false);
}

uint32_t ColourOf(const std::string& texture) {
    // A stable, distinct colour per name (FNV-1a folded into 24 bits, never pure black).
    uint32_t h = 2166136261u;
    for (unsigned char c : texture) h = (h ^ c) * 16777619u;
    return (h & 0xFFFFFF) | 0x010101;
}

DialogTest::DialogTest() {
    m_savedSettings = TheSettings();
    m_savedProgress = TheProgress();
    TheSettings() = AppSettings{};
    TheProgress() = ProgressState{};
    m_fonts = std::make_unique<testsupport::FontArchiveScope>();
    m_cwd = std::make_unique<testsupport::WorkingDirectory>(m_dir.Path());
    for (const char* name : {"Menu", "Set", "Cancel"}) {
        testsupport::WriteBytes(m_dir / (std::string("DATA/SOUND/SE/") + name + ".wav"),
                                wavtest::PcmWav(1, 22050, 16, wavtest::Pcm16({100, 200, 300})));
    }
    m_platform.SetTraceSink([this](uint64_t, platform::TraceKind kind, const std::string& d) {
        m_trace.push_back(platform::HeadlessPlatform::TraceName(kind) + " " + d);
    });
    m_platform.SetSleepHook([this](uint64_t until) {
        // Steps may add steps: the earliest goes first, same times in the order given.
        const auto earliest = [this] {
            return std::min_element(m_script.begin(), m_script.end(),
                                    [](const Timed& a, const Timed& b) { return a.ms < b.ms; });
        };
        while (!m_script.empty() && earliest()->ms <= until) {
            const auto first = earliest();
            Timed next = std::move(*first);
            m_script.erase(first);
            if (next.ms > m_platform.Now()) m_platform.SetNow(next.ms);
            next.action();
        }
        // A window that never ends ends the test instead of hanging it.
        if (until > m_endAfter) {
            if (CTSEventWnd* w = m_mgr.CurrentWindow()) w->EndModal(99);
        }
    });
    CreateSoundPlayers();
    gfx::RenderDevice::Instance().Create();
}

DialogTest::~DialogTest() {
    gfx::RenderDevice::Instance().Release();
    DeleteSoundPlayers();
    m_cwd.reset();
    m_fonts.reset();
    TSingleton<CTSLytMgr>::DestroyInstance();
    TheSettings() = m_savedSettings;
    TheProgress() = m_savedProgress;
}

void DialogTest::WriteArchive(
    const std::string& name,
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
    std::vector<testsupport::T2gEntrySpec> specs;
    for (const auto& [entry, bytes] : entries) specs.push_back({entry, bytes});
    ASSERT_TRUE(testsupport::WriteBytes(m_dir / ("DATA/IMG/" + name + ".T2G"),
                                        testsupport::BuildT2g(specs)));
}

void DialogTest::WriteDialogArchive(const std::string& name, const std::vector<PaneSpec>& panes,
                                    const std::vector<std::string>& textures) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
    entries.emplace_back(name + ".lyt", BuildLayout(panes));
    for (const std::string& t : textures) {
        // Pictures are drawn at their own size: the dimming one covers the screen.
        const bool screen = t.find("nullBlack") != std::string::npos;
        entries.emplace_back(t, SolidTga(ColourOf(t), screen ? 1024 : 8, screen ? 768 : 8));
    }
    WriteArchive(name, entries);
}

void DialogTest::WriteAllArchives() {
    WriteDialogArchive(
        "M_1", MenuPanes(),
        {"M1_nullBlack.tga", "M1_MenuWindow.tga", "M1_btn1_1.tga", "M1_btn1_2.tga", "M1_btn2_1.tga",
         "M1_btn2_2.tga", "M1_btn3_1.tga", "M1_btn3_2.tga", "M1_btn4_1.tga", "M1_btn4_2.tga"});
    WriteDialogArchive("MSG", MsgPanes(),
                       {"MSG_nullBlack.tga", "MSG_window.tga", "btn_no_1.tga", "btn_no_2.tga",
                        "btn_ok_1.tga", "btn_ok_2.tga"});
    WriteDialogArchive(
        "OP_1", OptionPanes(),
        {"OP1_nullBlack.tga", "OP1_MenuWindow.tga", "OP1_bgm.tga", "OP1_se.tga", "OP1_btn_ok_1.tga",
         "OP1_btn_ok_2.tga", "OP1_btn_no_1.tga", "OP1_btn_no_2.tga", "OP1_btn_on_1.tga",
         "OP1_btn_on_2.tga", "OP1_btn_off_1.tga", "OP1_btn_off_2.tga"});
}

void DialogTest::At(uint64_t ms, std::function<void()> action) {
    m_script.push_back({ms, std::move(action)});
}

void DialogTest::Click(uint64_t ms, int x, int y) {
    At(ms, [this, x, y] { Front()->ReportPress(0, 1, TSPoint{x, y}); });
    At(ms + 20, [this, x, y] { Front()->ReportPress(0, 0, TSPoint{x, y}); });
}

void DialogTest::Tap(uint64_t ms, const std::string& pane) {
    At(ms, [this, ms, pane] {
        const TSPoint p = Centre(pane);
        Front()->ReportPress(0, 1, p);
        At(ms + 20, [this, p] { Front()->ReportPress(0, 0, p); });
    });
}

TSPoint DialogTest::Centre(const std::string& pane) {
    TSRect r{};
    if (!LocateShownPane(Front(), pane.c_str(), r)) {
        ADD_FAILURE() << "no shown pane " << pane;
        return TSPoint{-1, -1};
    }
    return TSPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool DialogTest::Shown(const std::string& pane, std::string* image) const {
    TSRect r{};
    return LocateShownPane(Front(), pane.c_str(), r, image);
}

int DialogTest::Count(const std::string& line) const {
    return int(std::count(m_trace.begin(), m_trace.end(), line));
}

std::vector<std::string> DialogTest::Effects() const {
    std::vector<std::string> out;
    for (const std::string& line : m_trace) {
        if (line.rfind("se ", 0) != 0) continue;
        const size_t slash = line.rfind('/');
        out.push_back(slash == std::string::npos ? line.substr(3) : line.substr(slash + 1));
    }
    return out;
}

BuiltDataTest::BuiltDataTest() {
    m_fonts.reset();
    m_cwd.reset();
    const char* data = std::getenv("STONEWELL_TEST_DATA_DIR");
    m_cwd = std::make_unique<testsupport::WorkingDirectory>(
        data != nullptr ? std::filesystem::path(data).parent_path().string()
                        : std::string(STONEWELL_BINARY_DIR));
    m_mgr.CommonGroup().Open(screen_assets::kCommonArchive);
}

BuiltDataTest::~BuiltDataTest() {
    m_mgr.CommonGroup().Close();
    TSingleton<CFontMgr>::DestroyInstance();
}

void BuiltDataTest::SetUp() {
    REQUIRE_BUILT(std::filesystem::exists("DATA/IMG/F_1.T2G") &&
                      std::filesystem::exists("DATA/DATA/PROBLEM/1-problem.dat"),
                  "the data set");
}

}  // namespace dlgtest
