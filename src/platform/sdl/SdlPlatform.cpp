#include "platform/sdl/SdlPlatform.h"

#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/LeakSanitizer.h"

// SDL keeps a few blocks of its audio drivers, and its D-Bus connection, until the process
// ends.
STONEWELL_LEAK_SUPPRESSIONS("leak:libSDL2-2.0.so\nleak:libdbus-1.so\n")

namespace platform {

namespace {

// Wall-clock time for the start-up measurement (compared with the time of exec).
void LogMoment(const char* what) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    dbglog::Printf("%s at %lld.%06ld\n", what, static_cast<long long>(now.tv_sec),
                   now.tv_nsec / 1000);
}

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// User events: the offsets from the registered base.
enum UserEvent : Uint32 { kFrameReady = 0, kWake = 1, kTimer = 2, kUserEventCount = 3 };

// Without a GPU SDL would render through a software OpenGL, which costs several times more
// than its own software renderer. STONEWELL_RENDERER=software|accelerated overrides.
bool PreferSoftwareRenderer() {
    if (const char* choice = SDL_getenv("STONEWELL_RENDERER")) {
        if (SDL_strcmp(choice, "software") == 0) return true;
        if (SDL_strcmp(choice, "accelerated") == 0) return false;
    }
#ifdef __linux__
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return false;
    return true;
#else
    return false;  // Windows draws through Direct3D, which every machine has
#endif
}

int KeyCode(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_SPACE:
            return 32;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        default:
            break;
    }
    // Letters and digits report their upper-case ASCII code, as virtual-key codes do.
    if (key >= 'a' && key <= 'z') return int(key - 'a' + 'A');
    if (key >= '0' && key <= '9') return int(key);
    return 0;
}

}  // namespace

struct SdlPlatform::DialogRequest {
    std::string text;
    std::string title;
    bool yesNo = false;
    int result = 0;
    bool done = false;
};

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
    StartAudio(nullptr);
    for (auto& [id, timer] : m_timers) SDL_RemoveTimer(timer);
    m_timers.clear();
    if (m_window) SavePlacement();
    m_replayer.reset();
    m_renderer.reset();
    m_window.reset();
    if (m_videoReady) SDL_Quit();
}

bool SdlPlatform::Init() {
    // Closing the window asks first; a quit from outside (a signal) is handled on its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
        return SDL_FAIL("SDL_Init");
    m_videoReady = true;
    m_frameEvent = SDL_RegisterEvents(kUserEventCount);
    m_windowThread = SDL_ThreadID();
    return m_frameEvent != Uint32(-1);
}

bool SdlPlatform::CreateMainWindow() {
    const bool software = PreferSoftwareRenderer();
    if (software) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    LoadPlacement(x, y);
    m_window.reset(SDL_CreateWindow("Stonewell", x, y, kWidth, kHeight, SDL_WINDOW_SHOWN));
    if (!m_window) return SDL_FAIL("SDL_CreateWindow");
    if (!software)
        m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1, SDL_RENDERER_ACCELERATED));
    if (!m_renderer)
        m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!m_renderer) return SDL_FAIL("SDL_CreateRenderer");
    m_replayer = std::make_unique<sdl::FrameReplayer>(m_renderer.get(), true);
    m_rendererReady = true;
    // Paint at once, so the window never shows garbage before the first frame arrives.
    SDL_SetRenderDrawColor(m_renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(m_renderer.get());
    SDL_RenderPresent(m_renderer.get());
    LogMoment("window first painted");
    return true;
}

bool SdlPlatform::OnWindowThread() const {
    return SDL_ThreadID() == m_windowThread;
}

uint32_t SdlPlatform::TickCount() {
    return SDL_GetTicks();
}
void SdlPlatform::Sleep(uint32_t ms) {
    SDL_Delay(ms);
}

void SdlPlatform::ClientSize(int& width, int& height) {
    if (!m_window || (SDL_GetWindowFlags(m_window.get()) & SDL_WINDOW_MINIMIZED) != 0) {
        width = height = 0;
        return;
    }
    SDL_GetWindowSize(m_window.get(), &width, &height);
}

// ---------------------------------------------------------------- frames

void SdlPlatform::SubmitFrame(DrawList&& frame) {
    {
        std::lock_guard lock(m_frameMutex);
        m_pending = std::move(frame);
    }
    if (!m_frameEventQueued.exchange(true)) {
        SDL_Event event{};
        event.type = m_frameEvent + kFrameReady;
        SDL_PushEvent(&event);
    }
}

void SdlPlatform::ReleaseTexture(uint64_t textureId) {
    std::lock_guard lock(m_frameMutex);
    m_released.push_back(textureId);
}

void SdlPlatform::ReplayLatest(bool force) {
    m_frameEventQueued = false;
    std::optional<DrawList> next;
    std::vector<uint64_t> released;
    {
        std::lock_guard lock(m_frameMutex);
        next.swap(m_pending);
        released.swap(m_released);
    }
    if (!m_replayer) return;
    m_replayer->Release(released);
    if (next) {
        // An unchanged frame costs nothing: no replay, no present.
        if (*next == m_shown && !force) {
            ++m_skipped;
            return;
        }
        m_shown = std::move(*next);
    } else if (!force) {
        return;
    }
    m_replayer->Replay(m_shown);
    // The renderer holds the pictures now; the frame kept for a repaint need not.
    for (DrawCommand& cmd : m_shown.commands) cmd.pixels.reset();
    SDL_RenderPresent(m_renderer.get());
    if (m_replayed++ == 0) LogMoment("first frame presented");
}

// ---------------------------------------------------------------- window loop

void SdlPlatform::Wake() {
    SDL_Event wake{};
    wake.type = m_frameEvent + kWake;
    SDL_PushEvent(&wake);
}

void SdlPlatform::RunWindowLoop(WindowEvents& events, const std::atomic<bool>& stop) {
    PumpEvents(events, stop);
    EndDialogs();
}

void SdlPlatform::PumpEvents(WindowEvents& events, const std::atomic<bool>& stop) {
    SDL_Event e;
    while (!stop.load()) {
        // Sleeps until an input, a frame or a request arrives: a message box asked for and
        // the stop both push a wake event, so nothing needs polling.
        if (!SDL_WaitEvent(&e)) {
            ServeDialogs();
            continue;
        }
        do {
            const bool closeAsked =
                (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
            if (closeAsked) {
                if (events.OnCloseRequest()) return;
            } else if (e.type == SDL_QUIT) {
                // Asked to end from outside (a signal): end as after a Yes, keeping progress.
                return;
            } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                ReplayLatest(true);
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                events.OnLeftDown(e.button.x, e.button.y, e.button.clicks >= 2);
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT) {
                events.OnRightDown(e.button.x, e.button.y);
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                events.OnLeftUp(e.button.x, e.button.y);
            } else if (e.type == SDL_MOUSEMOTION) {
                events.OnMouseMove(e.motion.x, e.motion.y);
            } else if (e.type == SDL_MOUSEWHEEL) {
                int mx = 0, my = 0;
                SDL_GetMouseState(&mx, &my);
                int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                if (notches != 0) events.OnWheel(notches * 120, mx, my);
            } else if ((e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) && e.key.repeat == 0) {
                if (int key = KeyCode(e.key.keysym.sym)) events.OnKey(e.type == SDL_KEYDOWN, key);
            } else if (e.type == m_frameEvent + kFrameReady) {
                ReplayLatest(false);
            } else if (e.type == m_frameEvent + kTimer) {
                events.OnWindowTimer(e.user.code);
            }
        } while (SDL_PollEvent(&e));
        ServeDialogs();
    }
}

void SdlPlatform::StartWindowTimer(int id, uint32_t periodMs) {
    StopWindowTimer(id);
    struct Payload {
        Uint32 type;
        int id;
    };
    // The payload lives as long as the process; one per timer id, reused on restart.
    static std::map<int, Payload> payloads;
    payloads[id] = Payload{m_frameEvent + kTimer, id};
    auto callback = [](Uint32 interval, void* param) -> Uint32 {
        auto* p = static_cast<Payload*>(param);
        SDL_Event event{};
        event.type = p->type;
        event.user.code = p->id;
        SDL_PushEvent(&event);
        return interval;
    };
    SDL_TimerID timer = SDL_AddTimer(periodMs, callback, &payloads[id]);
    if (timer != 0) m_timers[id] = timer;
}

void SdlPlatform::StopWindowTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    SDL_RemoveTimer(it->second);
    m_timers.erase(it);
}

// ---------------------------------------------------------------- dialogs

int SdlPlatform::RunMessageBox(const std::string& text, const std::string& title, bool yesNo) {
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0,
         "いいえ"},
        {0, 1, "はい"},
    };
    const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1,
         "OK"},
    };
    SDL_MessageBoxData data{};
    data.flags = yesNo ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    data.window = m_window.get();
    data.title = title.c_str();
    data.message = text.c_str();
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButton;
    int chosen = 0;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        SDL_FAIL("SDL_ShowMessageBox");
        return kNoMessageBox;
    }
    return chosen;
}

void SdlPlatform::ServeDialogs() {
    std::vector<DialogRequest*> requests;
    {
        std::lock_guard lock(m_dialogMutex);
        requests.swap(m_dialogs);
    }
    for (DialogRequest* request : requests) {
        int result = RunMessageBox(request->text, request->title, request->yesNo);
        std::lock_guard lock(m_dialogMutex);
        request->result = result;
        request->done = true;
    }
    if (!requests.empty()) m_dialogDone.notify_all();
}

int SdlPlatform::AskWindowThread(const std::string& text, const std::string& title, bool yesNo) {
    if (OnWindowThread() || !m_window) return RunMessageBox(text, title, yesNo);
    DialogRequest request{text, title, yesNo};
    std::unique_lock lock(m_dialogMutex);
    // After the window loop has ended nobody would answer: take the default (No).
    if (m_loopEnded) return 0;
    m_dialogs.push_back(&request);
    Wake();
    m_dialogDone.wait(lock, [&] { return request.done; });
    return request.result;
}

void SdlPlatform::ShowMessage(const std::string& text, const std::string& title) {
    AskWindowThread(text, title, false);
}

std::optional<bool> SdlPlatform::AskYesNo(const std::string& text, const std::string& title) {
    const int answer = AskWindowThread(text, title, true);
    if (answer == kNoMessageBox) return std::nullopt;
    return answer == 1;
}

void SdlPlatform::EndDialogs() {
    {
        std::lock_guard lock(m_dialogMutex);
        m_loopEnded = true;
        for (DialogRequest* request : m_dialogs) {
            request->result = 0;
            request->done = true;
        }
        m_dialogs.clear();
    }
    m_dialogDone.notify_all();
}

bool SdlPlatform::OpenUrl(const std::string& path) {
    std::error_code error;
    const std::string url = FileUrl(std::filesystem::absolute(path, error).string());
#ifdef __linux__
    // SDL starts the desktop's opener and reports success once it has forked, even when there
    // is none to run.
    if (!OnSearchPath("xdg-open", std::getenv("PATH"))) return false;
#endif
    return SDL_OpenURL(url.c_str()) == 0;
}

#ifdef _WIN32
namespace {
// An SDL folder name without its closing separator; empty when SDL has none.
std::string FolderFromSdl(char* folder) {
    std::string out = folder != nullptr ? folder : "";
    SDL_free(folder);
    while (out.size() > 1 && (out.back() == '\\' || out.back() == '/')) out.pop_back();
    return out;
}
}  // namespace

std::string SdlPlatform::ExecutableDir() {
    const std::string dir = FolderFromSdl(SDL_GetBasePath());
    return dir.empty() ? "." : dir;
}
std::string SdlPlatform::UserConfigDir() {
    return UserDataDir();
}
std::string SdlPlatform::UserDataDir() {
    return FolderFromSdl(SDL_GetPrefPath("", "Stonewell"));
}
#endif

// ---------------------------------------------------------------- audio

void SdlPlatform::AudioCallback(void* self, Uint8* stream, int len) {
    auto* platform = static_cast<SdlPlatform*>(self);
    AudioSource* source = platform->m_audioSource.load();
    if (source == nullptr) {
        SDL_memset(stream, 0, size_t(len));
        return;
    }
    source->Mix(reinterpret_cast<int16_t*>(stream), len / 4);
}

bool SdlPlatform::StartAudio(AudioSource* source) {
    if (source == nullptr) {
        if (m_audioDevice != 0) {
            SDL_CloseAudioDevice(m_audioDevice);
            m_audioDevice = 0;
        }
        m_audioSource = nullptr;
        return true;
    }
    if (m_audioDevice == 0) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return SDL_FAIL("SDL_InitSubSystem(audio)");
        SDL_AudioSpec want{};
        want.freq = 22050;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &SdlPlatform::AudioCallback;
        want.userdata = this;
        m_audioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (m_audioDevice == 0) return SDL_FAIL("SDL_OpenAudioDevice");
    }
    LockAudio();
    m_audioSource = source;
    UnlockAudio();
    SDL_PauseAudioDevice(m_audioDevice, 0);
    return true;
}

void SdlPlatform::LockAudio() {
    if (m_audioDevice != 0) SDL_LockAudioDevice(m_audioDevice);
}

void SdlPlatform::UnlockAudio() {
    if (m_audioDevice != 0) SDL_UnlockAudioDevice(m_audioDevice);
}

// ---------------------------------------------------------------- placement

void SdlPlatform::LoadPlacement(int& x, int& y) {
    std::ifstream in(NativePath(UserConfigDir() + "/window"));
    int px, py;
    if (!(in >> px >> py)) return;
    // Keep the window reachable: a saved spot off every display falls back to centring.
    SDL_Rect bounds;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && px >= bounds.x - kWidth / 2 &&
            px < bounds.x + bounds.w - 64 && py >= bounds.y && py < bounds.y + bounds.h - 64) {
            x = px;
            y = py;
            return;
        }
    }
}

void SdlPlatform::SavePlacement() {
    int x = 0, y = 0;
    SDL_GetWindowPosition(m_window.get(), &x, &y);
    std::error_code error;
    std::filesystem::create_directories(NativePath(UserConfigDir()), error);
    std::ofstream out(NativePath(UserConfigDir() + "/window"), std::ios::trunc);
    out << x << ' ' << y << '\n';
}

}  // namespace platform
