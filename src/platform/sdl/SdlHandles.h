#pragma once

#include <SDL.h>

#include <memory>

// Owners for SDL handles, each with its named deleter.
namespace sdl {

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Logs an SDL failure with the place it happened; returns false for convenience.
bool Fail(const char* what, const char* file, int line);
#define SDL_FAIL(what) ::sdl::Fail(what, __FILE__, __LINE__)

}  // namespace sdl
