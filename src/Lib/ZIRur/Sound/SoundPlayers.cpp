#include "Lib/ZIRur/Sound/SoundPlayers.h"

#include <memory>

namespace {
std::unique_ptr<CWave> g_bgmPlayer;
std::unique_ptr<CWave> g_sePlayer;
}  // namespace

void CreateSoundPlayers() {
    if (!g_bgmPlayer) g_bgmPlayer = std::make_unique<CWave>(SoundRole::Bgm);
    if (!g_sePlayer) g_sePlayer = std::make_unique<CWave>(SoundRole::Se);
}

void DeleteSoundPlayers() {
    g_sePlayer.reset();
    g_bgmPlayer.reset();
}

CWave* BgmPlayer() {
    return g_bgmPlayer.get();
}
CWave* SePlayer() {
    return g_sePlayer.get();
}
