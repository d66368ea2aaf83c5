#include "svg2tga/SvgRender.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <regex>

#include "Lib/ZIRur/Util/LeakSanitizer.h"
#include "common/ToolError.h"

// Text in a picture loads fontconfig, which keeps its configuration and font caches for the
// life of the process.
STONEWELL_LEAK_SUPPRESSIONS("leak:libfontconfig.so\n")

namespace svg {
namespace {

struct GObjectUnref {
    void operator()(RsvgHandle* h) const { g_object_unref(h); }
};
struct SurfaceDestroy {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDestroy {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// librsvg's messages carry the XML parser's "line N" when it has one.
[[noreturn]] void FailFromGError(GError* error, const std::string& sourceName,
                                 const std::string& what) {
    std::string message = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    int line = 0;
    std::smatch m;
    if (std::regex_search(message, m, std::regex("line (\\d+)"))) line = std::stoi(m[1]);
    throw tools::ToolError(sourceName, line, what + ": " + message);
}

uint8_t Unpremultiply(uint32_t c, uint32_t a) {
    if (a == 0) return 0;
    uint32_t v = (c * 255 + a / 2) / a;
    return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

RgbaImage RenderSvg(const std::string& svgText, const std::string& sourceName, int width,
                    int height) {
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, GObjectUnref> handle(rsvg_handle_new_from_data(
        reinterpret_cast<const guint8*>(svgText.data()), gsize(svgText.size()), &error));
    if (!handle) FailFromGError(error, sourceName, "cannot read SVG");

    if (width <= 0 || height <= 0) {
        double w = 0, h = 0;
        if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &w, &h) || w < 1 || h < 1) {
            throw tools::ToolError(sourceName, 1,
                                   "the SVG states no size in pixels; give the size explicitly");
        }
        if (width <= 0) width = int(std::lround(w));
        if (height <= 0) height = int(std::lround(h));
    }
    if (width > 4096 || height > 4096) {
        throw tools::ToolError(sourceName, 0, "image larger than 4096 pixels");
    }

    std::unique_ptr<cairo_surface_t, SurfaceDestroy> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        throw tools::ToolError(sourceName, 0, "cannot create a drawing surface");
    }
    std::unique_ptr<cairo_t, ContextDestroy> cr(cairo_create(surface.get()));
    RsvgRectangle viewport{0, 0, double(width), double(height)};
    if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error)) {
        FailFromGError(error, sourceName, "cannot render SVG");
    }
    cairo_surface_flush(surface.get());

    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Cairo stores premultiplied ARGB as one native-endian 32-bit word.
            uint32_t px = 0;
            std::memcpy(&px, data + size_t(y) * stride + size_t(x) * 4, 4);
            uint32_t a = px >> 24;
            uint8_t* out = image.pixels.data() + (size_t(y) * width + x) * 4;
            out[0] = Unpremultiply((px >> 16) & 0xFF, a);
            out[1] = Unpremultiply((px >> 8) & 0xFF, a);
            out[2] = Unpremultiply(px & 0xFF, a);
            out[3] = uint8_t(a);
        }
    }
    return image;
}

}  // namespace svg
