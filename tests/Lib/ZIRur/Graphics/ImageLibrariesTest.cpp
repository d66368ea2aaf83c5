// The two image libraries give the same pixels for every picture of the built data set, so a
// Windows build (stb_image alone) shows what a Debian build (DevIL) shows.
#include <gtest/gtest.h>

#if __has_include(<IL/il.h>)

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include "Lib/ZIRur/Graphics/ImageLibrary.h"
#include "support/Built.h"

namespace {

namespace fs = std::filesystem;

TEST(ImageLibraries, DevilAndStbAgreeOnEveryBuiltPicture) {
    const fs::path images = fs::path(STONEWELL_BINARY_DIR) / "data-work/img";
    REQUIRE_BUILT(fs::is_directory(images), "data set");
    int pictures = 0;
    for (const auto& entry : fs::recursive_directory_iterator(images)) {
        if (entry.path().extension() != ".tga") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        gfx::DecodedImage devil, stb;
        ASSERT_TRUE(gfx::DecodeImageWith(gfx::DecodeWithDevil, gfx::kImageTypeTarga, bytes, devil))
            << entry.path();
        ASSERT_TRUE(gfx::DecodeImageWith(gfx::DecodeWithStb, gfx::kImageTypeTarga, bytes, stb))
            << entry.path();
        ASSERT_EQ(std::pair(devil.width, devil.height), std::pair(stb.width, stb.height));
        EXPECT_EQ(
            std::memcmp(devil.rgba.get(), stb.rgba.get(), size_t(devil.width) * devil.height * 4),
            0)
            << entry.path();
        ++pictures;
    }
    EXPECT_GT(pictures, 1000);
}

}  // namespace

#endif
