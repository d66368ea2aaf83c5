#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <span>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/GpuTexture.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"
#include "platform/headless/FrameCapture.h"
#include "screens/MenuDlg.h"
#include "screens/MsgBox.h"
#include "screens/OptionMenu.h"
#include "support/Built.h"

namespace {

namespace fs = std::filesystem;

std::vector<platform::DrawCommand> Sprites(const platform::DrawList& frame) {
    std::vector<platform::DrawCommand> out;
    for (const auto& c : frame.commands)
        if (c.kind == platform::DrawCommand::Kind::Sprite) out.push_back(c);
    return out;
}

// The colour of a sprite's first source pixel (0xRRGGBB).
uint32_t FirstPixel(const platform::DrawCommand& c) {
    return c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] & 0xFFFFFF;
}

// A plain screen under the dialogs: a few opaque bands drawn from one white texture.
class BandScreen : public CTSBgmWnd {
public:
    static constexpr int kBands = 3;
    void OnInit() override {
        m_white = std::make_unique<gfx::GpuTexture>(16, 16);
        m_white->Upload(std::vector<uint32_t>(16 * 16, 0xFFFFFFFF));
    }
    void OnDraw() override {
        auto& device = gfx::RenderDevice::Instance();
        const float s = device.Scale();
        for (int i = 0; i < kBands; ++i)
            device.DrawTexture(*m_white, {0, 0, 16, 16}, float(i * 1024 / kBands) * s,
                               device.LetterboxY(), 1024.0f / kBands * s / 16.0f,
                               768.0f * s / 16.0f, 0xFF3F6E4E);
    }

private:
    std::unique_ptr<gfx::GpuTexture> m_white;
};

class DialogOverScreenTest : public dlgtest::DialogTest {};

TEST_F(DialogOverScreenTest, MenuDimsTheScreenFadesInAndAnswers) {
    WriteAllArchives();
    BandScreen screen;
    screen.SendEvent(kEvInit, 0, 0);
    platform::DrawList early;
    platform::DrawList settled;
    At(60, [&] { early = m_platform.LatestFrame(); });
    At(600, [&] { settled = m_platform.LatestFrame(); });
    ClickPane(700, dlgtest::MenuPanes(), "btn1_1");
    EXPECT_EQ(RunMenuDialog(0, &screen), 0);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav"}));

    // The screen's own bands come first, then the dimming picture, window and three looks.
    const auto sprites = Sprites(settled);
    const size_t bands = BandScreen::kBands;
    ASSERT_EQ(sprites.size(), bands + 5);
    for (size_t i = 0; i < bands; ++i) EXPECT_EQ(sprites[i].argb >> 24, 0xFFu);
    const auto& dim = sprites[bands];
    EXPECT_EQ(FirstPixel(dim), dlgtest::ColourOf("M1_nullBlack.tga"));
    EXPECT_EQ(dim.argb >> 24, 91u);
    EXPECT_EQ(dim.x, 0.0f);
    EXPECT_FLOAT_EQ(float(dim.src.right - dim.src.left) * dim.scaleX,
                    1024.0f * gfx::RenderDevice::Instance().Scale())
        << "the dimming picture covers the whole screen";
    EXPECT_EQ(FirstPixel(sprites[bands + 1]), dlgtest::ColourOf("M1_MenuWindow.tga"));
    for (size_t i = bands + 1; i < sprites.size(); ++i) EXPECT_EQ(sprites[i].argb >> 24, 246u);
    EXPECT_EQ(FirstPixel(sprites[bands + 2]), dlgtest::ColourOf("M1_btn1_1.tga"));

    // Early in the fade everything of the dialog is still faint.
    const auto faint = Sprites(early);
    ASSERT_EQ(faint.size(), bands + 5);
    EXPECT_LT(faint[bands + 1].argb >> 24, 100u);
}

// Runs every dialog on the data the build makes, checks that everything the code binds is
// there, and (with STONEWELL_SHOTS=folder) writes a screenshot of each over a screen.
class RealDataTest : public dlgtest::DialogTest {
protected:
    RealDataTest() {
        const fs::path data = fs::path(STONEWELL_BINARY_DIR) / "DATA";
        fs::create_directories(m_dir / "DATA/IMG");
        for (const char* file : {"IMG/M_1.T2G", "IMG/MSG.T2G", "IMG/OP_1.T2G", "IMG/TEXT.T2G"}) {
            if (!fs::exists(data / file)) {
                m_missing = file;
                return;
            }
            fs::copy_file(data / file, m_dir / ("DATA/" + std::string(file)),
                          fs::copy_options::overwrite_existing);
        }
        // The fonts come from the program's own text archive.
        m_fonts.reset();
        TSingleton<CFontMgr>::GetInstance();
        if (const char* shots = std::getenv("STONEWELL_SHOTS")) m_shots = shots;
    }
    ~RealDataTest() override { TSingleton<CFontMgr>::DestroyInstance(); }

    // A screenshot 800 ms after now (the dialog has faded in by then).
    void Shot(const char* name) {
        if (m_shots.empty()) return;
        At(m_platform.Now() + 800, [this, name] {
            headless::FrameCapture capture;
            if (!capture.ok()) return;
            capture.Render(m_platform.LatestFrame());
            capture.WritePng(m_shots + "/" + name + ".png");
        });
    }

    std::string m_missing;
    std::string m_shots;
};

// Centre of a pane of the real layout, found through a loaded copy.
TSPoint CentreOf(CTIGroup& group, const char* layout, const char* pane) {
    CTSLayout lyt;
    if (lyt.Load(&group, layout, nullptr) == 0) return TSPoint{-1, -1};
    return lyt.GetPane(pane).GetCenter();
}

TEST_F(RealDataTest, EveryDialogFindsAllItsPanesAndTexturesAndAnswers) {
    REQUIRE_BUILT(m_missing.empty(), "data " << m_missing);
    BandScreen screen;
    screen.SendEvent(kEvInit, 0, 0);
    dbglog::Capture log;

    CTIGroup menu;
    ASSERT_TRUE(menu.Open("DATA/IMG/M_1.T2G"));
    for (int variant : {0, 1}) {
        const TSPoint p = CentreOf(menu, "M_1", "btn3_1");
        ClickAt(m_platform.Now() + 1000, p.x - 1, p.y - 1, p.x + 1, p.y + 1);
        Shot(variant == 0 ? "menu_lesson" : "menu_problem");
        EXPECT_EQ(RunMenuDialog(variant, &screen), 2);
    }

    CTIGroup msg;
    ASSERT_TRUE(msg.Open("DATA/IMG/MSG.T2G"));
    const TSPoint ok = CentreOf(msg, "MSG", "btn_ok_1");
    ClickAt(m_platform.Now() + 1000, ok.x - 1, ok.y - 1, ok.x + 1, ok.y + 1);
    Shot("message_box");
    // "メインメニューへ戻りますか？"
    EXPECT_EQ(RunMessageBox("\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6"
                            "\x96\xdf\x82\xe8\x82\xdc\x82\xb7\x82\xa9\x81\x48",
                            &screen),
              0);

    CTIGroup options;
    ASSERT_TRUE(options.Open("DATA/IMG/OP_1.T2G"));
    TheSettings().m_seOn = 0;
    const TSPoint bgm = CentreOf(options, "OP_1", "btn_bgm_on1");
    const TSPoint okOp = CentreOf(options, "OP_1", "btn_ok_1");
    const uint64_t t = m_platform.Now();
    Shot("options");
    ClickAt(t + 1000, bgm.x - 1, bgm.y - 1, bgm.x + 1, bgm.y + 1);
    ClickAt(t + 1300, okOp.x - 1, okOp.y - 1, okOp.x + 1, okOp.y + 1);
    EXPECT_EQ(RunOptionsDialog(&screen), 1);
    EXPECT_EQ(TheSettings().m_bgmOn, 0);

    // The dimming pictures are drawn at their own size, so each must fill the screen.
    for (auto [group, name] :
         {std::pair{&menu, "M1_nullBlack.tga"}, std::pair{&msg, "MSG_nullBlack.tga"},
          std::pair{&options, "OP1_nullBlack.tga"}}) {
        const uint8_t* tga = group->GetT2IBuffer(name);
        ASSERT_NE(tga, nullptr) << name;
        gfx::DecodedImage image;
        ASSERT_TRUE(gfx::DecodeImage(gfx::kImageTypeTarga,
                                     std::span<const uint8_t>(tga, group->GetT2ISize(name)), image))
            << name;
        EXPECT_EQ(image.width, 1024) << name;
        EXPECT_EQ(image.height, 768) << name;
        // Every pixel opaque black: a picture rendered keeping its source's square shape
        // would leave clear bands at the sides with the right size.
        const size_t pixels = size_t(image.width) * size_t(image.height);
        size_t wrong = 0;
        for (size_t i = 0; i < pixels; ++i) {
            const uint8_t* rgba = image.rgba.get() + 4 * i;
            if (rgba[0] != 0 || rgba[1] != 0 || rgba[2] != 0 || rgba[3] != 255) ++wrong;
        }
        EXPECT_EQ(wrong, 0u) << name;
    }

    // Nothing the dialogs look up was missing.
    EXPECT_EQ(log.Text().find("failed"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("Error"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("not"), std::string::npos) << log.Text();
}

}  // namespace
