#include "ScreenshotMatch.h"

#include <algorithm>
#include <cstdlib>

#include "platform/headless/FrameCapture.h"

namespace e2e {
namespace fs = std::filesystem;

namespace {

int Channel(uint32_t argb, int shift) {
    return int((argb >> shift) & 0xff);
}

bool PixelDiffers(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelTolerance) return true;
    return false;
}

bool Load(const fs::path& path, Picture& picture) {
    return headless::ReadPng(path.string(), picture.argb, picture.width, picture.height);
}

}  // namespace

size_t DifferingPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.argb.size() != b.argb.size())
        return std::max(a.argb.size(), b.argb.size());
    size_t n = 0;
    for (size_t i = 0; i < a.argb.size(); ++i) n += PixelDiffers(a.argb[i], b.argb[i]);
    return n;
}

bool Matches(const Picture& reference, const Picture& shot) {
    if (reference.argb.empty() || shot.argb.empty()) return false;
    return double(DifferingPixels(reference, shot)) <=
           kDifferingShare * double(reference.argb.size());
}

std::string CompareWithReference(const fs::path& reference, const fs::path& shot,
                                 const fs::path& mismatchDir) {
    Picture want, got;
    if (!Load(shot, got)) return "no screenshot " + shot.string();
    const bool haveReference = Load(reference, want);
    if (haveReference && Matches(want, got)) return "";

    std::error_code error;
    fs::create_directories(mismatchDir, error);
    const std::string stem = shot.stem().string();
    const fs::path gotCopy = mismatchDir / (stem + ".got.png");
    fs::copy_file(shot, gotCopy, fs::copy_options::overwrite_existing, error);
    if (!haveReference)
        return "no reviewed reference " + reference.string() + "; the shot is at " +
               gotCopy.string() + " (review it, then copy it there)";

    fs::copy_file(reference, mismatchDir / (stem + ".want.png"),
                  fs::copy_options::overwrite_existing, error);
    // Differing pixels in red over a dimmed copy of the reference.
    std::vector<uint32_t> map(want.argb.size());
    const bool sameSize = want.width == got.width && want.height == got.height;
    for (size_t i = 0; i < map.size(); ++i) {
        const uint32_t dim = 0xff000000u | ((want.argb[i] >> 2) & 0x3f3f3fu);
        map[i] = !sameSize || PixelDiffers(want.argb[i], got.argb[i]) ? 0xffff0000u : dim;
    }
    headless::WritePng((mismatchDir / (stem + ".diff.png")).string(), map, want.width, want.height);
    return std::to_string(DifferingPixels(want, got)) + " pixels of " + stem +
           " differ from the reviewed reference; see " + mismatchDir.string();
}

}  // namespace e2e
