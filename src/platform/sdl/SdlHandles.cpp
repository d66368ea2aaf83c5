#include "platform/sdl/SdlHandles.h"

#include "Lib/ZIRur/Util/DebugLog.h"

namespace sdl {

bool Fail(const char* what, const char* file, int line) {
    dbglog::Printf("SDL: %s failed: %s\n\t%s(%d)\n", what, SDL_GetError(),
                   dbglog::SourceName(file).c_str(), line);
    return false;
}

}  // namespace sdl
