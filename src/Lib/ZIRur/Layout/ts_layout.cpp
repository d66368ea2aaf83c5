#include "Lib/ZIRur/Layout/ts_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSLytWnd.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/textBox.h"

using LYRALib::lytmgr::Pane;

CTSLayout::CTSLayout() {
    m_pictures.reserve(kReservedObjects);
    m_texts.reserve(kReservedObjects);
}

CTSLayout::~CTSLayout() {
    if (m_pManager != nullptr && TSingleton<CTSLytMgr>::Exists())
        TSingleton<CTSLytMgr>::GetInstance().Remove(this);
    // The pane tree is destroyed after the objects it points at; it never draws again.
}

int CTSLayout::Load(CTIGroup* group, const char* name, CTSEventWnd* owner) {
    const char* shown = name != nullptr ? name : "";
    if (group == nullptr) {
        TS_WARN("pT2g", 0, "CTSLayout::Load() : pT2g is NULL. %s\n", shown);
        return 0;
    }
    char fileName[256];
    std::snprintf(fileName, sizeof fileName, "%s.lyt", shown);
    uint8_t* lytRes = group->GetT2IBuffer(fileName);
    if (lytRes == nullptr) {
        TS_WARN("lytRes", 0, "CTSLayout::Load() : pT2g->GetT2IBuffer() is NULL. %s\n", fileName);
        return 0;
    }
    m_szName = fileName;
    if (!m_arc.Attach(group)) {
        TS_WARN("FALSE", 0, "CTSLayout::Load() : m_arc.Attach() is faile. %s\n", fileName);
        return 0;
    }
    // The layout converts its file in place: build from a copy so the archive stays as read
    // (a second layout of the same name, or a re-open, must see the original bytes).
    const uint32_t size = group->GetT2ISize(fileName);
    // A built layout keeps pointers into its copy: never replace it under a live tree.
    if (m_layout.GetRootPane() != nullptr) {
        TS_WARN("bRet", 0, "CTSLayout::Load() : m_layout.Build() is faile. %s\n", fileName);
        return 0;
    }
    m_fileCopy.assign(lytRes, lytRes + size);
    const bool bRet = m_layout.Build(m_fileCopy.data(), m_fileCopy.size(), &m_arc);
    if (!bRet) {
        TS_WARN("bRet", bRet, "CTSLayout::Load() : m_layout.Build() is faile. %s\n", fileName);
        return 0;
    }
    m_pManager = &TSingleton<CTSLytMgr>::GetInstance();
    m_pOwner = owner;
    m_pManager->Add(this);
    return 1;
}

void CTSLayout::Draw() {
    m_layout.Draw(m_drawInfo);
}

AnimTransInfo* CTSLayout::FindAnimation(const char* name) {
    if (name == nullptr) return nullptr;
    for (auto& info : m_animations)
        if (std::strncmp(info->m_szName, name, AnimTransInfo::kNameLen - 1) == 0) return info.get();
    return nullptr;
}

int CTSLayout::LoadAnimation(CTIGroup* group, const char* name) {
    const char* shown = name != nullptr ? name : "";
    if (FindAnimation(name) != nullptr) return 1;
    char fileName[256];
    std::snprintf(fileName, sizeof fileName, "%s.anm", shown);
    const uint8_t* data = group != nullptr ? group->GetT2IBuffer(fileName) : nullptr;
    if (data == nullptr) {
        dbglog::Printf("CTSLayout::LoadAnimation() : pT2g->GetT2IBuffer() is failed. %s(%s)\n",
                       m_szName.c_str(), fileName);
        return 0;
    }
    auto info = std::make_unique<AnimTransInfo>();
    // Conversion works in place: use a copy so the archive keeps the original bytes.
    info->m_file.assign(data, data + group->GetT2ISize(fileName));
    info->m_pAnimTrans =
        m_layout.CreateAnimTransform(info->m_file.data(), info->m_file.size(), &m_arc);
    if (info->m_pAnimTrans == nullptr) {
        dbglog::Printf(
            "CTSLayout::LoadAnimation() : m_layout.CreateAnimTransform() is failed. %s(%s)\n",
            m_szName.c_str(), fileName);
        return 0;
    }
    m_layout.AttachAnim(info->m_pAnimTrans);
    m_layout.EnableAnim(info->m_pAnimTrans, false);
    std::strncpy(info->m_szName, shown, AnimTransInfo::kNameLen - 1);
    m_animations.push_back(std::move(info));
    return 1;
}

int CTSLayout::StartAnimation(const char* name) {
    AnimTransInfo* info = FindAnimation(name);
    if (info == nullptr) return 0;
    m_layout.EnableAnim(info->m_pAnimTrans, true);
    info->SetAnimationProp(-1, -1, 1);
    return 1;
}

void CTSLayout::Update() {
    for (auto& info : m_animations) {
        info->Step();
        info->m_pAnimTrans->SetFrame(float(info->m_currentFrame));
    }
    m_layout.Animate(0);
    m_drawInfo.mViewRect = LYRALib::lytmgr::Rect{-512.0f, 384.0f, 512.0f, -384.0f};
    m_layout.UpdateGlobals(m_drawInfo);
}

Pane* CTSLayout::FindPane(const char* name) const {
    Pane* root = m_layout.GetRootPane();
    if (root == nullptr || name == nullptr) return nullptr;
    return root->FindPane(name, true);
}

CTSPane CTSLayout::GetPane(const char* name) {
    Pane* pane = FindPane(name);
    if (pane == nullptr) {
        const bool bRet = false;
        TS_WARN("bRet", bRet, "CTSLayout::GetPane() is failed! %s\n", name != nullptr ? name : "");
    }
    return CTSPane(this, pane, name);
}

CTSPicturePane CTSLayout::GetPicturePane(const char* name) {
    Pane* pane = FindPane(name);
    if (pane == nullptr) {
        const bool bRet = false;
        TS_WARN("bRet", bRet, "CTSLayout::GetPicturePane() is failed! %s\n",
                name != nullptr ? name : "");
    }
    return CTSPicturePane(this, pane, name);
}

CTSTextPane CTSLayout::GetTextPane(const char* name) {
    Pane* pane = FindPane(name);
    if (pane == nullptr) {
        const bool bRet = false;
        TS_WARN("bRet", bRet, "CTSLayout::GetTextPane() is failed! %s\n",
                name != nullptr ? name : "");
    }
    return CTSTextPane(this, pane, name);
}

int CTSLayout::IsExistPane(const char* name) {
    Pane* pRoot = m_layout.GetRootPane();
    if (pRoot == nullptr) {
        TS_WARN("pRoot", 0, "CTSLayout::IsExistPane() : Pane Error %s.\n",
                name != nullptr ? name : "");
        return 0;
    }
    return FindPane(name) != nullptr ? 1 : 0;
}

CGObj* CTSLayout::GetPaneObject(const char* name) {
    Pane* pane = FindPane(name);
    if (pane == nullptr) return nullptr;
    // Only adapters made here are ever attached, but check rather than trust.
    for (auto& drawable : m_drawables)
        if (drawable.get() == pane->GetDrawable()) return drawable->Object();
    return nullptr;
}

LYRALib::lytmgr::Drawable* CTSLayout::DrawableFor(CGObj* object, bool picture) {
    if (object == nullptr) return nullptr;
    for (auto& drawable : m_drawables)
        if (drawable->Object() == object) return drawable.get();
    if (picture)
        m_drawables.push_back(
            std::make_unique<CTSPictureDrawable>(static_cast<CxPicture*>(object)));
    else
        m_drawables.push_back(std::make_unique<CTSObjDrawable>(object));
    return m_drawables.back().get();
}

int CTSLayout::SetPaneObject(const char* name, CGObj* object) {
    Pane* pane = FindPane(name);
    if (pane == nullptr) return 0;
    const bool isPicture = dynamic_cast<CxPicture*>(object) != nullptr;
    pane->AttachDrawable(DrawableFor(object, isPicture));
    return 1;
}

int CTSLayout::LoadOneResource(const TSPictureResource& row) {
    if (IsExistPane(row.m_szPaneName) == 0) {
        dbglog::Printf("CTSLayout::LoadOneResource() : pane does not exist. %s name=%s\n",
                       m_szName.c_str(), row.m_szPaneName != nullptr ? row.m_szPaneName : "");
        return 0;
    }
    auto pimg = std::make_unique<CxPicture>();
    // A missing image leaves the picture empty; the pane then draws nothing.
    pimg->Load(row.m_pGroup, row.m_szFileName);
    SetPaneObject(row.m_szPaneName, pimg.get());
    m_pictures.push_back(std::move(pimg));
    return 1;
}

int CTSLayout::LoadOneResource(const TSTextResource& row) {
    if (IsExistPane(row.m_szPaneName) == 0) {
        dbglog::Printf("CTSLayout::LoadOneResource() : pane does not exist. %s name=%s\n",
                       m_szName.c_str(), row.m_szPaneName != nullptr ? row.m_szPaneName : "");
        return 0;
    }
    int width = 0;
    int height = 0;
    if (auto* box = dynamic_cast<LYRALib::lytmgr::TextBox*>(FindPane(row.m_szPaneName))) {
        width = LYRALib::lytmgr::detail::SaturateToInt(box->GetFontSize().width);
        height = LYRALib::lytmgr::detail::SaturateToInt(box->GetFontSize().height);
    }
    auto ptxt = std::make_unique<CText>();
    ptxt->Init(row.m_pGroup, row.m_szFontResource, row.m_szFontFile, width, height);
    ptxt->SetString(row.m_szString != nullptr ? row.m_szString : "", true);
    SetPaneObject(row.m_szPaneName, ptxt.get());
    m_texts.push_back(std::move(ptxt));
    return 1;
}

void CTSLayout::LoadResource(const TSPictureResource* rows, int count) {
    if (rows == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const TSPictureResource& row = rows[i];
        if (row.m_szPaneName == nullptr || row.m_szFileName == nullptr || row.m_pGroup == nullptr) {
            dbglog::Printf("CTSLayout::LoadResource() : Picture index = %d : Null pointer error!\n",
                           i);
            continue;
        }
        LoadOneResource(row);
    }
}

void CTSLayout::LoadResource(const TSTextResource* rows, int count) {
    if (rows == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const TSTextResource& row = rows[i];
        if (row.m_szPaneName == nullptr || row.m_szFontFile == nullptr || row.m_size == 0) {
            dbglog::Printf("CTSLayout::LoadResource() : Font index = %d : Null pointer error!\n",
                           i);
            continue;
        }
        LoadOneResource(row);
    }
}

// ---- manager ----

namespace {
void UpdateRegisteredLayouts() {
    if (TSingleton<CTSLytMgr>::Exists()) TSingleton<CTSLytMgr>::GetInstance().UpdateAll();
}
}  // namespace

CTSLytMgr::CTSLytMgr() {
    m_layouts.reserve(kReservedLayouts);
    SetLayoutUpdateHook(&UpdateRegisteredLayouts);
}

CTSLytMgr::~CTSLytMgr() {
    SetLayoutUpdateHook(nullptr);
}

void CTSLytMgr::Add(CTSLayout* layout) {
    if (layout == nullptr) return;
    if (std::find(m_layouts.begin(), m_layouts.end(), layout) == m_layouts.end())
        m_layouts.push_back(layout);
}

void CTSLytMgr::Remove(CTSLayout* layout) {
    std::erase(m_layouts, layout);
}

void CTSLytMgr::UpdateAll() {
    for (CTSLayout* layout : m_layouts) layout->Update();
}
