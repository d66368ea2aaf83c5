#include "screens/ProblemNumberButton.h"

#include <cstdio>

#include "Lib/ZIRur/Layout/ts_layout.h"
#include "screens/ListGrid.h"
#include "screens/ScreenAssets.h"

namespace {
// A handle only for a pane the layout has, so a missing part is logged once at binding.
CTSPicturePane Find(CTSLayout* layout, const char* name) {
    return layout->IsExistPane(name) != 0 ? layout->GetPicturePane(name) : CTSPicturePane{};
}
}  // namespace

void ProblemNumberButton::Bind(CTSLayout* layout, int cellNo) {
    if (layout == nullptr) return;
    char name[32];
    std::snprintf(name, sizeof name, "btn_problem%02d", cellNo);
    m_tile = Find(layout, name);
    for (int d = 0; d < 3; ++d) {
        std::snprintf(name, sizeof name, "%02d_num%d", cellNo, d + 1);
        m_digit[size_t(d)] = Find(layout, name);
    }
    std::snprintf(name, sizeof name, "%02d_check", cellNo);
    m_check = Find(layout, name);
}

void ProblemNumberButton::Arrange(CTIGroup* group, int number, int cell, bool solved) {
    m_number = number;
    m_hidden.fill(false);
    m_hidden[kCheck] = !solved;
    const listgrid::DigitPlaces places = listgrid::DigitsOf(number, cell);
    for (int d = 0; d < 3; ++d) {
        if (d >= places.count) {
            m_hidden[size_t(d)] = true;
            continue;
        }
        CTSPicturePane& pane = m_digit[size_t(d)];
        if (!pane.IsValid()) continue;
        char texture[32];
        std::snprintf(texture, sizeof texture, screen_assets::kListDigitFormat,
                      places.digit[size_t(d)]);
        if (group != nullptr) pane.SetTexture(group, texture);
        pane.MoveCenterTo(TSPoint{places.x[size_t(d)], int(places.y)});
    }
}

void ProblemNumberButton::Show(bool show) {
    if (m_tile.IsValid()) m_tile.SetVisible(show);
    for (int part = 0; part < kParts; ++part) {
        CTSPicturePane& pane = part == kCheck ? m_check : m_digit[size_t(part)];
        if (pane.IsValid()) pane.SetVisible(show && !m_hidden[size_t(part)]);
    }
}

void ProblemNumberButton::SetAlpha(uint8_t alpha) {
    if (m_tile.IsValid()) m_tile.SetAlpha(alpha);
    for (CTSPicturePane& pane : m_digit)
        if (pane.IsValid()) pane.SetAlpha(alpha);
    if (m_check.IsValid()) m_check.SetAlpha(alpha);
}

void ProblemNumberButton::Draw() {
    if (!m_enabled) return;
    if (m_tile.IsValid()) m_tile.DrawAnimated();
    for (CTSPicturePane& pane : m_digit)
        if (pane.IsValid()) pane.DrawAnimated();
    if (m_check.IsValid()) m_check.DrawAnimated();
}
