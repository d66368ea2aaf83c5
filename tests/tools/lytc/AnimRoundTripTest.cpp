// Compiling, printing and compiling again gives the same bytes; the printed source is stable.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../../tools/common/FileIO.h"
#include "AnimSupport.h"

namespace {

using anim_test::Compile;

TEST(AnimRoundTrip, RichSourceRecompilesByteForByte) {
    const std::vector<uint8_t> first = Compile(anim_test::kRichAnimation);
    const std::string printed = lytc::DecompileAnimation(first, "a.anm");
    const std::vector<uint8_t> second = Compile(printed);
    EXPECT_EQ(first, second);
    // Printing the recompiled file prints the same text.
    EXPECT_EQ(lytc::DecompileAnimation(second, "b.anm"), printed);
}

TEST(AnimRoundTrip, PrintedSourceKeepsNamesAndDefaults) {
    const std::string printed =
        lytc::DecompileAnimation(Compile(anim_test::kRichAnimation), "a.anm");
    // Texture pattern keys print names for listed textures, numbers beyond the list.
    EXPECT_NE(printed.find("[[0, \"face_a.tga\"], [30, \"face_b.tga\"], [45, 7]]"),
              std::string::npos)
        << printed;
    // The texture used only by a key is added to the list.
    EXPECT_NE(printed.find("\"textures\": [\"face_a.tga\", \"face_b.tga\"]"), std::string::npos);
    // Curves of one kind are gathered: the scale-x curve follows translate-y.
    EXPECT_LT(printed.find("\"scale-x\""), printed.find("\"visibility\""));
    // Zero slopes are left out, others kept (also negative ones).
    EXPECT_NE(printed.find("[30, 20, 0.5]"), std::string::npos);
    EXPECT_NE(printed.find("[0, 1.5, -0.25]"), std::string::npos);
    EXPECT_NE(printed.find("[60, 0]]"), std::string::npos);
}

TEST(AnimRoundTrip, MinimalSource) {
    const char* source = R"({"frames": 1, "contents": []})";
    const auto bytes = Compile(source);
    EXPECT_EQ(Compile(lytc::DecompileAnimation(bytes, "a.anm")), bytes);
}

TEST(AnimRoundTrip, DecompilerRefusesWhatTheSourceCannotSay) {
    const std::vector<uint8_t> good = Compile(anim_test::kRichAnimation);
    // The reserved byte after the loop flag.
    auto reserved = good;
    reserved[16 + 11] = 1;
    EXPECT_NE(anim_test::DecompileErrorOf(reserved).find("cannot express"), std::string::npos);
    // An unknown curve kind: the first info's tag sits after the content header.
    auto kind = good;
    const std::string apsr = "APSR";
    auto it = std::search(kind.begin(), kind.end(), apsr.begin(), apsr.end());
    ASSERT_NE(it, kind.end());
    *it = 'X';
    EXPECT_NE(anim_test::DecompileErrorOf(kind).find("unknown curve kind \"XPSR\""),
              std::string::npos);
    // Not an animation at all.
    EXPECT_EQ(anim_test::DecompileErrorOf({'S', 'L', 'Y', 'T'}),
              "a.anm: at byte 0: not an animation file");
}

TEST(AnimRoundTrip, DecompilerSurvivesEveryTruncationAndByteFlip) {
    const std::vector<uint8_t> good = Compile(anim_test::kRichAnimation);
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        EXPECT_NE(anim_test::DecompileErrorOf(cut), "decompiled") << n;
    }
    for (size_t i = 0; i < good.size(); ++i) {
        auto flipped = good;
        flipped[i] ^= 0xA5;
        // Any outcome but a crash is fine; a file that still decompiles must round-trip.
        std::string text;
        try {
            text = lytc::DecompileAnimation(flipped, "a.anm");
        } catch (const tools::ToolError&) {
            continue;
        }
        EXPECT_EQ(Compile(text), flipped) << i;
    }
}

}  // namespace

namespace {

// The example in the format documentation compiles and survives a round trip.
TEST(AnimRoundTrip, DocumentedExampleCompilesAndRoundTrips) {
    const std::string doc =
        tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/docs/formats/animation-source.md");
    const size_t start = doc.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const size_t end = doc.find("```", start + 8);
    ASSERT_NE(end, std::string::npos);
    const std::vector<uint8_t> first = anim_test::Compile(doc.substr(start + 8, end - start - 8));
    const std::string printed = lytc::DecompileAnimation(first, "example.anm");
    EXPECT_EQ(anim_test::Compile(printed), first);
    EXPECT_NE(printed.find("\"face_open.tga\", \"face_shut.tga\""), std::string::npos) << printed;
}

}  // namespace
