#include "Lib/ZIRur/Sound/SoundDevice.h"

#include <algorithm>
#include <mutex>

#include "Lib/ZIRur/Sound/Sound.h"
#include "Lib/ZIRur/Sound/WavReader.h"

namespace {
std::mutex g_sharedMutex;
std::weak_ptr<CSoundDevice> g_shared;
}  // namespace

std::shared_ptr<CSoundDevice> CSoundDevice::Acquire() {
    std::lock_guard lock(g_sharedMutex);
    if (auto device = g_shared.lock()) return device;
    auto device = std::make_shared<CSoundDevice>();
    if (!device->Start()) return nullptr;
    g_shared = device;
    return device;
}

CSoundDevice::~CSoundDevice() {
    if (m_pPlatform != nullptr) m_pPlatform->StartAudio(nullptr);
}

bool CSoundDevice::Start() {
    if (m_pPlatform != nullptr) return true;
    if (!platform::HasPlatform()) return false;
    platform::Platform& p = platform::GetPlatform();
    if (!p.StartAudio(this)) return false;
    m_pPlatform = &p;
    return true;
}

std::unique_ptr<CSound> CSoundDevice::CreateSound(std::unique_ptr<CWavReader> reader,
                                                  uint32_t creationFlags, int bufferCount) {
    return CSound::Create(*this, std::move(reader), creationFlags, bufferCount);
}

std::unique_ptr<CSound> CSoundDevice::CreateSound(const std::string& path, uint32_t creationFlags,
                                                  int bufferCount) {
    auto reader = std::make_unique<CWavReader>();
    if (!reader->Open(path)) return nullptr;
    return CreateSound(std::move(reader), creationFlags, bufferCount);
}

void CSoundDevice::Mix(int16_t* out, int frames) {
    if (frames <= 0) return;
    std::fill(out, out + size_t(frames) * 2, int16_t(0));
    for (CSoundBuffer* buffer : m_buffers) buffer->MixInto(out, frames);
}

void CSoundDevice::Lock() {
    if (m_pPlatform != nullptr) m_pPlatform->LockAudio();
}

void CSoundDevice::Unlock() {
    if (m_pPlatform != nullptr) m_pPlatform->UnlockAudio();
}

void CSoundDevice::Register(CSoundBuffer* buffer) {
    m_buffers.push_back(buffer);
}

void CSoundDevice::Unregister(CSoundBuffer* buffer) {
    m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), buffer), m_buffers.end());
}
