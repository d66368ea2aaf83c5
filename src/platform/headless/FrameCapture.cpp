#include "platform/headless/FrameCapture.h"

#include <png.h>

namespace headless {

FrameCapture::FrameCapture() {
    m_surface.reset(SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!m_surface) {
        SDL_FAIL("SDL_CreateRGBSurfaceWithFormat");
        return;
    }
    m_renderer.reset(SDL_CreateSoftwareRenderer(m_surface.get()));
    if (!m_renderer) {
        SDL_FAIL("SDL_CreateSoftwareRenderer");
        return;
    }
    m_replayer = std::make_unique<sdl::FrameReplayer>(m_renderer.get());
}

FrameCapture::~FrameCapture() {
    m_replayer.reset();
    m_renderer.reset();
}

void FrameCapture::Render(const platform::DrawList& frame) {
    if (!ok()) return;
    // The frame begins with its own clear; an empty list leaves the last picture.
    m_replayer->Replay(frame);
    SDL_RenderPresent(m_renderer.get());
}

void FrameCapture::Release(const std::vector<uint64_t>& ids) {
    if (m_replayer) m_replayer->Release(ids);
}

std::vector<uint32_t> FrameCapture::Pixels() const {
    std::vector<uint32_t> out;
    if (!m_surface) return out;
    out.resize(size_t(1024) * 768);
    for (int y = 0; y < 768; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(m_surface->pixels) + size_t(y) * m_surface->pitch);
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
