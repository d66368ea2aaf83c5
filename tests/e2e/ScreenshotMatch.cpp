#include "ScreenshotMatch.h"

#include <algorithm>
#include <cstdlib>
#include <map>

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

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift : {0, 8, 16}) sum += std::abs(Channel(a, shift) - Channel(b, shift));
    return sum;
}

bool Load(const fs::path& path, Picture& picture) {
    return headless::ReadPng(path.string(), picture.argb, picture.width, picture.height);
}

}  // namespace

bool LoadPicture(const fs::path& path, Picture& picture) {
    return Load(path, picture);
}

uint32_t InkColour(const Picture& picture, int x, int y, int w, int h) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, picture.width), y1 = std::min(y + h, picture.height);
    if (x0 >= x1 || y0 >= y1) return 0;
    auto at = [&](int px, int py) {
        return picture.argb[size_t(py) * size_t(picture.width) + size_t(px)] & 0xffffffu;
    };
    // Text may cover most of its box, but rarely its outline.
    std::map<uint32_t, int> outline;
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px)
            if (py == y0 || py == y1 - 1 || px == x0 || px == x1 - 1) ++outline[at(px, py)];
    const uint32_t background =
        std::max_element(outline.begin(), outline.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    uint32_t ink = background;
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px)
            if (Distance(at(px, py), background) > Distance(ink, background)) ink = at(px, py);
    return ink;
}

bool SameColour(uint32_t a, uint32_t b) {
    return !PixelDiffers(a, b);
}

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
