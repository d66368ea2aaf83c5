// The monkey: four hours of seeded random input per seed, driving the whole program. It must
// not crash, end early or grow without bound, and the save file must stay whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "HeadlessRun.h"
#include "Lib/ZIRur/Util/LeakSanitizer.h"
#include "MonkeyScript.h"
#include "app/SceneTable.h"
#include "programs/Script.h"

namespace {

using namespace headless_run;

constexpr uint64_t kHourMs = 3600000;
constexpr uint64_t kMinuteMs = 60000;

// The heap figure comes from the C library's allocator, which AddressSanitizer replaces; there
// LeakSanitizer checks for leaks instead.
#ifdef STONEWELL_LEAK_SANITIZER
constexpr bool kHeapFigureCounts = false;
#else
constexpr bool kHeapFigureCounts = true;
#endif

// Virtual time per seed: four hours (about ten seconds of machine time), or
// $STONEWELL_MONKEY_MS (the sanitizer run, which is many times slower, uses less).
uint64_t MonkeyMs() {
    const char* text = std::getenv("STONEWELL_MONKEY_MS");
    const uint64_t ms = text != nullptr ? std::strtoull(text, nullptr, 10) : 0;
    return ms > 0 ? ms : 4 * kHourMs;
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

// How far the heap in use rose on one screen over the run, the largest rise over the screens
// sampled across at least a quarter of the run after its first quarter (which fills the glyph
// and picture caches). A screen's lowest figure in the first third of its own time span is
// compared with its lowest in the last third: a leak raises every screen's floor, while a
// heavy screen first opened late, or a screen left open for long, raises none. Taking each
// screen's own span rather than fixed quarters keeps a figure when the random input stays on
// one screen for hours. Empty when no screen qualifies.
std::optional<long> HeapFloorRiseKiB(const std::vector<MemorySample>& samples, long lengthMs) {
    std::map<int, std::vector<const MemorySample*>> byScene;
    for (const MemorySample& s : samples)
        if (s.ms >= lengthMs / 4) byScene[s.scene].push_back(&s);
    std::optional<long> rise;
    for (const auto& [scene, list] : byScene) {
        const long first = list.front()->ms, span = list.back()->ms - first;
        if (span < lengthMs / 4) continue;
        long early = LONG_MAX, late = LONG_MAX;
        int earlyCount = 0, lateCount = 0;
        for (const MemorySample* s : list) {
            if (s->ms < first + span / 3) {
                early = std::min(early, s->heapKiB);
                ++earlyCount;
            } else if (s->ms > first + span - span / 3) {
                late = std::min(late, s->heapKiB);
                ++lateCount;
            }
        }
        if (earlyCount >= 3 && lateCount >= 3)
            rise = std::max(rise.value_or(LONG_MIN), late - early);
    }
    return rise;
}

class Monkey : public ::testing::TestWithParam<uint64_t> {};

TEST_P(Monkey, RandomInputRunsCleanAndKeepsTheSaveFileWhole) {
    const uint64_t seed = GetParam();
    RunFolder run("monkey" + std::to_string(seed));
    run.CopyBuiltData();
    const uint64_t length = MonkeyMs();
    const std::string script = monkey::GenerateScript({seed, length});
    const Outcome out = run.Run(script, {"--max-ms", std::to_string(length + 600000),
                                         "--memory-every", std::to_string(kMinuteMs)});

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
    // And no trend once the caches are full: seeds rise by under 0.2 MiB from the second hour
    // to the fourth, while a leak of 4 KiB a press rises by 9 to 13 MiB. The sanitizer subset
    // runs minutes, not hours.
    if (kHeapFigureCounts && length >= 4 * kHourMs) {
        const std::vector<MemorySample> samples = MemorySamplesIn(out.trace);
        EXPECT_GE(samples.size(), length / kMinuteMs) << "one memory sample a minute";
        const std::optional<long> rise = HeapFloorRiseKiB(samples, long(length));
        ASSERT_TRUE(rise.has_value()) << "no screen was sampled across an hour; " << keep();
        EXPECT_LT(*rise, 4 * 1024) << "the heap in use rose by " << *rise << " KiB; " << keep();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::Values(11u, 29u, 4242u));

}  // namespace
