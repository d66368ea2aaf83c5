#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/DrawList.h"
#include "platform/sdl/SdlHandles.h"

namespace sdl {

// Replays draw lists on an SDL renderer. Keeps one SDL texture per texture id, re-uploaded
// when the texture's generation changes, and frees textures whose ids were released.
class FrameReplayer {
public:
    // With `releasesPixels`, each texture uploaded is marked as copied, so the worker stops
    // sending (and keeping) its pixels: only for a replayer whose textures last as long as
    // the program's, as the window's do. A replayer made for one picture leaves them.
    explicit FrameReplayer(SDL_Renderer* renderer, bool releasesPixels = false)
        : m_renderer(renderer), m_releasesPixels(releasesPixels) {}

    void Replay(const platform::DrawList& frame);
    void Release(const std::vector<uint64_t>& ids);
    size_t CachedTextures() const { return m_textures.size(); }

private:
    struct Cached {
        TexturePtr texture;
        uint64_t generation = ~uint64_t(0);
        uint32_t width = 0, height = 0;
        // Every texel has alpha 255: drawn without blending when the colour is opaque too.
        bool opaque = false;
    };
    Cached* Prepare(const platform::DrawCommand& cmd);
    bool CoversTarget(const platform::DrawCommand& cmd);

    SDL_Renderer* m_renderer;
    bool m_releasesPixels;
    std::unordered_map<uint64_t, Cached> m_textures;
};

}  // namespace sdl
