#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Layout/ts_anim.h"
#include "Lib/ZIRur/Layout/ts_drawable.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "Lib/lyt/arcResourceAccessor.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/layout.h"

class CGObj;
class CText;
class CTIGroup;
class CTSEventWnd;
class CTSLytMgr;
class CxPicture;

// One row of a screen's picture table: which image goes into which pane.
struct TSPictureResource {
    const char* m_szPaneName;
    const char* m_szFileName;
    CTIGroup* m_pGroup;
};

// One row of a screen's text table: which font and first string go into which text pane.
struct TSTextResource {
    const char* m_szPaneName;
    const char* m_szFontResource;
    const char* m_szFontFile;
    int m_size;
    const char* m_szString;
    CTIGroup* m_pGroup;
};

// A layout file of a screen, with the pictures and texts it shows. Registered with the
// layout manager while loaded, so it is brought up to date every frame.
class CTSLayout {
public:
    static constexpr size_t kReservedObjects = 500;

    CTSLayout();
    // Unregisters, then frees every picture and text it owns.
    virtual ~CTSLayout();
    CTSLayout(const CTSLayout&) = delete;
    CTSLayout& operator=(const CTSLayout&) = delete;

    // Builds "<name>.lyt" from the archive and registers the layout. 1/0 (logged).
    int Load(CTIGroup* group, const char* name, CTSEventWnd* owner);
    // Draws the pane tree with the current drawing information.
    void Draw();

    // Handles by pane name (depth-first); the handle is empty when no pane has the name.
    CTSPane GetPane(const char* name);
    CTSPicturePane GetPicturePane(const char* name);
    CTSTextPane GetTextPane(const char* name);
    int IsExistPane(const char* name);

    // The picture or text the pane draws; null without one or without the pane.
    CGObj* GetPaneObject(const char* name);
    // Makes the pane draw `object` (not owned). 1 if the pane exists.
    int SetPaneObject(const char* name, CGObj* object);

    // Loads every usable row; rows with a null field are skipped with a log line.
    void LoadResource(const TSPictureResource* rows, int count);
    // Loads every usable row; rows without pane name or font file, or with size 0, are skipped.
    void LoadResource(const TSTextResource* rows, int count);
    int LoadOneResource(const TSPictureResource& row);
    int LoadOneResource(const TSTextResource& row);

    // Loads "<name>.anm", binds it to the tree and leaves it stopped. 1 when loaded (or
    // already loaded), 0 (logged) otherwise.
    int LoadAnimation(CTIGroup* group, const char* name);
    // Starts a loaded animation over its whole range. 1 if it was loaded.
    int StartAnimation(const char* name);
    // The record of a loaded animation, or null.
    AnimTransInfo* FindAnimation(const char* name);

    // Per-frame step of the manager: animate, then recompute every pane for the screen view.
    void Update();

    LYRALib::lytmgr::Layout& GetLayout() { return m_layout; }
    LYRALib::lytmgr::DrawInfo& GetDrawInfo() { return m_drawInfo; }
    const std::string& Name() const { return m_szName; }
    size_t PictureCount() const { return m_pictures.size(); }
    size_t TextCount() const { return m_texts.size(); }
    bool IsLoaded() const { return m_pManager != nullptr; }
    // The window that loaded the layout (null before Load).
    const CTSEventWnd* Owner() const { return m_pOwner; }

private:
    LYRALib::lytmgr::Pane* FindPane(const char* name) const;
    // The adapter that lets a pane draw `object`, made on first use.
    LYRALib::lytmgr::Drawable* DrawableFor(CGObj* object, bool picture);

    LYRALib::lytmgr::DrawInfo m_drawInfo;
    // The converted layout file; the tree points into it, so it outlives m_layout.
    std::vector<uint8_t> m_fileCopy;
    // Loaded animations; their files outlive the transforms the layout owns.
    std::vector<std::unique_ptr<AnimTransInfo>> m_animations;
    LYRALib::lytmgr::Layout m_layout;
    LYRALib::lytmgr::ArcResourceAccessor m_arc;
    CTSLytMgr* m_pManager = nullptr;
    const CTSEventWnd* m_pOwner = nullptr;
    std::vector<std::unique_ptr<CxPicture>> m_pictures;
    std::vector<std::unique_ptr<CText>> m_texts;
    // Pane adapters of every object ever attached; they outlive the panes' use of them.
    std::vector<std::unique_ptr<CTSObjDrawable>> m_drawables;
    std::string m_szName;
};

// Keeps every loaded layout and brings them all up to date once per frame.
class CTSLytMgr {
public:
    static constexpr size_t kReservedLayouts = 100;

    // Installs the per-frame update into the screen framework.
    CTSLytMgr();
    // Removes the per-frame update again.
    ~CTSLytMgr();
    CTSLytMgr(const CTSLytMgr&) = delete;
    CTSLytMgr& operator=(const CTSLytMgr&) = delete;

    // Registers a layout once.
    void Add(CTSLayout* layout);
    void Remove(CTSLayout* layout);
    // Updates every registered layout in registration order.
    void UpdateAll();
    size_t Count() const { return m_layouts.size(); }
    // Registered layouts, oldest first.
    const std::vector<CTSLayout*>& Layouts() const { return m_layouts; }

private:
    std::vector<CTSLayout*> m_layouts;
};
