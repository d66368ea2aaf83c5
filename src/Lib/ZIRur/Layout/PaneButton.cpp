#include "Lib/ZIRur/Layout/PaneButton.h"

#include <cstring>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Wnd/TSEventWnd.h"

namespace {
bool HasName(const char* name) {
    return name != nullptr && name[0] != '\0';
}

void CopyName(char* dst, size_t capacity, const char* src) {
    if (src == nullptr) src = "";
    std::strncpy(dst, src, capacity - 1);
    dst[capacity - 1] = '\0';
}

TSRect Moved(const TSRect& r, int dx, int dy) {
    return TSRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
}  // namespace

void CPaneButton::Init(CTSEventWnd* window, uint16_t id, int drawFlag, int offsetX, int offsetY,
                       int shift) {
    if (m_pOwner != nullptr) m_pOwner->UnregisterButton(this);
    m_drawFlag = drawFlag;
    m_offsetX = offsetX;
    m_offsetY = offsetY;
    m_shift = shift;
    m_rect = TSRect{};
    Attach(window, id);
}

void CPaneButton::Create(CTSEventWnd* window, uint16_t id, CTSLayout* layout,
                         const char* normalPane, const char* pressedPane, const char* greyPane) {
    Init(window, id);
    SetPanes(layout, normalPane, "", greyPane, pressedPane);
}

void CPaneButton::SetPanes(CTSLayout* layout, const char* pane0, const char* pane1,
                           const char* pane2, const char* pane3) {
    if (layout == nullptr) {
        LYRA_POINTER_ERROR("layout", static_cast<const void*>(layout));
        return;
    }
    const char* names[kStates] = {pane0, pane1, pane2, pane3};
    for (int s = 0; s < kStates; ++s) {
        m_statePane[s] = CTSPane{};
        m_stateRect[s] = TSRect{};
        if (!HasName(names[s])) continue;
        CTSPane pane = layout->GetPane(names[s]);
        if (!pane.IsValid()) continue;
        if (m_shift != 0) pane.ShiftBack(m_offsetX, m_offsetY);
        m_stateRect[s] = pane.GetPaneRect();
        m_statePane[s] = pane;
    }
    m_picturePane = HasName(pane0) && m_statePane[0].IsValid() ? layout->GetPicturePane(pane0)
                                                               : CTSPicturePane{};
    if (m_stateRect[kBtnNormal].Empty()) m_stateRect[kBtnNormal] = m_stateRect[kBtnFocused];
    SetFocus(false);
}

void CPaneButton::SetSecondPanes(CTSLayout* layout, const char* pane0, const char* pane1,
                                 const char* pane2, const char* pane3) {
    if (layout == nullptr) {
        LYRA_POINTER_ERROR("layout", static_cast<const void*>(layout));
        return;
    }
    const char* names[kStates] = {pane0, pane1, pane2, pane3};
    for (int s = 0; s < kStates; ++s)
        m_statePane2[s] = HasName(names[s]) ? layout->GetPane(names[s]) : CTSPane{};
}

void CPaneButton::SetHitPane(CTSLayout* layout, const char* name, bool apply) {
    if (layout == nullptr || !HasName(name)) {
        m_hitPane = CTSPane{};
        return;
    }
    m_hitPane = layout->GetPane(name);
    if (apply) UpdateRect();
}

void CPaneButton::SetTextures(CTIGroup* group, const char* tex0, const char* tex1, const char* tex2,
                              const char* tex3) {
    m_pGroup = group;
    const char* names[kStates] = {tex0, tex1, tex2, tex3};
    for (int s = 0; s < kStates; ++s) CopyName(m_szTexture[s], kTextureNameLen + 1, names[s]);
    if (ValidState(m_state) && HasTexture(m_state) && m_picturePane.IsValid())
        m_picturePane.SetTexture(m_pGroup, m_szTexture[m_state]);
}

void CPaneButton::SetSounds(const char* focusSound, const char* pressSound) {
    CopyName(m_szFocusSound, kSoundPathLen, focusSound);
    CopyName(m_szPressSound, kSoundPathLen, pressSound);
}

void CPaneButton::MoveTo(int x, int y, int alignment) {
    const TSRect r = GetRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int left = x;
    if ((alignment & 0x0F) == 2) left = x - width / 2;
    if ((alignment & 0x0F) == 3) left = x - width;
    int top = y;
    if ((alignment & 0xF0) == 0x20) top = y - height / 2;
    if ((alignment & 0xF0) == 0x30) top = y - height;
    SetRect(TSRect{left, top, left + width, top + height});
}

void CPaneButton::SetAlpha(uint8_t alpha) {
    for (int s = 0; s < kStates; ++s) {
        if (m_statePane[s].IsValid()) m_statePane[s].SetAlpha(alpha);
        if (m_statePane2[s].IsValid()) m_statePane2[s].SetAlpha(alpha);
    }
    if (m_picturePane.IsValid()) m_picturePane.SetAlpha(alpha);
}

bool CPaneButton::HasTexture(int32_t s) const {
    return ValidState(s) && m_pGroup != nullptr && m_szTexture[s][0] != '\0' &&
           m_pGroup->GetT2IBuffer(m_szTexture[s]) != nullptr;
}

bool CPaneButton::HasLook(int32_t s) const {
    return ValidState(s) &&
           (m_statePane[s].IsValid() || m_statePane2[s].IsValid() || HasTexture(s));
}

void CPaneButton::DrawLook(int32_t s) {
    if (!ValidState(s)) return;
    if (m_statePane[s].IsValid()) m_statePane[s].DrawAnimated();
    if (m_statePane2[s].IsValid()) m_statePane2[s].DrawAnimated();
    // The picture pane is often the normal state's own pane: never draw it twice a frame.
    if (HasTexture(s) && m_picturePane.IsValid() &&
        m_picturePane.GetLytPane() != m_statePane[s].GetLytPane()) {
        m_picturePane.DrawAnimated();
    }
}

void CPaneButton::DrawPressed() {
    DrawLook(kBtnPressed);
    ++m_pressedDrawn;
}

void CPaneButton::SetRect(const TSRect& rect) {
    bool anyStateRect = false;
    for (const TSRect& r : m_stateRect) anyStateRect = anyStateRect || !r.Empty();
    if (!anyStateRect && !m_hitPane.IsValid()) {
        m_rect = rect;
        return;
    }
    const int dx = rect.left - m_rect.left;
    const int dy = rect.top - m_rect.top;
    if (dx == 0 && dy == 0) return;
    for (TSRect& r : m_stateRect)
        if (!r.Empty()) r = Moved(r, dx, dy);
    // The looks travel with the rectangles; a pane shared by several states moves once.
    std::vector<const void*> moved;
    auto move = [&](CTSPane& pane) {
        if (!pane.IsValid()) return;
        for (const void* p : moved)
            if (p == pane.GetLytPane()) return;
        moved.push_back(pane.GetLytPane());
        pane.SetPaneRect(Moved(pane.GetPaneRect(), dx, dy));
    };
    for (int s = 0; s < kStates; ++s) {
        move(m_statePane[s]);
        move(m_statePane2[s]);
    }
    move(m_picturePane);
    move(m_hitPane);
    UpdateRect();
}

bool CPaneButton::RestoresFocus() const {
    return CTSButton::RestoresFocus() || !HasLook(kBtnFocused);
}

void CPaneButton::SetState(int32_t state) {
    const int32_t before = m_state;
    CTSButton::SetState(state);
    if (!ValidState(m_state)) return;
    if (UsesStateRectNow()) UpdateRect();
    m_pressedDrawn = 0;
    if (HasTexture(m_state) && m_picturePane.IsValid())
        m_picturePane.SetTexture(m_pGroup, m_szTexture[m_state]);
    if (m_state == kBtnPressed && before != kBtnPressed && m_soundsEnabled != 0 &&
        m_szPressSound[0] != '\0' && m_pOwner != nullptr) {
        m_pOwner->PlaySe(m_szPressSound);
    }
}

bool CPaneButton::IsAnimating() const {
    if (!HasLook(kBtnPressed)) return false;
    // Only a drawn pressed look counts frames; anything else would keep WaitAnimation
    // polling for ever.
    if (m_state != kBtnPressed || m_visible == 0 || m_drawFlag == 0) return false;
    return m_pressedDrawn < m_pressFrames;
}

void CPaneButton::UpdateRect() {
    if (m_hitPane.IsValid()) {
        m_rect = m_hitPane.GetPaneRect();
        return;
    }
    if (!ValidState(m_state)) return;
    // A state without a pane of its own keeps the normal look's rectangle, so focusing or
    // pressing a button with only two looks never leaves it without a hit area.
    m_rect = m_stateRect[m_state].Empty() ? m_stateRect[kBtnNormal] : m_stateRect[m_state];
}
