#pragma once

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"

// The window manager the screens run under. It owns the archive every screen shares, so the
// screens need nothing from the application above them.
class CScreenMgr : public CTSWndMgr {
public:
    // The process's manager when it is one of these, else null (tests of single screens).
    static CScreenMgr* Current() { return dynamic_cast<CScreenMgr*>(CTSWndMgr::Instance()); }

    // "DATA/IMG/COMMON.T2G", opened by the logo screen and shared by every later screen.
    CTIGroup& CommonGroup() { return m_commonGroup; }

private:
    CTIGroup m_commonGroup;
};
