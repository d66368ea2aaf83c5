#include "screens/TitleWnd.h"

#include <filesystem>

#include "platform/Platform.h"
#include "screens/Messages.h"
#include "screens/OptionMenu.h"
#include "screens/Scene.h"

namespace {
constexpr int kTickTimer = 0;
constexpr uint32_t kTickMs = 10;
constexpr const char* kTitleMusic = sound_files::kBgmTitle;
constexpr const char* kHelpPage = "DATA/IMG/HELP/help.html";
constexpr const char* kPaneNames[6] = {"title_a", "title_b", "copyright",
                                       "chara_0", "chara_1", "chara_2"};
// Panes the fade touches: title_a, title_b, copyright and chara_0 (the eyelids are the
// blink's business).
constexpr int kFadedPanes = 4;
enum { kChara1 = 4, kChara2 = 5 };
}  // namespace

CTitleWnd::CTitleWnd() : m_screen(screen_assets::Title()) {}

void CTitleWnd::OnLoad() {
    m_screen.Load(this);
}

void CTitleWnd::OnInit() {
    m_screen.Create(this);
    if (!m_screen.Layout().IsLoaded()) return;
    for (int i = 0; i < 6; ++i) m_panes[i] = m_screen.Pane(kPaneNames[i]);
}

void CTitleWnd::OnStart() {
    CTSBgmWnd::OnStart();
    PlayBgm(kTitleMusic);
    for (CTSPane& pane : m_panes)
        if (pane.IsValid()) pane.SetAlpha(0);
    for (uint16_t id : {kStart, kOption})
        if (CPaneButton* button = m_screen.Button(id)) button->SetAlpha(0);
    m_fadeCounter = -kFadeTicks;
    m_leaving = 0;
    StartTimer(kTickTimer, kTickMs);
    m_ticking = 1;
}

void CTitleWnd::OnDraw() {
    m_screen.Draw();
}

void CTitleWnd::OnTimer(int index) {
    if (index == kTickTimer && m_ticking != 0) Tick();
}

void CTitleWnd::ApplyFadeAlpha(uint8_t alpha) {
    for (int i = 0; i < kFadedPanes; ++i)
        if (m_panes[i].IsValid()) m_panes[i].SetAlpha(alpha);
    for (uint16_t id : {kStart, kOption})
        if (CPaneButton* button = m_screen.Button(id)) button->SetAlpha(alpha);
}

void CTitleWnd::Tick() {
    if (m_fadeCounter < 0) {
        const int step = m_leaving != 0 ? -m_fadeCounter : m_fadeCounter + kFadeTicks;
        m_alpha = float(step) / kFadeTicks * 255.0f;
        ApplyFadeAlpha(uint8_t(m_alpha));
        ++m_fadeCounter;
        return;
    }
    if (m_fadeCounter == 0) {
        if (m_leaving != 0) {
            KillTimer(kTickTimer);
            m_ticking = 0;
            EndModal(kSceneMenu);
            return;
        }
        ApplyFadeAlpha(255);
        ++m_fadeCounter;
        return;
    }
    if (m_fadeCounter > 100000) m_fadeCounter = 1;
    Blink(m_fadeCounter % 500);
    ++m_fadeCounter;
}

// Three quick blinks and a slower one every 500 ticks: the upper eyelid picture comes
// down, then the closed one, and they go again in reverse order.
void CTitleWnd::Blink(int phase) {
    auto set = [this](int pane, uint8_t alpha) {
        if (m_panes[pane].IsValid()) m_panes[pane].SetAlpha(alpha);
    };
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
            m_leaving = 1;
            m_fadeCounter = -kFadeTicks;
            for (int pane : {kChara1, kChara2})
                if (m_panes[pane].IsValid()) m_panes[pane].SetVisible(false);
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
    m_dialogOpen = 1;
    auto showButtons = [this](bool show) {
        for (uint16_t id : {kStart, kOption})
            if (CPaneButton* button = m_screen.Button(id)) button->SetVisible(show);
    };
    showButtons(false);
    const int result = RunOptionsDialog(this);
    showButtons(true);
    m_dialogOpen = 0;
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
