#include "programs/HeadlessDriver.h"

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>

#include "Lib/ZIRur/Layout/ts_locate.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "app/Application.h"
#include "platform/Memory.h"
#include "platform/headless/FrameCapture.h"
#include "platform/headless/HeadlessPlatform.h"

namespace headless {
namespace {

// A script command placed on the virtual time line. A click or tap becomes a press and a
// release 50 ms apart; a key a down and an up 20 ms apart.
struct Timed {
    uint64_t at = 0;
    ScriptCommand cmd;
    bool secondHalf = false;
};

// The script's commands on the time line; `end` receives the time the script ends at (after
// its last wait).
std::vector<Timed> Schedule(const std::vector<ScriptCommand>& script, uint64_t& end) {
    std::vector<Timed> out;
    uint64_t cursor = 0;
    for (const ScriptCommand& cmd : script) {
        switch (cmd.kind) {
            case ScriptCommand::Kind::Wait:
                cursor += uint64_t(cmd.value);
                break;
            case ScriptCommand::Kind::Click:
            case ScriptCommand::Kind::Tap:
                out.push_back({cursor, cmd, false});
                cursor += 50;
                out.push_back({cursor, cmd, true});
                break;
            case ScriptCommand::Kind::Key:
                out.push_back({cursor, cmd, false});
                cursor += 20;
                out.push_back({cursor, cmd, true});
                break;
            default:
                out.push_back({cursor, cmd, false});
                break;
        }
    }
    end = cursor;
    return out;
}

class Driver {
public:
    Driver(const RunOptions& options, const std::vector<ScriptCommand>& script,
           platform::HeadlessPlatform& p, Application& app)
        : m_options(options),
          m_schedule(Schedule(script, m_endAt)),
          m_platform(p),
          m_app(app),
          m_nextSampleAt(options.memoryEveryMs > 0 ? options.memoryEveryMs : UINT64_MAX) {}

    // Runs on the worker inside Sleep: delivers everything due up to `until`.
    void Advance(uint64_t until) {
        if (m_ending) return;
        for (;;) {
            int timerId = 0;
            uint64_t timerAt = 0;
            const bool timerDue = m_platform.NextWindowTimer(until, timerId, timerAt);
            const bool commandDue = m_next < m_schedule.size() && m_schedule[m_next].at <= until;
            if (m_nextSampleAt <= until && (!timerDue || m_nextSampleAt <= timerAt) &&
                (!commandDue || m_nextSampleAt <= m_schedule[m_next].at)) {
                SampleMemory();
                continue;
            }
            if (!timerDue && !commandDue) break;
            if (timerDue && (!commandDue || timerAt < m_schedule[m_next].at)) {
                m_platform.SetNow(timerAt);
                m_platform.WindowTimerFired(timerId, timerAt);
                m_app.View().OnWindowTimer(timerId);
                continue;
            }
            const Timed& step = m_schedule[m_next++];
            m_platform.SetNow(step.at);
            Execute(step);
            if (m_ending) return;
        }
        const bool scriptDone = m_next >= m_schedule.size() && until >= m_endAt;
        if (scriptDone || until >= m_options.maxMs) End();
    }

    // Whether a command could not be carried out.
    bool Failed() const { return m_failed; }

private:
    // Traces the resident size and the heap in use on the virtual time line, for memory-growth
    // checks.
    void SampleMemory() {
        m_platform.SetNow(m_nextSampleAt);
        const std::string sample = std::to_string(platform::ResidentKiB()) + ' ' +
                                   std::to_string(platform::HeapInUseKiB());
        m_platform.Trace(platform::TraceKind::Memory, sample);
        m_nextSampleAt += m_options.memoryEveryMs;
    }

    void End() {
        if (m_ending) return;
        m_ending = true;
        m_app.Manager().RequestExit();
    }

    void Execute(const Timed& step) {
        CBankoView& view = m_app.View();
        const ScriptCommand& c = step.cmd;
        using K = ScriptCommand::Kind;
        switch (c.kind) {
            case K::Click:
                if (step.secondHalf)
                    view.OnLeftUp(c.x, c.y);
                else
                    view.OnLeftDown(c.x, c.y, false);
                break;
            case K::Press:
                view.OnLeftDown(c.x, c.y, false);
                break;
            case K::Release:
                view.OnLeftUp(c.x, c.y);
                break;
            case K::Move:
                view.OnMouseMove(c.x, c.y);
                break;
            case K::RightClick:
                view.OnRightDown(c.x, c.y);
                break;
            case K::DoubleClick:
                view.OnLeftDown(c.x, c.y, true);
                break;
            case K::Wheel:
                view.OnWheel(c.value, c.x, c.y);
                break;
            case K::Key:
                view.OnKey(!step.secondHalf, c.value);
                break;
            case K::Shot:
                Shot(c.name);
                break;
            case K::Answer:
                m_platform.SetAnswer(c.yes);
                m_answer = c.yes;
                break;
            case K::Close: {
                m_platform.SetAnswer(c.yes);
                const bool closing = view.OnCloseRequest();
                m_platform.SetAnswer(m_answer);
                if (closing) End();
                break;
            }
            case K::Tap:
                Tap(step);
                break;
            case K::Where:
                Where(c);
                break;
            case K::Quit:
                End();
                break;
            case K::Wait:
                break;
        }
    }

    // The press lands on the pane's centre as it is when the tap falls due; the release
    // 50 ms later lands on the same point even if the pane has moved since.
    void Tap(const Timed& step) {
        if (step.secondHalf) {
            m_app.View().OnLeftUp(m_tapPoint.x, m_tapPoint.y);
            return;
        }
        TSRect rect{};
        if (!Locate(step.cmd, rect)) return;
        m_tapPoint = TSPoint{rect.left + (rect.right - rect.left) / 2,
                             rect.top + (rect.bottom - rect.top) / 2};
        m_app.View().OnLeftDown(m_tapPoint.x, m_tapPoint.y, false);
    }

    // Traces where a pane is and how opaque it is drawn, or that it is hidden, so a fade or a
    // slide can be checked at chosen moments. A pane the front window lacks is a script error.
    void Where(const ScriptCommand& c) {
        const CTSEventWnd* front = Front();
        PaneLook look;
        const PaneState state =
            front != nullptr ? LocatePane(front, c.name.c_str(), look) : PaneState::Missing;
        if (state == PaneState::Missing) {
            Fail(c);
            return;
        }
        std::string line = c.name;
        if (state == PaneState::Hidden) {
            line += " hidden";
        } else {
            const TSRect& r = look.rect;
            line += ' ' + std::to_string(r.left) + ' ' + std::to_string(r.top) + ' ' +
                    std::to_string(r.right - r.left) + ' ' + std::to_string(r.bottom - r.top);
            // The picture's image tells which look a pane shows (a finished row, say).
            if (!look.image.empty()) line += ' ' + look.image;
            line += " alpha " + std::to_string(look.alpha);
        }
        m_platform.Trace(platform::TraceKind::Pane, line);
    }

    // The window in front: a dialog while one runs, else the screen.
    static const CTSEventWnd* Front() {
        CTSWndMgr* manager = CTSWndMgr::Instance();
        return manager != nullptr ? manager->CurrentWindow() : nullptr;
    }

    // Finds a shown pane of the window in front. A pane that is not there, or hidden, ends the
    // run as a script error.
    bool Locate(const ScriptCommand& c, TSRect& rect) {
        const CTSEventWnd* front = Front();
        if (front != nullptr && LocateShownPane(front, c.name.c_str(), rect)) return true;
        Fail(c);
        return false;
    }

    void Fail(const ScriptCommand& c) {
        std::fprintf(stderr, "%s:%d: no visible pane '%s' on screen\n",
                     m_options.scriptName.c_str(), c.line, c.name.c_str());
        m_failed = true;
        End();
    }

    void Shot(const std::string& name) {
        m_capture.Release(m_platform.TakeReleased());
        m_capture.Render(m_platform.LatestFrame());
        std::error_code error;
        std::filesystem::create_directories(m_options.shotsDir, error);
        const std::string path = m_options.shotsDir + "/" + name + ".png";
        if (!m_capture.WritePng(path))
            std::fprintf(stderr, "stonewell-headless: cannot write %s\n", path.c_str());
    }

    const RunOptions& m_options;
    uint64_t m_endAt = 0;
    std::vector<Timed> m_schedule;
    size_t m_next = 0;
    platform::HeadlessPlatform& m_platform;
    Application& m_app;
    FrameCapture m_capture;
    bool m_answer = true;
    bool m_ending = false;
    TSPoint m_tapPoint{};
    bool m_failed = false;
    uint64_t m_nextSampleAt;
};

}  // namespace

int RunHeadless(const RunOptions& options, const std::vector<ScriptCommand>& script,
                std::ostream& trace) {
    platform::HeadlessPlatform host;
    host.SetTraceSink([&trace](uint64_t ms, platform::TraceKind kind, const std::string& detail) {
        trace << ms << ' ' << platform::HeadlessPlatform::TraceName(kind);
        if (!detail.empty()) trace << ' ' << detail;
        trace << '\n';
    });
    platform::SetPlatform(&host);

    int code = 0;
    {
        Application app;
        Driver driver(options, script, host, app);
        std::mutex mutex;
        std::condition_variable ended;
        bool loopEnded = false;
        host.SetSleepHook([&driver](uint64_t until) { driver.Advance(until); });
        auto onLoopEnd = [&] {
            std::lock_guard lock(mutex);
            loopEnded = true;
            ended.notify_all();
        };
        if (!app.Start(options.root, onLoopEnd)) {
            code = 1;
            host.Trace(platform::TraceKind::Exit, "1");
        } else {
            {
                std::unique_lock lock(mutex);
                ended.wait(lock, [&] { return loopEnded; });
            }
            code = app.Shutdown();
        }
        if (driver.Failed()) code = 2;
        host.SetSleepHook(nullptr);
    }
    platform::SetPlatform(nullptr);
    trace.flush();
    return code;
}

}  // namespace headless
