// The windowed program: the main thread owns the window; the worker runs the scenes.
#include <atomic>
#include <cstdio>
#include <string_view>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "app/Application.h"
#include "app/DataRoot.h"
#include "platform/Memory.h"
#include "platform/sdl/SdlPlatform.h"

namespace {

const char kUsage[] =
    "usage: stonewell [--help | --version]\n"
    "Teaches the board game Go to beginners who read Japanese, in a 1024 x 768 window.\n"
    "\n"
    "The data set is read from DATA/ beside the program, else from " STONEWELL_INSTALLED_ROOT
    "/DATA.\n"
    "Progress is kept in $XDG_DATA_HOME/stonewell/setting.dat (default ~/.local/share); a data\n"
    "set of one's own that can be written keeps it in its DATA/SAVE/ instead. The window's\n"
    "place is kept in $XDG_CONFIG_HOME/stonewell/window (default ~/.config).\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        const std::string_view arg = argv[1];
        if (argc == 2 && arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argc == 2 && arg == "--version") {
            std::puts("stonewell " STONEWELL_VERSION);
            return 0;
        }
        std::fprintf(stderr, "stonewell: unknown option '%s'\n%s", argv[1], kUsage);
        return 2;
    }
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
        const dataroot::DataRoot root =
            dataroot::Find(sdl.ExecutableDir(), STONEWELL_INSTALLED_ROOT);
        if (app.Start(root, [&ended, &sdl] {
                ended = true;
                sdl.Wake();
            })) {
            sdl.RunWindowLoop(app.View(), ended);
            code = app.Shutdown();
        }
    }
    platform::SetPlatform(nullptr);
    return code;
}
