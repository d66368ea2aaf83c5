#include "screens/TitleWnd.h"

#include <filesystem>

#include "platform/Platform.h"
#include "screens/Messages.h"
#include "screens/OptionMenu.h"
#include "screens/Scene.h"

namespace {
constexpr const char* kTitleMusic = sound_files::kBgmTitle;
constexpr const char* kHelpPage = "DATA/IMG/HELP/help.html";
// Panes the fade touches (the eyelids chara_1 and chara_2 are the blink's business).
constexpr const char* kFadedPanes[] = {"title_a", "title_b", "copyright", "chara_0"};
constexpr const char* kChara1 = "chara_1";
constexpr const char* kChara2 = "chara_2";
// The blink pattern repeats every this many ticks.
constexpr int kBlinkPeriod = 500;
}  // namespace

CTitleWnd::CTitleWnd() : CFadeScreen(screen_assets::Title(), ScreenFade::Opening::FadeIn) {}

void CTitleWnd::OnStart() {
    CFadeScreen::OnStart();
    PlayBgm(kTitleMusic);
    // The eyelids start clear too; the fade leaves them to the blink.
    for (const char* pane : {kChara1, kChara2}) m_screen.SetPaneAlpha(pane, 0);
}

void CTitleWnd::ApplyAlpha(uint8_t alpha) {
    for (const char* pane : kFadedPanes) m_screen.SetPaneAlpha(pane, alpha);
    for (uint16_t id : {kStart, kOption})
        if (CPaneButton* button = m_screen.Button(id)) button->SetAlpha(alpha);
}

void CTitleWnd::OnTick() {
    if (Fade().IsSettled()) Blink(Fade().Counter() % kBlinkPeriod);
}

// Three quick blinks and a slower one every 500 ticks: the upper eyelid picture comes
// down, then the closed one, and they go again in reverse order.
void CTitleWnd::Blink(int phase) {
    auto set = [this](const char* pane, uint8_t alpha) { m_screen.SetPaneAlpha(pane, alpha); };
    switch (phase) {
        case 35:
        case 143:
        case 214:
        case 418:
            set(kChara1, 255);
            break;
        case 38:
        case 145:
        case 216:
        case 421:
            set(kChara2, 255);
            break;
        case 41:
        case 148:
        case 219:
        case 425:
            set(kChara2, 0);
            break;
        case 43:
        case 150:
        case 221:
        case 428:
            set(kChara1, 0);
            break;
        default:
            break;
    }
}

void CTitleWnd::OnButton(uint16_t id) {
    switch (id) {
        case kStart:
            Leave(kSceneMenu);
            for (const char* pane : {kChara1, kChara2}) m_screen.SetVisible(pane, false);
            PlaySe(kSeSet);
            break;
        case kOption:
            RunOptions();
            break;
        case kHelp:
            PlaySe(kSeSet);
            OpenHelp();
            break;
        default:
            break;
    }
}

void CTitleWnd::RunOptions() {
    auto showButtons = [this](bool show) {
        for (uint16_t id : {kStart, kOption})
            if (CPaneButton* button = m_screen.Button(id)) button->SetVisible(show);
    };
    showButtons(false);
    const int result = RunOptionsDialog(this);
    showButtons(true);
    if (result != 1) return;
    ApplySoundSettings();
    if (m_bgmEnabled != 0) PlayBgm(kTitleMusic);
}

void CTitleWnd::OpenHelp() {
    // The page sits in the program's folder, which is the working directory.
    std::error_code error;
    const std::filesystem::path page = std::filesystem::current_path(error) / kHelpPage;
    // An opener reports success once it has started, so a missing page would show nothing.
    const bool present = !error && std::filesystem::is_regular_file(page, error);
    if (!present || !platform::GetPlatform().OpenUrl(page.string()))
        platform::GetPlatform().ShowMessage(msg::kHelpFailed, msg::kAppTitle);
}
