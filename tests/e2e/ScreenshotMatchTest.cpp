// The screenshot comparison forgives small colour noise and a few stray pixels, not a
// picture that moved, vanished or changed size.
#include "ScreenshotMatch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/FrameCapture.h"

namespace {

e2e::Picture Flat(int w, int h, uint32_t colour) {
    return {w, h, std::vector<uint32_t>(size_t(w) * size_t(h), colour)};
}

TEST(ScreenshotMatch, ToleratesColourNoiseAndAFewStrayPixelsOnly) {
    const e2e::Picture reference = Flat(100, 100, 0xff808080u);
    e2e::Picture shot = reference;
    EXPECT_TRUE(e2e::Matches(reference, shot));

    // Every pixel a little off: within the channel tolerance.
    for (uint32_t& p : shot.argb) p = 0xff808080u + 0x00181818u;
    EXPECT_TRUE(e2e::Matches(reference, shot));
    EXPECT_EQ(e2e::DifferingPixels(reference, shot), 0u);

    // One channel just past it counts.
    shot.argb[0] = 0xff808080u + 0x00000019u;
    EXPECT_EQ(e2e::DifferingPixels(reference, shot), 1u);

    // 1 of 10000 pixels (0.01 %) may differ; 2 may not.
    shot = reference;
    shot.argb[7] = 0xff000000u;
    EXPECT_TRUE(e2e::Matches(reference, shot));
    shot.argb[9999] = 0xffffffffu;
    EXPECT_FALSE(e2e::Matches(reference, shot));
}

TEST(ScreenshotMatch, ADifferentSizeOrAnEmptyPictureNeverMatches) {
    EXPECT_FALSE(e2e::Matches(Flat(100, 100, 0xff000000u), Flat(100, 99, 0xff000000u)));
    EXPECT_FALSE(e2e::Matches(Flat(0, 0, 0), Flat(0, 0, 0)));
}

TEST(ScreenshotMatch, AMismatchWritesBothPicturesAndADifferenceMap) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "sw-shotmatch";
    fs::remove_all(dir);
    fs::create_directories(dir);
    e2e::Picture reference = Flat(64, 48, 0xff336699u);
    e2e::Picture shot = reference;
    for (int x = 0; x < 64; ++x) shot.argb[size_t(10 * 64 + x)] = 0xffffffffu;
    ASSERT_TRUE(headless::WritePng((dir / "ref.png").string(), reference.argb, 64, 48));
    ASSERT_TRUE(headless::WritePng((dir / "screen.png").string(), shot.argb, 64, 48));

    // Read back through the PNG reader: the same pixels as written.
    e2e::Picture back;
    ASSERT_TRUE(
        headless::ReadPng((dir / "screen.png").string(), back.argb, back.width, back.height));
    EXPECT_EQ(back.width, 64);
    EXPECT_EQ(back.argb, shot.argb);

    EXPECT_EQ(e2e::CompareWithReference(dir / "ref.png", dir / "ref.png", dir / "out"), "");
    const std::string message =
        e2e::CompareWithReference(dir / "ref.png", dir / "screen.png", dir / "out");
    EXPECT_NE(message.find("64 pixels"), std::string::npos) << message;
    EXPECT_TRUE(fs::exists(dir / "out" / "screen.got.png"));
    EXPECT_TRUE(fs::exists(dir / "out" / "screen.want.png"));
    e2e::Picture map;
    ASSERT_TRUE(headless::ReadPng((dir / "out" / "screen.diff.png").string(), map.argb, map.width,
                                  map.height));
    EXPECT_EQ(map.argb[size_t(10 * 64 + 5)], 0xffff0000u);
    EXPECT_NE(map.argb[0], 0xffff0000u);

    // No reference yet: the shot is kept for review and the case fails.
    const std::string missing =
        e2e::CompareWithReference(dir / "none.png", dir / "screen.png", dir / "out2");
    EXPECT_NE(missing.find("no reviewed reference"), std::string::npos) << missing;
    EXPECT_TRUE(fs::exists(dir / "out2" / "screen.got.png"));
    EXPECT_FALSE(headless::ReadPng((dir / "none.png").string(), map.argb, map.width, map.height));
    fs::remove_all(dir);
}

}  // namespace
