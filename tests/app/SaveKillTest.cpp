// Crash-safe saving through the real save path: a child records one solved problem after
// another, storing after each and reporting each stored step to the parent, which kills it
// with SIGKILL at random moments. After every kill the file is whole and holds every stored
// step (and nothing after a gap), and the next run carries on from it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

namespace {

// Step k: the k-th problem of course 0 solved; its byte by the file's own layout.
std::vector<size_t> StepBytes() {
    std::vector<size_t> bytes;
    for (int ch = 0; ch < curriculum::kChapters; ++ch)
        for (int s = 0; s < curriculum::kSections; ++s)
            for (int p = 0; p < curriculum::ProblemCountAt(0, ch, s); ++p)
                bytes.push_back(168 + size_t(ch) * 1600 + size_t(s) * 200 + size_t(p) + 1);
    return bytes;
}

[[noreturn]] void RecordSteps(const std::string& dir, int ack) {
    savefile::SaveFile file;
    savefile::Location location;
    location.primaryDir = dir;
    AppSettings settings;
    ProgressState progress;
    file.Load(settings, progress, location);
    uint32_t k = 0;
    for (int ch = 0; ch < curriculum::kChapters; ++ch)
        for (int s = 0; s < curriculum::kSections; ++s)
            for (int p = 0; p < curriculum::ProblemCountAt(0, ch, s); ++p, ++k) {
                if (progress.IsProblemSolved(0, ch, s, p)) continue;
                progress.MarkProblemSolved(0, ch, s, p);
                settings.m_menuPosition = int32_t(k);
                if (!file.Store(settings, progress, location)) _exit(3);
                if (::write(ack, &k, sizeof k) != sizeof k) _exit(4);
            }
    _exit(0);
}

TEST(SaveKill, EveryStoredStepSurvivesSigkillAtRandomMoments) {
    testsupport::ScratchDir dir;
    const std::vector<size_t> steps = StepBytes();
    ASSERT_GT(steps.size(), 100u);
    std::mt19937 random(20261206);
    long highestStored = -1, totalStored = 0;
    int kills = 0;
    for (int attempt = 0; attempt < 80; ++attempt) {
        SCOPED_TRACE(attempt);
        if (highestStored + 1 >= long(steps.size())) {  // all recorded: a new learner
            ::unlink((dir / "setting.dat").c_str());
            highestStored = -1;
        }
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) RecordSteps(dir.Path(), pipe[1]);
        ::close(pipe[1]);
        // After none to a few stores, a random time later: a store with its two syncs takes
        // milliseconds, so the kill lands before, inside or after the next one.
        uint32_t stored = 0;
        for (int i = std::uniform_int_distribution<int>(0, 2)(random); i > 0; --i)
            if (::read(pipe[0], &stored, sizeof stored) == sizeof stored)
                highestStored = std::max(highestStored, long(stored)), ++totalStored;
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 120000)(random)));
        kills += ::kill(pid, SIGKILL) == 0;
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << "the child could not store";
        while (::read(pipe[0], &stored, sizeof stored) == sizeof stored)
            highestStored = std::max(highestStored, long(stored)), ++totalStored;
        ::close(pipe[0]);
        if (highestStored < 0) continue;  // killed before the first store

        const std::vector<uint8_t> file = testsupport::ReadBytes(dir / "setting.dat");
        ASSERT_EQ(file.size(), savefile::kFileSize);
        AppSettings settings;
        ProgressState progress;
        ASSERT_TRUE(savefile::ApplyImage(file, settings, progress));
        size_t prefix = 0;
        while (prefix < steps.size() && file[steps[prefix]] == 1) ++prefix;
        ASSERT_GT(long(prefix), highestStored) << "a stored step was lost";
        for (size_t k = prefix; k < steps.size(); ++k) ASSERT_EQ(file[steps[k]], 0) << "step " << k;
        EXPECT_EQ(settings.m_menuPosition, long(prefix) - 1) << "settings of another image";
    }
    EXPECT_GT(kills, 60) << "too few runs were killed mid-way to show anything";
    EXPECT_GT(totalStored, 80) << "the runs stored too little progress";
}

}  // namespace
