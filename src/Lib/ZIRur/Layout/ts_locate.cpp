#include "Lib/ZIRur/Layout/ts_locate.h"

#include <cmath>
#include <utility>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Layout/ts_drawable.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/lyt/pane.h"

using LYRALib::lytmgr::Pane;

bool IsPaneShown(const Pane& pane) {
    for (const Pane* p = &pane; p != nullptr; p = p->GetParent())
        if (!p->IsVisible()) return false;
    return true;
}

TSRect ScreenRectOf(const Pane& pane) {
    // The same rounding the pictures are drawn with: floored anchor point and size.
    const int width = int(std::floor(pane.GetSize().width * pane.GetGlobalScale().x));
    const int height = int(std::floor(pane.GetSize().height * pane.GetGlobalScale().y));
    const int anchorX = 512 + int(std::floor(pane.GetGlobalTranslate().x));
    const int anchorY = 384 - int(std::floor(pane.GetGlobalTranslate().y));
    const int horizontal = pane.GetBasePosition() % 3;
    const int vertical = pane.GetBasePosition() / 3;
    const int left = anchorX - (horizontal == 0 ? 0 : horizontal == 1 ? width / 2 : width);
    const int top = anchorY - (vertical == 0 ? 0 : vertical == 1 ? height / 2 : height);
    return TSRect{left, top, left + width, top + height};
}

namespace {
// The image name of the picture a pane draws, "" when it draws no picture.
std::string ImageOf(const Pane& pane) {
    const auto* drawable = dynamic_cast<const CTSObjDrawable*>(pane.GetDrawable());
    const auto* picture =
        drawable != nullptr ? dynamic_cast<const CxPicture*>(drawable->Object()) : nullptr;
    return picture != nullptr && picture->IsLoaded() ? picture->Name() : std::string();
}
}  // namespace

PaneState LocatePane(const CTSEventWnd* owner, const char* name, PaneLook& look) {
    if (name == nullptr || !TSingleton<CTSLytMgr>::Exists()) return PaneState::Missing;
    PaneState state = PaneState::Missing;
    const auto& layouts = TSingleton<CTSLytMgr>::GetInstance().Layouts();
    for (auto it = layouts.rbegin(); it != layouts.rend(); ++it) {
        CTSLayout* layout = *it;
        if (layout->Owner() != owner) continue;
        Pane* root = layout->GetLayout().GetRootPane();
        const Pane* pane = root != nullptr ? root->FindPane(name, true) : nullptr;
        if (pane == nullptr) continue;
        if (!IsPaneShown(*pane)) {
            state = PaneState::Hidden;
            continue;
        }
        look.rect = ScreenRectOf(*pane);
        look.image = ImageOf(*pane);
        look.alpha = pane->GetGlobalAlpha();
        return PaneState::Shown;
    }
    return state;
}

bool LocateShownPane(const CTSEventWnd* owner, const char* name, TSRect& rect, std::string* image) {
    PaneLook look;
    if (LocatePane(owner, name, look) != PaneState::Shown) return false;
    rect = look.rect;
    if (image != nullptr) *image = std::move(look.image);
    return true;
}
