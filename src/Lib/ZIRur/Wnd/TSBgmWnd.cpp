#include "Lib/ZIRur/Wnd/TSBgmWnd.h"

namespace {
SoundSettingsSource g_settingsSource = nullptr;
// The track that keeps running across screens, and the argument it was started with.
std::string g_bgmPath;
int g_bgmArg = 0;
}  // namespace

void SetSoundSettingsSource(SoundSettingsSource source) {
    g_settingsSource = source;
}
const std::string& CurrentBgmPath() {
    return g_bgmPath;
}

void CTSBgmWnd::ApplySoundSettings() {
    if (g_settingsSource == nullptr) return;
    TSSoundSettings settings = g_settingsSource();
    SetBgmEnabled(settings.music);
    SetSeEnabled(settings.effects);
}

void CTSBgmWnd::DispatchEvent(uint32_t code, uint32_t p1, uint32_t p2) {
    if (code == kEvLoad && FilterEvent(code, p1, p2) != 0) ApplySoundSettings();
    CTSWnd::DispatchEvent(code, p1, p2);
}

void CTSBgmWnd::SetBgmEnabled(int flag) {
    m_bgmEnabled = flag;
    if (flag == 0) {
        g_bgmPath.clear();
        (void)g_bgmArg;
    }
}

void CTSBgmWnd::PlayBgm(const char* path, int arg) {
    if (m_bgmEnabled == 0 || path == nullptr) return;
    if (g_bgmPath == path) return;
    g_bgmArg = arg;
    g_bgmPath = path;
}

void CTSBgmWnd::PlaySe(const char* path, int, int) {
    if (m_seEnabled == 0 || path == nullptr) return;
}

void CTSBgmWnd::StopSe() {}
