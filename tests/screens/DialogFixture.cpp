#include "DialogFixture.h"

#include <algorithm>

#include "../Lib/ZIRur/Sound/WavBytes.h"
#include "../Lib/lyt/LytFixture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Util/TSingleton.h"
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
    TheSettings() = AppSettings{};
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
        std::stable_sort(m_script.begin(), m_script.end(),
                         [](const Timed& a, const Timed& b) { return a.ms < b.ms; });
        while (!m_script.empty() && m_script.front().ms <= until) {
            Timed next = std::move(m_script.front());
            m_script.erase(m_script.begin());
            if (next.ms > m_platform.Now()) m_platform.SetNow(next.ms);
            next.action();
        }
        // A dialog that never answers ends the test instead of hanging it.
        if (until > 60000) {
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
}

void DialogTest::WriteArchive(
    const std::string& name,
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
    std::vector<testsupport::T2gEntrySpec> specs;
    for (const auto& [entry, bytes] : entries) specs.push_back({entry, bytes});
    ASSERT_TRUE(testsupport::WriteBytes(m_dir / ("DATA/IMG/" + name + ".T2G"),
                                        testsupport::BuildT2g(specs)));
}

void DialogTest::WriteDialogArchive(const std::string& name, const std::string& layoutName,
                                    const std::vector<PaneSpec>& panes,
                                    const std::vector<std::string>& textures) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
    entries.emplace_back(layoutName + ".lyt", BuildLayout(panes));
    for (const std::string& t : textures) {
        // Pictures are drawn at their own size: the dimming one covers the screen.
        const bool screen = t.find("nullBlack") != std::string::npos;
        entries.emplace_back(t, SolidTga(ColourOf(t), screen ? 1024 : 8, screen ? 768 : 8));
    }
    WriteArchive(name, entries);
}

void DialogTest::WriteAllArchives() {
    WriteDialogArchive(
        "M_1", "M_1", MenuPanes(),
        {"M1_nullBlack.tga", "M1_MenuWindow.tga", "M1_btn1_1.tga", "M1_btn1_2.tga", "M1_btn2_1.tga",
         "M1_btn2_2.tga", "M1_btn3_1.tga", "M1_btn3_2.tga", "M1_btn4_1.tga", "M1_btn4_2.tga"});
    WriteDialogArchive("MSG", "MSG", MsgPanes(),
                       {"MSG_nullBlack.tga", "MSG_window.tga", "btn_no_1.tga", "btn_no_2.tga",
                        "btn_ok_1.tga", "btn_ok_2.tga"});
    WriteDialogArchive(
        "OP_1", "OP_1", OptionPanes(),
        {"OP1_nullBlack.tga", "OP1_MenuWindow.tga", "OP1_bgm.tga", "OP1_se.tga", "OP1_btn_ok_1.tga",
         "OP1_btn_ok_2.tga", "OP1_btn_no_1.tga", "OP1_btn_no_2.tga", "OP1_btn_on_1.tga",
         "OP1_btn_on_2.tga", "OP1_btn_off_1.tga", "OP1_btn_off_2.tga"});
}

void DialogTest::At(uint64_t ms, std::function<void()> action) {
    m_script.push_back({ms, std::move(action)});
}

void DialogTest::ClickAt(uint64_t ms, int left, int top, int right, int bottom) {
    const TSPoint p{(left + right) / 2, (top + bottom) / 2};
    At(ms, [this, p] {
        if (CTSEventWnd* w = m_mgr.CurrentWindow()) w->ReportPress(0, 1, p);
    });
    At(ms + 20, [this, p] {
        if (CTSEventWnd* w = m_mgr.CurrentWindow()) w->ReportPress(0, 0, p);
    });
}

void DialogTest::ClickPane(uint64_t ms, const std::vector<PaneSpec>& panes,
                           const std::string& name) {
    for (const PaneSpec& p : panes)
        if (p.name == name) return ClickAt(ms, p.left, p.top, p.right, p.bottom);
    ADD_FAILURE() << "no pane " << name;
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

}  // namespace dlgtest
