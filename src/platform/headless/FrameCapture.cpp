#include "platform/headless/FrameCapture.h"

#include <png.h>

#include "platform/sdl/FrameReplayer.h"
#include "platform/sdl/SdlHandles.h"

namespace headless {

// Members are destroyed bottom-up: the replayer's textures before their renderer, the
// renderer before its surface.
struct FrameCapture::Sdl {
    sdl::SurfacePtr surface;
    sdl::RendererPtr renderer;
    std::unique_ptr<sdl::FrameReplayer> replayer;
};

FrameCapture::FrameCapture() {
    auto made = std::make_unique<Sdl>();
    made->surface.reset(SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!made->surface) {
        SDL_FAIL("SDL_CreateRGBSurfaceWithFormat");
        return;
    }
    made->renderer.reset(SDL_CreateSoftwareRenderer(made->surface.get()));
    if (!made->renderer) {
        SDL_FAIL("SDL_CreateSoftwareRenderer");
        return;
    }
    made->replayer = std::make_unique<sdl::FrameReplayer>(made->renderer.get());
    m_sdl = std::move(made);
}

FrameCapture::~FrameCapture() = default;

void FrameCapture::Render(const platform::DrawList& frame) {
    if (!ok()) return;
    // The frame begins with its own clear; an empty list leaves the last picture.
    m_sdl->replayer->Replay(frame);
    SDL_RenderPresent(m_sdl->renderer.get());
}

void FrameCapture::Release(const std::vector<uint64_t>& ids) {
    if (m_sdl) m_sdl->replayer->Release(ids);
}

std::vector<uint32_t> FrameCapture::Pixels() const {
    std::vector<uint32_t> out;
    if (!m_sdl) return out;
    const SDL_Surface& surface = *m_sdl->surface;
    out.resize(size_t(1024) * 768);
    for (int y = 0; y < 768; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface.pixels) + size_t(y) * surface.pitch);
        std::copy(row, row + 1024, out.begin() + size_t(y) * 1024);
    }
    return out;
}

bool FrameCapture::WritePng(const std::string& path) const {
    return headless::WritePng(path, Pixels(), 1024, 768);
}

bool WritePng(const std::string& path, const std::vector<uint32_t>& argb, int width, int height) {
    if (argb.size() != size_t(width) * size_t(height)) return false;
    std::vector<uint8_t> rgb(argb.size() * 3);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgb[i * 3] = uint8_t(argb[i] >> 16);
        rgb[i * 3 + 1] = uint8_t(argb[i] >> 8);
        rgb[i * 3 + 2] = uint8_t(argb[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, std::vector<uint32_t>& argb, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    width = int(image.width);
    height = int(image.height);
    argb.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = 0xff000000u | uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 |
                  rgb[i * 3 + 2];
    return true;
}

}  // namespace headless
