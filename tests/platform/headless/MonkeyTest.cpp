// The monkey: an hour of seeded random input per seed, driving the whole program. It must
// not crash, end early or grow without bound, and the save file must stay whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "HeadlessRun.h"
#include "MonkeyScript.h"
#include "app/SceneTable.h"
#include "platform/headless/Script.h"

namespace {

using namespace headless_run;

constexpr uint64_t kHourMs = 3600000;

// Virtual time per seed: an hour, or $STONEWELL_MONKEY_MS (the sanitizer run, which is many
// times slower, uses less).
uint64_t MonkeyMs() {
    const char* text = std::getenv("STONEWELL_MONKEY_MS");
    const uint64_t ms = text != nullptr ? std::strtoull(text, nullptr, 10) : 0;
    return ms > 0 ? ms : kHourMs;
}

TEST(MonkeyScript, SameSeedSameScriptAndEverySeedParses) {
    const std::string a = monkey::GenerateScript({7, 600000});
    EXPECT_EQ(a, monkey::GenerateScript({7, 600000}));
    EXPECT_NE(a, monkey::GenerateScript({8, 600000}));
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        std::vector<headless::ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(headless::ParseScript(monkey::GenerateScript({seed, 300000}), commands, error))
            << "seed " << seed << ": " << error;
    }
}

TEST(MonkeyScript, CoversEveryGestureAndTheWholeTime) {
    const std::string text = monkey::GenerateScript({3, kHourMs});
    std::vector<headless::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(headless::ParseScript(text, commands, error)) << error;
    using K = headless::ScriptCommand::Kind;
    std::vector<int> counts(int(K::Quit) + 1, 0);
    uint64_t waited = 0;
    for (const auto& c : commands) {
        ++counts[size_t(c.kind)];
        if (c.kind == K::Wait) waited += uint64_t(c.value);
        if (c.kind == K::Close || c.kind == K::Answer) {
            EXPECT_FALSE(c.yes) << "close requests and message boxes are answered no";
        }
    }
    // The script's own time line: waits, plus 50 ms per click and 20 ms per key.
    const uint64_t length =
        waited + 50 * uint64_t(counts[size_t(K::Click)]) + 20 * uint64_t(counts[size_t(K::Key)]);
    EXPECT_GE(length, kHourMs);
    EXPECT_LT(length, kHourMs + 40000);
    for (K kind : {K::Click, K::Press, K::Release, K::Move, K::RightClick, K::DoubleClick, K::Wheel,
                   K::Key, K::Close})
        EXPECT_GT(counts[size_t(kind)], 10) << "gesture kind " << int(kind) << " missing";
    EXPECT_EQ(counts[size_t(K::Quit)], 0);
    EXPECT_EQ(counts[size_t(K::Press)], counts[size_t(K::Release)] - counts[size_t(K::DoubleClick)])
        << "every press is released";
}

class Monkey : public ::testing::TestWithParam<uint64_t> {};

TEST_P(Monkey, RandomInputRunsCleanAndKeepsTheSaveFileWhole) {
    const uint64_t seed = GetParam();
    RunFolder run("monkey" + std::to_string(seed));
    run.CopyBuiltData();
    const uint64_t length = MonkeyMs();
    const std::string script = monkey::GenerateScript({seed, length});
    const Outcome out = run.Run(script, {"--max-ms", std::to_string(length + 600000)});

    const auto keep = [&] {
        // A failing seed's script, ready to be kept as a regression script.
        const fs::path kept =
            fs::temp_directory_path() / ("monkey-" + std::to_string(seed) + ".txt");
        std::ofstream(kept) << script;
        return "script kept at " + kept.string() + "; add it to " + ScriptsDir().string();
    };
    ASSERT_EQ(out.signal, 0) << "killed by signal " << out.signal << "\n" << out.errors << keep();
    ASSERT_EQ(out.exitCode, 0) << out.errors << keep();
    EXPECT_GE(ExitTimeIn(out.trace), long(length)) << "the run ended early; " << keep();

    // Every screen was visited in an hour of random input. The real screens are reached only
    // through their buttons, so the minutes the sanitizer build affords may end earlier; such
    // a run must still have left the logo for the title.
    const std::set<int> scenes = ScenesIn(out.trace);
    for (int scene = kSceneLogo; IsScene(scene); ++scene) {
        if (length < kHourMs && scene > kSceneTitle) break;
        EXPECT_TRUE(scenes.count(scene)) << "scene " << scene << " never shown; " << keep();
    }

    const std::vector<long> saves = SaveSizesIn(out.trace);
    // Scene ends store the file only when something changed, so there may be few saves.
    EXPECT_FALSE(saves.empty()) << "the exit stores the save file";
    for (long size : saves) EXPECT_EQ(size, 28976) << keep();
    EXPECT_TRUE(ReadWholeSave(run.SaveFile()).has_value()) << keep();
    // Bounded memory: the whole run stays far below what unbounded growth would reach.
    EXPECT_LT(out.maxRssKiB, 1024L * 1024) << "peak resident size " << out.maxRssKiB << " KiB";
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::Values(11u, 29u, 4242u));

}  // namespace
