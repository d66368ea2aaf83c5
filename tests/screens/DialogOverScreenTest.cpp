#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/GpuTexture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"
#include "screens/MenuDlg.h"

namespace {

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
    Tap(700, "btn1_1");
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

}  // namespace
