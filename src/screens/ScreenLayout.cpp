#include "screens/ScreenLayout.h"

#include <cstring>

#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/Text.h"
#include "screens/ScreenMgr.h"

void ScreenLayout::Load(CTSEventWnd* window) {
    m_group.Open(m_names.archive);
    if (m_names.layout != nullptr) m_layout.Load(&m_group, m_names.layout, window);
}

CTIGroup* ScreenLayout::GroupFor(screen_assets::Source source) {
    if (source == screen_assets::Source::Screen) return &m_group;
    CScreenMgr* app = CScreenMgr::Current();
    return app != nullptr ? &app->CommonGroup() : nullptr;
}

bool ScreenLayout::IsButtonLook(const char* pane) const {
    for (const screen_assets::ButtonName& b : m_names.buttons)
        if (std::strcmp(pane, b.normalPane) == 0 || std::strcmp(pane, b.pressedPane) == 0)
            return true;
    return false;
}

void ScreenLayout::Create(CTSEventWnd* window) {
    if (!m_layout.IsLoaded()) return;
    for (const screen_assets::PictureName& row : m_names.pictures) {
        m_layout.LoadOneResource(TSPictureResource{row.pane, row.texture, GroupFor(row.source)});
        if (!IsButtonLook(row.pane) && m_layout.IsExistPane(row.pane) != 0)
            m_drawn.push_back(m_layout.GetPane(row.pane));
    }
    for (const screen_assets::ButtonName& b : m_names.buttons) {
        auto button = std::make_unique<CPaneButton>();
        button->Create(window, uint16_t(b.id), &m_layout, b.normalPane, b.pressedPane);
        m_buttons.push_back(std::move(button));
    }
    for (const screen_assets::TextName& row : m_names.texts)
        m_layout.LoadOneResource(
            TSTextResource{row.pane, CFontMgr::kArchivePath, row.fontFile, row.size, "", &m_group});
}

void ScreenLayout::Draw() {
    for (CTSPane& pane : m_drawn) pane.DrawAnimated();
}

void ScreenLayout::SetAlpha(uint8_t alpha) {
    for (CTSPane& pane : m_drawn) pane.SetAlpha(alpha);
    for (auto& button : m_buttons) button->SetAlpha(alpha);
}

CPaneButton* ScreenLayout::Button(uint16_t id) {
    for (auto& button : m_buttons)
        if (button->m_id == id) return button.get();
    return nullptr;
}

void ScreenLayout::ShowButton(uint16_t id, bool show) {
    CPaneButton* button = Button(id);
    if (button == nullptr) return;
    button->SetVisible(show);
    button->SetEnabled(show);
}

bool ScreenLayout::Has(const char* name) {
    return m_layout.IsLoaded() && m_layout.IsExistPane(name) != 0;
}

void ScreenLayout::SetVisible(const char* name, bool shown) {
    if (Has(name)) Pane(name).SetVisible(shown);
}

bool ScreenLayout::IsShown(const char* name) {
    return Has(name) && Pane(name).IsVisible();
}

void ScreenLayout::SetPaneAlpha(const char* name, uint8_t alpha) {
    if (Has(name)) Pane(name).SetAlpha(alpha);
}

void ScreenLayout::MoveCenterTo(const char* name, TSPoint centre) {
    if (Has(name)) Pane(name).MoveCenterTo(centre);
}

void ScreenLayout::DrawPane(const char* name) {
    if (Has(name)) Pane(name).DrawAnimated();
}

void ScreenLayout::SetPicture(const char* name, screen_assets::Source source, const char* texture) {
    if (Has(name)) PicturePane(name).SetTexture(GroupFor(source), texture);
}

CText* ScreenLayout::TextObject(const char* name) {
    return Has(name) ? dynamic_cast<CText*>(m_layout.GetPaneObject(name)) : nullptr;
}

void ScreenLayout::SetText(const char* name, const std::string& text, int reveal) {
    CText* object = TextObject(name);
    if (object == nullptr) return;
    object->SetRevealCount(reveal);
    object->SetString(text.c_str());
}

std::string ScreenLayout::Text(const char* name) {
    CText* object = TextObject(name);
    return object != nullptr ? object->String() : std::string();
}
