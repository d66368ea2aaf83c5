// The windowed program: the main thread owns the window; the worker runs the scenes.
#include <atomic>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "app/Application.h"
#include "platform/Memory.h"
#include "platform/sdl/SdlPlatform.h"

int main() {
    platform::TuneMemoryAllocator();
    dbglog::InitFromEnvironment();
    platform::SdlPlatform sdl;
    if (!sdl.Init()) return 1;
    platform::SetPlatform(&sdl);
    if (!sdl.CreateMainWindow()) {
        // The scene loop reports the missing renderer and runs on without drawing.
        if (!sdl.RendererReady() && !sdl.HasWindow()) return 1;
    }

    int code = 1;
    {
        Application app;
        std::atomic<bool> ended{false};
        if (app.Start(sdl.ExecutableDir(), [&ended] { ended = true; })) {
            sdl.RunWindowLoop(app.View(), ended);
            code = app.Shutdown();
        }
    }
    platform::SetPlatform(nullptr);
    return code;
}
