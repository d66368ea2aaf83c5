#include "platform/sdl/FrameReplayer.h"

namespace sdl {

FrameReplayer::Cached* FrameReplayer::Prepare(const platform::DrawCommand& cmd) {
    if (!cmd.pixels) {
        // The worker sends no pixels for a texture once this side holds them.
        auto it = m_textures.find(cmd.textureId);
        if (it == m_textures.end() || it->second.generation != cmd.textureGeneration)
            return nullptr;
        return &it->second;
    }
    if (cmd.pixels->width == 0 || cmd.pixels->height == 0) return nullptr;
    Cached& cached = m_textures[cmd.textureId];
    const platform::TexturePixels& px = *cmd.pixels;
    if (!cached.texture || cached.width != px.width || cached.height != px.height) {
        cached.texture.reset(SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888,
                                               SDL_TEXTUREACCESS_STATIC, int(px.width),
                                               int(px.height)));
        if (!cached.texture) {
            SDL_FAIL("SDL_CreateTexture");
            m_textures.erase(cmd.textureId);
            return nullptr;
        }
        cached.width = px.width;
        cached.height = px.height;
        cached.generation = ~uint64_t(0);
    }
    if (cached.generation != cmd.textureGeneration) {
        SDL_UpdateTexture(cached.texture.get(), nullptr, px.argb.data(), int(px.width * 4));
        cached.generation = cmd.textureGeneration;
        if (m_releasesPixels) px.copied.store(true, std::memory_order_release);
        cached.opaque = true;
        for (uint32_t texel : px.argb) {
            if (texel < 0xFF000000u) {
                cached.opaque = false;
                break;
            }
        }
    }
    return &cached;
}

// True when `cmd` is an opaque picture covering the whole target, so a clear before it
// cannot show.
bool FrameReplayer::CoversTarget(const platform::DrawCommand& cmd) {
    if (cmd.kind != platform::DrawCommand::Kind::Sprite || (cmd.argb >> 24) != 0xFF) return false;
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0) return false;
    const float w = float(cmd.src.right - cmd.src.left) * cmd.scaleX;
    const float h = float(cmd.src.bottom - cmd.src.top) * cmd.scaleY;
    if (cmd.x > 0 || cmd.y > 0 || cmd.x + w < float(width) || cmd.y + h < float(height))
        return false;
    Cached* cached = Prepare(cmd);
    return cached != nullptr && cached->opaque;
}

void FrameReplayer::Replay(const platform::DrawList& frame) {
    const auto& commands = frame.commands;
    for (size_t i = 0; i < commands.size(); ++i) {
        const platform::DrawCommand& cmd = commands[i];
        if (cmd.kind == platform::DrawCommand::Kind::Clear) {
            if (i + 1 < commands.size() && CoversTarget(commands[i + 1])) continue;
            SDL_SetRenderDrawColor(m_renderer, uint8_t(cmd.argb >> 16), uint8_t(cmd.argb >> 8),
                                   uint8_t(cmd.argb), uint8_t(cmd.argb >> 24));
            SDL_RenderClear(m_renderer);
            continue;
        }
        Cached* cached = Prepare(cmd);
        if (cached == nullptr) continue;
        SDL_Texture* texture = cached->texture.get();
        const uint8_t alpha = uint8_t(cmd.argb >> 24);
        if (alpha == 0) continue;
        // Blending an opaque picture gives the same pixels as copying it, at a fraction of
        // the cost on the software renderer.
        SDL_SetTextureBlendMode(
            texture, cached->opaque && alpha == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        SDL_SetTextureColorMod(texture, uint8_t(cmd.argb >> 16), uint8_t(cmd.argb >> 8),
                               uint8_t(cmd.argb));
        SDL_SetTextureAlphaMod(texture, alpha);
        SDL_SetTextureScaleMode(texture,
                                cmd.filterLinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        const SDL_Rect src{cmd.src.left, cmd.src.top, cmd.src.right - cmd.src.left,
                           cmd.src.bottom - cmd.src.top};
        if (src.w <= 0 || src.h <= 0) continue;
        const SDL_FRect dst{cmd.x, cmd.y, float(src.w) * cmd.scaleX, float(src.h) * cmd.scaleY};
        SDL_RenderCopyF(m_renderer, texture, &src, &dst);
    }
}

void FrameReplayer::Release(const std::vector<uint64_t>& ids) {
    for (uint64_t id : ids) m_textures.erase(id);
}

}  // namespace sdl
