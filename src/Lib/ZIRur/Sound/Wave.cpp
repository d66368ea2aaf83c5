#include "Lib/ZIRur/Sound/Wave.h"

#include "platform/Platform.h"

namespace {
void TraceSound(platform::TraceKind kind, const std::string& path) {
    if (platform::HasPlatform()) platform::GetPlatform().Trace(kind, path);
}
}  // namespace

CWave::CWave(SoundRole role) : m_role(role), m_pDevice(CSoundDevice::Acquire()) {}

CWave::~CWave() {
    StopPlaying(false);
    m_pSound.reset();
    m_pDevice.reset();
}

void CWave::StopPlaying(bool trace) {
    if (!m_pSound || !m_pSound->IsSoundPlaying()) return;
    m_pSound->Stop();
    if (trace && m_role == SoundRole::Bgm) TraceSound(platform::TraceKind::BgmStop, "");
}

bool CWave::Load(const std::string& path) {
    if (!m_pDevice) return false;
    StopPlaying(true);
    m_pSound.reset();
    m_path.clear();
    m_pSound = m_pDevice->CreateSound(path);
    if (!m_pSound) return false;
    m_path = path;
    return true;
}

bool CWave::Play(bool loop) {
    if (!m_pSound) return false;
    const bool wasPlaying = m_pSound->IsSoundPlaying();
    if (!m_pSound->Play(0, loop)) return false;
    if (!wasPlaying) {
        TraceSound(m_role == SoundRole::Bgm ? platform::TraceKind::Bgm : platform::TraceKind::Se,
                   m_path);
    }
    return true;
}

bool CWave::Stop() {
    if (!m_pSound) return false;
    StopPlaying(true);
    return true;
}

bool CWave::Release() {
    if (!m_pSound) return false;
    StopPlaying(true);
    m_pSound.reset();
    m_path.clear();
    return true;
}

bool CWave::IsPlaying() {
    if (!m_pSound) return false;
    return m_pSound->IsSoundPlaying();
}
