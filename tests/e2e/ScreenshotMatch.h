#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// How far a screenshot may stray from its reviewed reference: a pixel differs when a colour
// channel is off by more than kChannelTolerance, and a shot matches while at most
// kDifferingShare of its pixels differ (about 80 of a screen: room for stray edge pixels, not
// for a moved or missing picture, however small: a check mark is some 200).
inline constexpr int kChannelTolerance = 24;
inline constexpr double kDifferingShare = 0.0001;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

// Pixels that differ beyond the tolerance; every pixel when the sizes disagree.
size_t DifferingPixels(const Picture& a, const Picture& b);
bool Matches(const Picture& reference, const Picture& shot);

bool LoadPicture(const std::filesystem::path& path, Picture& picture);

// The colour text is drawn in inside the rectangle (x, y, w, h) of `picture`: the pixel
// farthest from the most common colour of the rectangle's outline (its background), so that
// the blended edges of the glyphs do not count. 0 for a rectangle outside the picture.
uint32_t InkColour(const Picture& picture, int x, int y, int w, int h);

// Whether two colours agree within kChannelTolerance on every channel.
bool SameColour(uint32_t a, uint32_t b);

// Compares `shot` with `reference`. On a mismatch (or a missing reference) writes the
// reference, the shot and a map of the differing pixels into `mismatchDir` and returns a
// message naming them; an empty string means the shot matches.
std::string CompareWithReference(const std::filesystem::path& reference,
                                 const std::filesystem::path& shot,
                                 const std::filesystem::path& mismatchDir);

}  // namespace e2e
