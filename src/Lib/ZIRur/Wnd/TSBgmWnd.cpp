#include "Lib/ZIRur/Wnd/TSBgmWnd.h"

#include "Lib/ZIRur/Sound/SoundPlayers.h"

namespace {
SoundSettingsSource g_settingsSource = nullptr;
// The track that keeps running across screens ("" when none), and its start argument.
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
    if (flag != 0) return;
    // Off stops the music at once; switching on again starts the screen's track afresh.
    if (CWave* bgm = BgmPlayer()) bgm->Release();
    g_bgmPath.clear();
}

void CTSBgmWnd::PlayBgm(const char* path, int arg) {
    if (m_bgmEnabled == 0 || path == nullptr) return;
    CWave* bgm = BgmPlayer();
    if (bgm == nullptr) return;
    if (bgm->IsPlaying()) {
        // The same track keeps running across screens.
        if (g_bgmPath == path) return;
        bgm->Release();
    }
    g_bgmArg = arg;
    g_bgmPath = path;
    if (bgm->Load(path)) bgm->Play(true);
}

void CTSBgmWnd::PlaySe(const char* path, int, int) {
    if (m_seEnabled == 0 || path == nullptr) return;
    CWave* se = SePlayer();
    if (se == nullptr) return;
    // Loading stops and replaces an effect still playing.
    if (se->Load(path)) se->Play(false);
}

void CTSBgmWnd::StopSe() {
    if (CWave* se = SePlayer()) se->Stop();
}
