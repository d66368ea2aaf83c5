#include "Lib/ZIRur/Layout/ts_pane.h"

#include <algorithm>
#include <cstring>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Layout/ts_anim.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/pane.h"

using LYRALib::lytmgr::Pane;
using LYRALib::lytmgr::detail::SaturateToInt;

CTSPane::CTSPane(CTSLayout* layout, Pane* pane, const char* name)
    : m_pLayout(layout), m_pPane(pane) {
    if (name != nullptr) std::strncpy(m_szName, name, kNameLen);
    if (pane != nullptr) {
        // The first transform bound to the pane is the one the handle plays.
        for (auto* link = pane->GetAnimLinkList().Front(); link != nullptr;
             link = pane->GetAnimLinkList().Next(link)) {
            if (link->mpAnimTrans != nullptr) {
                m_pAnimTrans = link->mpAnimTrans;
                break;
            }
        }
    }
}

bool CTSPane::CheckPane() const {
    if (m_pPane != nullptr) return true;
    LYRA_POINTER_ERROR("m_pPane", static_cast<const void*>(m_pPane));
    return false;
}

TSRect CTSPane::GetPaneRect() const {
    if (m_pPane == nullptr) return TSRect{};
    const float width = m_pPane->GetSize().width;
    const float height = m_pPane->GetSize().height;
    const int horizontal = m_pPane->GetBasePosition() % 3;
    const int vertical = m_pPane->GetBasePosition() / 3;
    // Own rectangle around the anchor point, layout coordinates (y up).
    float left = horizontal == 0 ? 0.0f : (horizontal == 1 ? -width / 2 : -width);
    float top = vertical == 0 ? 0.0f : (vertical == 1 ? height / 2 : height);
    for (const Pane* p = m_pPane; p != nullptr; p = p->GetParent()) {
        left += p->GetTranslate().x;
        top += p->GetTranslate().y;
    }
    const float right = left + width;
    const float bottom = top - height;
    return TSRect{SaturateToInt(left + 512.0f), SaturateToInt(384.0f - top),
                  SaturateToInt(right + 512.0f), SaturateToInt(384.0f - bottom)};
}

TSPoint CTSPane::GetCenter() const {
    const TSRect rect = GetPaneRect();
    return TSPoint{rect.left + (rect.right - rect.left) / 2,
                   rect.top + (rect.bottom - rect.top) / 2};
}

void CTSPane::MoveCenterTo(TSPoint point) {
    if (!CheckPane()) return;
    const TSRect rect = GetPaneRect();
    const TSPoint center = GetCenter();
    const int dx = point.x - center.x;
    const int dy = point.y - center.y;
    SetPaneRect(TSRect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy});
}

void CTSPane::ShiftBack(int dx, int dy) {
    const TSPoint center = GetCenter();
    MoveCenterTo(TSPoint{center.x - dx, center.y - dy});
}

void CTSPane::SetPaneRect(const TSRect& rtNew) {
    if (!CheckPane()) return;
    const TSRect rtOld = GetPaneRect();
    const int newW = rtNew.right - rtNew.left;
    const int newH = rtNew.bottom - rtNew.top;
    const int oldW = rtOld.right - rtOld.left;
    const int oldH = rtOld.bottom - rtOld.top;
    if (newW != oldW || newH != oldH) {
        dbglog::Printf(
            "CTSPane::SetPaneRect()     rtNew and rtOld is different in size. (pane : %s)\n",
            m_szName);
        dbglog::Printf("rtNew (x = %d, y = %d, w = %d, h = %d)\n", rtNew.left, rtNew.top, newW,
                       newH);
        dbglog::Printf("rtOld (x = %d, y = %d, w = %d, h = %d)\n", rtOld.left, rtOld.top, oldW,
                       oldH);
        return;
    }
    // Screen y grows downward, layout y upward.
    LYRALib::lytmgr::Vec3 t = m_pPane->GetTranslate();
    t.x += float(rtNew.left - rtOld.left);
    t.y -= float(rtNew.top - rtOld.top);
    m_pPane->SetTranslate(t);
    if (m_pLayout != nullptr) {
        LYRALib::lytmgr::DrawInfo info = m_pLayout->GetDrawInfo();
        m_pPane->UpdateGlobals(info);
    }
}

void CTSPane::SetVisible(bool visible) {
    if (CheckPane()) m_pPane->SetVisible(visible);
}

bool CTSPane::IsVisible() const {
    return CheckPane() && m_pPane->IsVisible();
}

void CTSPane::SetAlpha(uint8_t alpha) {
    if (CheckPane()) m_pPane->SetAlpha(alpha);
}

uint8_t CTSPane::GetAlpha() const {
    return CheckPane() ? m_pPane->GetAlpha() : 0;
}

void CTSPane::SetSize(int width, int height) {
    if (CheckPane()) m_pPane->SetSize({float(width), float(height)});
}

void CTSPane::GetSize(int& width, int& height) const {
    width = height = 0;
    if (!CheckPane()) return;
    width = SaturateToInt(m_pPane->GetSize().width);
    height = SaturateToInt(m_pPane->GetSize().height);
}

void CTSPane::GetTranslate(int16_t& x, int16_t& y) const {
    x = y = 0;
    if (!CheckPane()) return;
    x = int16_t(SaturateToInt(m_pPane->GetTranslate().x));
    y = int16_t(SaturateToInt(m_pPane->GetTranslate().y));
}

void CTSPane::SetTranslate(float x, float y) {
    if (!CheckPane()) return;
    LYRALib::lytmgr::Vec3 t = m_pPane->GetTranslate();
    t.x = x;
    t.y = y;
    m_pPane->SetTranslate(t);
}

void CTSPane::GetScale(float& x, float& y) const {
    x = y = 0.0f;
    if (!CheckPane()) return;
    x = m_pPane->GetScale().x;
    y = m_pPane->GetScale().y;
}

void CTSPane::SetScale(float x, float y) {
    if (CheckPane()) m_pPane->SetScale({x, y});
}

void CTSPane::SetAnimation(int start, int end, bool loop, int mode) {
    if (!CheckPane() || m_pAnimTrans == nullptr) return;
    const int frames = m_pAnimTrans->GetFrameSize();
    m_loop = loop && frames > 1 ? 1 : 0;
    m_startFrame = std::max(start, 0);
    m_endFrame = end < 1 ? std::max(frames - 1, 0) : end;
    m_mode = m_loop != 0 ? mode : 1;
    m_playing = 1;
}

void CTSPane::AdvanceFrame() {
    if (m_pAnimTrans == nullptr) return;
    StepAnimFrame(m_playing, m_loop, m_startFrame, m_endFrame, m_currentFrame, m_mode);
}

void CTSPane::DrawAnimated() {
    if (m_pLayout == nullptr) {
        LYRA_POINTER_ERROR("m_pLayout", static_cast<const void*>(m_pLayout));
        return;
    }
    if (!CheckPane()) return;
    LYRALib::lytmgr::DrawInfo info = m_pLayout->GetDrawInfo();
    if (m_pAnimTrans != nullptr) {
        m_pAnimTrans->SetFrame(float(m_currentFrame));
        m_pPane->Animate(0);
        LYRALib::lytmgr::DrawInfo calc = info;
        m_pPane->UpdateGlobals(calc);
    }
    m_pPane->Draw(info);
    AdvanceFrame();
}

int CTSPicturePane::SetTexture(CTIGroup* group, const char* fileName) {
    if (m_pLayout == nullptr || m_pPane == nullptr) {
        dbglog::Printf("CTSPicturePane::SetTexture() : No Inited Pane!\n");
        return 0;
    }
    if (group == nullptr || fileName == nullptr) {
        dbglog::Printf("CTSPicturePane::SetTexture() : Parameter Error!\n");
        return 0;
    }
    // Reuse the image the pane already shows, so repeated state switches add nothing.
    if (auto* picture = dynamic_cast<CxPicture*>(m_pLayout->GetPaneObject(m_szName)))
        return picture->Load(group, fileName);
    return m_pLayout->LoadOneResource(TSPictureResource{m_szName, fileName, group});
}
