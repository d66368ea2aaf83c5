// End-to-end cases: each file in tests/e2e/cases is a script for stonewell-headless, run on
// the built data set (the format is in README.md). Besides what a case expects, every run must
// end through the normal exit, and every save it writes must be whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/FrameCapture.h"
#include "support/Built.h"
#include "support/HeadlessRun.h"

namespace {

using namespace testsupport;

// A pixel differs when a channel is off by more than this; a shot matches while at most
// kDifferingShare of its pixels differ (about 80 of a screen: stray edge pixels, not a moved
// or missing picture, however small: a check mark is some 200).
constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.0001;

// STONEWELL_EXACT_SHOTS=1 asks for every pixel as the reference has it: another build of the
// program (Windows, under wine) must draw what this one drew, not nearly.
bool ExactShots() {
    static const char* const value = std::getenv("STONEWELL_EXACT_SHOTS");
    static const bool exact = value != nullptr && std::string(value) == "1";
    return exact;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    bool Load(const fs::path& path) {
        return headless::ReadPng(path.string(), argb, width, height);
    }
};

bool Differs(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) >
            (ExactShots() ? 0 : kChannelTolerance))
            return true;
    return false;
}

size_t DifferingPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return std::max(a.argb.size(), b.argb.size());
    size_t n = 0;
    for (size_t i = 0; i < a.argb.size(); ++i) n += Differs(a.argb[i], b.argb[i]);
    return n;
}

// Empty when `shot` matches `reference`; otherwise writes NAME.got/.want/.diff.png (differing
// pixels in red) into `mismatchDir` and says so.
std::string CompareWithReference(const fs::path& reference, const fs::path& shot,
                                 const fs::path& mismatchDir) {
    Picture want, got;
    if (!got.Load(shot)) return "no screenshot " + shot.string();
    const bool haveReference = want.Load(reference);
    const size_t differing = DifferingPixels(want, got);
    const double allowed = ExactShots() ? 0.0 : kDifferingShare * double(want.argb.size());
    if (haveReference && double(differing) <= allowed) return "";
    fs::create_directories(mismatchDir);
    const std::string stem = shot.stem().string();
    fs::copy_file(shot, mismatchDir / (stem + ".got.png"), fs::copy_options::overwrite_existing);
    if (!haveReference)
        return "no reviewed reference " + reference.string() + "; see " +
               (mismatchDir / (stem + ".got.png")).string();
    fs::copy_file(reference, mismatchDir / (stem + ".want.png"),
                  fs::copy_options::overwrite_existing);
    std::vector<uint32_t> map(want.argb.size());
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = got.argb.size() != map.size() || Differs(want.argb[i], got.argb[i])
                     ? 0xffff0000u
                     : 0xff000000u | ((want.argb[i] >> 2) & 0x3f3f3fu);
    headless::WritePng((mismatchDir / (stem + ".diff.png")).string(), map, want.width, want.height);
    return std::to_string(differing) + " pixels of " + stem + " differ; see " +
           mismatchDir.string();
}

TEST(ScreenshotMatch, ForgivesNoiseAndStrayPixelsNotAMovedPictureOrAnotherSize) {
    const ScratchDir scratch;
    const fs::path dir = scratch.Path();
    Picture flat{100, 100, std::vector<uint32_t>(10000, 0xff808080u)};
    Picture shot = flat;
    for (uint32_t& p : shot.argb) p += 0x00181818u;
    shot.argb[7] = 0xff000000u;
    ASSERT_TRUE(headless::WritePng((dir / "ref.png").string(), flat.argb, 100, 100));
    ASSERT_TRUE(headless::WritePng((dir / "noisy.png").string(), shot.argb, 100, 100));
    EXPECT_EQ(CompareWithReference(dir / "ref.png", dir / "noisy.png", dir / "out"), "");
    shot.argb[9999] = 0xff808099u;  // a second pixel, one channel just past the tolerance
    ASSERT_TRUE(headless::WritePng((dir / "moved.png").string(), shot.argb, 100, 100));
    EXPECT_NE(CompareWithReference(dir / "ref.png", dir / "moved.png", dir / "out"), "");
    flat.argb.resize(9900);
    ASSERT_TRUE(headless::WritePng((dir / "small.png").string(), flat.argb, 100, 99));
    EXPECT_NE(CompareWithReference(dir / "ref.png", dir / "small.png", dir / "out"), "");
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases", error))
        if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScriptCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptCase, TraceShowsEveryExpectedLineInOrder) {
    REQUIRE_BUILT(DataBuilt(), "data set");
    const std::string script =
        ReadText(fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases" / (GetParam() + ".script"));
    // Expected lines may repeat, as commands do.
    const std::vector<std::string> lines = SplitLines(Expanded(script));
    std::vector<std::string> without;
    std::vector<std::pair<std::string, std::string>> standIns;  // "#+ FILE FIXTURE"
    for (const std::string& line : lines) {
        if (line.rfind("#- ", 0) == 0) without.push_back(line.substr(3));
        if (line.rfind("#+ ", 0) != 0) continue;
        const size_t space = line.find(' ', 3);
        ASSERT_NE(space, std::string::npos) << "'#+ FILE FIXTURE' expected: " << line;
        standIns.emplace_back(line.substr(3, space - 3), line.substr(space + 1));
        without.push_back(standIns.back().first);
    }
    const HeadlessRun run(without);
    for (const auto& [file, fixture] : standIns) {
        const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "fixtures" / fixture;
        ASSERT_TRUE(fs::exists(built)) << built << " is not built";
        fs::create_symlink(built, run.Data() / file);
    }
    const Outcome out = run.Run(script);
    ASSERT_EQ(out.exitCode, 0) << out.errors;
    for (const auto& [ms, rest] : Events(out.trace, "save")) {
        EXPECT_EQ(rest.substr(rest.rfind(' ') + 1), std::to_string(savefile::kFileSize)) << rest;
        EXPECT_TRUE(WholeSave(run.Root() / rest.substr(0, rest.rfind(' '))));
    }

    const std::vector<std::string> got = SplitLines(out.trace);
    size_t at = 0;
    for (const std::string& line : lines) {
        const std::string text = line.size() > 3 ? line.substr(3) : "";
        if (line.rfind("#! ", 0) == 0) {
            for (size_t later = at; later < got.size(); ++later)
                if (got[later].find(text) != std::string::npos)
                    FAIL() << "unexpected '" << text << "' in the trace:\n" << out.trace;
        } else if (line.rfind("#> ", 0) == 0) {
            while (at < got.size() && got[at].find(text) == std::string::npos) ++at;
            if (at == got.size())
                FAIL() << "expected '" << text << "' (in order) in the trace:\n" << out.trace;
            ++at;
        } else if (line.size() > 2 && line[0] == '#' && line[2] == ' ' &&
                   std::string(" >!-+=*").find(line[1]) == std::string::npos) {
            ADD_FAILURE() << "unknown case line: " << line;
        } else if (line.rfind("#= ", 0) == 0) {
            const std::string mismatch = CompareWithReference(
                fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/reference" / (text + ".png"),
                run.Shots() / (text + ".png"),
                fs::path(STONEWELL_BINARY_DIR) / "e2e-mismatch" / GetParam());
            EXPECT_EQ(mismatch, "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& param) { return param.param; });

}  // namespace
