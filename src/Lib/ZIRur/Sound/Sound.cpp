#include "Lib/ZIRur/Sound/Sound.h"

#include "Lib/ZIRur/Sound/PcmConvert.h"
#include "Lib/ZIRur/Sound/SoundDevice.h"

CSound::CSound(CSoundDevice& device, std::unique_ptr<CWavReader> reader, uint32_t bufferSize,
               uint32_t creationFlags)
    : m_device(device),
      m_bufferSize(bufferSize),
      m_pWaveFile(std::move(reader)),
      m_creationFlags(creationFlags) {}

std::unique_ptr<CSound> CSound::Create(CSoundDevice& device, std::unique_ptr<CWavReader> reader,
                                       uint32_t creationFlags, int bufferCount) {
    if (!reader || !reader->IsOpen() || bufferCount < 1) return nullptr;
    if (!pcm::IsPlayableFormat(reader->Format(), reader->ExtraFormat())) return nullptr;
    const uint32_t size = reader->DataSize();
    if (size == 0 || size > CSoundDevice::kMaxBufferBytes) return nullptr;

    std::unique_ptr<CSound> sound(new CSound(device, std::move(reader), size, creationFlags));
    std::vector<int16_t> samples;
    uint64_t totalFrames = 0;
    if (!sound->ReadSamples(samples, totalFrames)) return nullptr;
    std::vector<std::unique_ptr<CSoundBuffer>> buffers;
    for (int i = 0; i < bufferCount; ++i) {
        buffers.push_back(std::make_unique<CSoundBuffer>(samples, totalFrames));
    }
    // Conversion happens above, outside the lock, so the output never waits for a file.
    CSoundLock lock(device);
    sound->m_buffers = std::move(buffers);
    for (auto& buffer : sound->m_buffers) device.Register(buffer.get());
    return sound;
}

CSound::~CSound() {
    CSoundLock lock(m_device);
    for (auto& buffer : m_buffers) m_device.Unregister(buffer.get());
}

bool CSound::ReadSamples(std::vector<int16_t>& samples, uint64_t& totalFrames) {
    const WavFormat& format = m_pWaveFile->Format();
    const uint64_t statedFrames = m_bufferSize / format.blockAlign;
    totalFrames = pcm::OutputFrameCount(statedFrames, format.sampleRate);
    if (totalFrames == 0) return false;

    // Only what the file holds is read and converted; the rest of the buffer is silence
    // (128 for 8-bit samples, 0 for 16-bit, which both convert to 0) and is not stored.
    const uint64_t presentFrames = m_pWaveFile->DataPresent() / format.blockAlign;
    if (pcm::OutputFrameCount(presentFrames, format.sampleRate) > CSoundDevice::kMaxSampleFrames) {
        return false;
    }
    std::vector<uint8_t> data(size_t(presentFrames) * format.blockAlign);
    m_pWaveFile->ResetFile();
    data.resize(m_pWaveFile->Read(data.data(), data.size()));
    samples = pcm::ConvertToOutput(format, m_pWaveFile->ExtraFormat(), data);
    return true;
}

CSoundBuffer* CSound::GetBuffer(int index) {
    if (index < 0 || index >= NumBuffers()) return nullptr;
    return m_buffers[size_t(index)].get();
}

CSoundBuffer* CSound::GetFreeBuffer() {
    for (auto& buffer : m_buffers) {
        if (!buffer->IsPlaying()) return buffer.get();
    }
    std::uniform_int_distribution<size_t> pick(0, m_buffers.size() - 1);
    return m_buffers[pick(m_random)].get();
}

bool CSound::Play(uint32_t priority, bool loop) {
    (void)priority;
    CSoundLock lock(m_device);
    GetFreeBuffer()->Play(loop);
    return true;
}

bool CSound::Stop() {
    CSoundLock lock(m_device);
    for (auto& buffer : m_buffers) buffer->Stop();
    return true;
}

bool CSound::Reset() {
    CSoundLock lock(m_device);
    for (auto& buffer : m_buffers) buffer->SetCurrentPosition(0);
    return true;
}

bool CSound::IsSoundPlaying() {
    CSoundLock lock(m_device);
    for (auto& buffer : m_buffers) {
        if (buffer->IsPlaying()) return true;
    }
    return false;
}
