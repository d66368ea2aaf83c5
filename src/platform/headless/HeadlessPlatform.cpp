#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>

namespace platform {

namespace {
constexpr int kAudioRate = 22050;
}

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

uint32_t HeadlessPlatform::TickCount() {
    std::lock_guard lock(m_mutex);
    return uint32_t(m_now);
}

uint64_t HeadlessPlatform::Now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

void HeadlessPlatform::SetNow(uint64_t ms) {
    AdvanceTo(ms);
}

void HeadlessPlatform::Sleep(uint32_t ms) {
    uint64_t until = Now() + ms;
    if (m_sleepHook) m_sleepHook(until);
    AdvanceTo(until);
}

void HeadlessPlatform::AdvanceTo(uint64_t ms) {
    {
        std::lock_guard lock(m_mutex);
        if (ms <= m_now) return;
        m_now = ms;
    }
    // The mixer runs on the virtual clock: pull exactly the frames that elapsed.
    std::lock_guard audio(m_audioLock);
    uint64_t due = ms * kAudioRate / 1000;
    if (m_audio == nullptr) {
        m_audioFramesPulled = due;
        return;
    }
    std::vector<int16_t> chunk;
    while (m_audioFramesPulled < due) {
        int frames = int(std::min<uint64_t>(due - m_audioFramesPulled, 4096));
        chunk.assign(size_t(frames) * 2, 0);
        m_audio->Mix(chunk.data(), frames);
        if (m_keepAudio) m_samples.insert(m_samples.end(), chunk.begin(), chunk.end());
        m_audioFramesPulled += uint64_t(frames);
    }
}

void HeadlessPlatform::StartWindowTimer(int id, uint32_t periodMs) {
    std::lock_guard lock(m_mutex);
    m_windowTimers[id] = WindowTimer{periodMs, m_now + periodMs};
}

void HeadlessPlatform::StopWindowTimer(int id) {
    std::lock_guard lock(m_mutex);
    m_windowTimers.erase(id);
}

bool HeadlessPlatform::NextWindowTimer(uint64_t until, int& id, uint64_t& at) const {
    std::lock_guard lock(m_mutex);
    bool found = false;
    for (const auto& [timerId, timer] : m_windowTimers) {
        if (timer.period == 0 || timer.next > until) continue;
        if (!found || timer.next < at) {
            found = true;
            id = timerId;
            at = timer.next;
        }
    }
    return found;
}

void HeadlessPlatform::WindowTimerFired(int id, uint64_t at) {
    std::lock_guard lock(m_mutex);
    auto it = m_windowTimers.find(id);
    if (it != m_windowTimers.end()) it->second.next = at + it->second.period;
}

void HeadlessPlatform::SubmitFrame(DrawList&& frame) {
    std::lock_guard lock(m_mutex);
    m_latest = std::move(frame);
    ++m_frames;
}

void HeadlessPlatform::ReleaseTexture(uint64_t textureId) {
    std::lock_guard lock(m_mutex);
    m_released.push_back(textureId);
}

std::vector<uint64_t> HeadlessPlatform::TakeReleased() {
    std::lock_guard lock(m_mutex);
    return std::move(m_released);
}

DrawList HeadlessPlatform::LatestFrame() const {
    std::lock_guard lock(m_mutex);
    return m_latest;
}

uint64_t HeadlessPlatform::FrameCount() const {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

void HeadlessPlatform::ShowMessage(const std::string& text, const std::string&) {
    Trace(TraceKind::MsgBox, text + " -> ok");
}

std::optional<bool> HeadlessPlatform::AskYesNo(const std::string& text, const std::string&) {
    Trace(TraceKind::MsgBox, text + (m_answer ? " -> yes" : " -> no"));
    return m_answer;
}

bool HeadlessPlatform::OpenUrl(const std::string& path) {
    // With '/' between folders on every system, so traces read alike.
    std::string generic = path;
    std::replace(generic.begin(), generic.end(), '\\', '/');
    Trace(TraceKind::Url, generic);
    return m_openUrlResult;
}

bool HeadlessPlatform::StartAudio(AudioSource* source) {
    std::lock_guard audio(m_audioLock);
    m_audio = source;
    return true;
}

std::vector<int16_t> HeadlessPlatform::TakeAudio() {
    std::lock_guard audio(m_audioLock);
    return std::move(m_samples);
}

void HeadlessPlatform::Trace(TraceKind kind, const std::string& detail) {
    if (m_traceSink) m_traceSink(Now(), kind, detail);
}

std::string HeadlessPlatform::TraceName(TraceKind kind) {
    switch (kind) {
        case TraceKind::Scene:
            return "scene";
        case TraceKind::Bgm:
            return "bgm";
        case TraceKind::BgmStop:
            return "bgm stop";
        case TraceKind::Se:
            return "se";
        case TraceKind::MsgBox:
            return "msgbox";
        case TraceKind::Url:
            return "url";
        case TraceKind::Save:
            return "save";
        case TraceKind::Exit:
            return "exit";
        case TraceKind::Pane:
            return "pane";
        case TraceKind::Memory:
            return "memory";
        case TraceKind::Say:
            return "say";
    }
    return "?";
}

}  // namespace platform
