#include "screens/DialogFade.h"

#include <cstring>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "progress/ProgressState.h"

namespace {
constexpr int kFadeInTimer = 3;
constexpr int kFadeOutTimer = 4;
constexpr uint32_t kTickMs = 10;
}  // namespace

void DialogFade::Begin() {
    m_counter = -kTicks;
    m_alpha = 0.0f;
}

bool DialogFade::StepIn() {
    if (m_counter >= 0) return false;
    m_alpha = float(m_counter + kTicks) / float(kTicks) * 255.0f;
    ++m_counter;
    return true;
}

bool DialogFade::StepOut() {
    if (m_counter >= 0) return false;
    m_alpha = (1.0f - float(m_counter + kTicks) / float(kTicks)) * 255.0f;
    ++m_counter;
    return true;
}

CTSEventWnd* DialogParent(CTSEventWnd* parent) {
    if (parent != nullptr) return parent;
    CTSWndMgr* mgr = CTSWndMgr::Instance();
    return mgr != nullptr ? mgr->CurrentWindow() : nullptr;
}

CFadeDialog::CFadeDialog(const screen_assets::ScreenNames& names, int failureResult)
    : m_result(failureResult), m_names(names), m_failureResult(failureResult) {}

CFadeDialog::~CFadeDialog() {
    KillTimer(kFadeInTimer);
    KillTimer(kFadeOutTimer);
}

void CFadeDialog::OnLoad() {
    // The dialog's own switches come from the saved options as they are now.
    const AppSettings& settings = TheSettings();
    SetBgmEnabled(settings.m_bgmOn);
    SetSeEnabled(settings.m_seOn);
    if (!m_group.Open(m_names.archive)) {
        dbglog::Printf("CFadeDialog::OnLoad() : archive cannot be opened. %s\n", m_names.archive);
        return;
    }
    m_layout.Load(&m_group, m_names.layout, this);
}

void CFadeDialog::OnInit() {
    if (!m_layout.IsLoaded()) return;
    for (const screen_assets::PictureName& row : m_names.pictures)
        BindTexture(row.pane, row.texture);
    m_background = m_layout.GetPane("background");
    m_drawn.insert(m_drawn.begin(), m_layout.GetPane("window"));
    for (const screen_assets::ButtonName& row : m_names.buttons) {
        auto button = std::make_unique<CPaneButton>();
        button->Create(this, uint16_t(row.id), &m_layout, row.normalPane, row.pressedPane);
        m_buttons.push_back(std::move(button));
    }
}

const char* CFadeDialog::TextureOfPane(const char* pane) const {
    for (const screen_assets::PictureName& row : m_names.pictures)
        if (std::strcmp(row.pane, pane) == 0) return row.texture;
    return "";
}

int CFadeDialog::BindTexture(const char* pane, const char* texture) {
    if (!m_layout.IsLoaded()) return 0;
    if (m_group.GetT2IBuffer(texture) == nullptr)
        dbglog::Printf("CFadeDialog::BindTexture() : texture not found. %s pane=%s\n", texture,
                       pane);
    CTSPicturePane picture = m_layout.GetPicturePane(pane);
    return picture.IsValid() ? picture.SetTexture(&m_group, texture) : 0;
}

void CFadeDialog::AddDrawnPane(const char* name) {
    if (m_layout.IsLoaded()) m_drawn.push_back(m_layout.GetPane(name));
}

CPaneButton* CFadeDialog::Button(uint16_t id) {
    for (auto& button : m_buttons)
        if (button->m_id == id) return button.get();
    return nullptr;
}

bool CFadeDialog::HasClickableButton() const {
    for (const auto& button : m_buttons)
        if (button->IsUsable() && !button->GetRect().Empty()) return true;
    return false;
}

uint32_t CFadeDialog::DoModal(CTSEventWnd* parent) {
    const uint32_t result = CTSDialog::DoModal(parent);
    if (!EndedByQuit()) return result;
    m_result = m_failureResult;
    return uint32_t(m_failureResult);
}

void CFadeDialog::OnStart() {
    // A dialog that cannot be answered would hold the program for ever: end at once.
    if (!HasClickableButton()) {
        dbglog::Printf("CFadeDialog::OnStart() : no button to answer with. %s\n", m_names.archive);
        m_result = m_failureResult;
        EndModal(uint32_t(m_failureResult));
        return;
    }
    PlaySe(kSeMenu);
    m_fade.Begin();
    ApplyAlpha(m_fade.Alpha(), m_fade.DimAlpha());
    StartTimer(kFadeInTimer, kTickMs);
}

void CFadeDialog::OnTimer(int index) {
    if (index == kFadeInTimer) {
        if (m_fade.StepIn())
            ApplyAlpha(m_fade.Alpha(), m_fade.DimAlpha());
        else
            KillTimer(kFadeInTimer);
    } else if (index == kFadeOutTimer) {
        if (m_fade.StepOut()) {
            ApplyAlpha(m_fade.Alpha(), m_fade.DimAlpha());
        } else {
            KillTimer(kFadeOutTimer);
            EndModal(uint32_t(m_result));
        }
    }
}

void CFadeDialog::ApplyAlpha(uint8_t alpha, uint8_t dimAlpha) {
    if (m_background.IsValid()) m_background.SetAlpha(dimAlpha);
    for (CTSPane& pane : m_drawn)
        if (pane.IsValid()) pane.SetAlpha(alpha);
    for (auto& button : m_buttons) button->SetAlpha(alpha);
}

void CFadeDialog::OnDraw() {
    if (m_background.IsValid()) m_background.DrawAnimated();
    for (CTSPane& pane : m_drawn)
        if (pane.IsValid()) pane.DrawAnimated();
}

void CFadeDialog::Finish(int result, const char* sound) {
    if (sound != nullptr) PlaySe(sound);
    m_result = result;
    EndModal(uint32_t(result));
}
