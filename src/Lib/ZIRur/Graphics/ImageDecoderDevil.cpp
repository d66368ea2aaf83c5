// The one place that talks to DevIL.
#include <IL/il.h>

#include <mutex>
#include <new>

#include "Lib/ZIRur/Graphics/ImageLibrary.h"

namespace gfx {
namespace {

// DevIL keeps global state (bound image, error stack, settings): every use goes through
// this lock, and the library is set up once.
std::mutex& DevilLock() {
    static std::mutex lock;
    return lock;
}

void InitDevilOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        ilInit();
        // Hand pixels back bottom row first for every file, whichever origin the file
        // itself declares, so top-down and bottom-up Targa files come out the same.
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    });
}

void DrainErrors() {
    for (int i = 0; i < 64 && ilGetError() != IL_NO_ERROR; ++i) {
    }
}

class BoundImage {
public:
    BoundImage() {
        ilGenImages(1, &m_name);
        ilBindImage(m_name);
    }
    ~BoundImage() {
        ilBindImage(0);
        ilDeleteImages(1, &m_name);
        DrainErrors();
    }
    BoundImage(const BoundImage&) = delete;
    BoundImage& operator=(const BoundImage&) = delete;

private:
    ILuint m_name = 0;
};

}  // namespace

bool DecodeWithDevil(int type, std::span<const uint8_t> data, DecodedImage& out) {
    std::lock_guard lock(DevilLock());
    InitDevilOnce();
    BoundImage image;
    if (!ilLoadL(ILenum(type), data.data(), ILuint(data.size()))) return false;
    const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    if (width <= 0 || height <= 0 || width > kMaxImageEdge || height > kMaxImageEdge) return false;
    std::unique_ptr<uint8_t[]> rgba(new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 4]);
    if (rgba == nullptr) return false;
    if (ilCopyPixels(0, 0, 0, ILuint(width), ILuint(height), 1, IL_RGBA, IL_UNSIGNED_BYTE,
                     rgba.get()) == 0)
        return false;
    out.width = width;
    out.height = height;
    out.rgba = std::move(rgba);
    return true;
}

}  // namespace gfx
