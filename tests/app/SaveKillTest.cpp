// Crash-safe saving through the real save path: a child process records progress and stores
// it after each step, telling the parent which steps were stored; the parent kills it with
// SIGKILL at random moments, many times over. After every kill the file must be whole and
// hold every stored step, and the next run carries on from it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

namespace {

constexpr size_t kSize = 28976;

// Step k of the learner's progress: the k-th problem of the curriculum solved, in course,
// chapter, section, problem order, and every 16th step a lesson finished as well.
struct Step {
    int course, chapter, section, problem;
};

std::vector<Step> Steps() {
    std::vector<Step> steps;
    const ProgressState tables;
    for (int c = 0; c < curriculum::kCourses; ++c)
        for (int ch = 0; ch < curriculum::kChapters; ++ch)
            for (int s = 0; s < curriculum::kSections; ++s)
                for (int p = 0; p < tables.ProblemCount(c, ch + 1, s + 1); ++p)
                    steps.push_back({c, ch, s, p});
    return steps;
}

// The byte of the file that records a step, by the file's own layout.
size_t SolvedByte(const Step& s) {
    return 168 + size_t(s.course) * 9600 + size_t(s.chapter) * 1600 + size_t(s.section) * 200 +
           size_t(s.problem) + 1;
}

// The child: loads what is there, finds the first step not yet recorded, then records and
// stores one step after another, writing each stored step's number to `ack`.
[[noreturn]] void RecordSteps(const std::string& dir, int ack) {
    const std::vector<Step> steps = Steps();
    savefile::SaveFile file;
    savefile::Location location;
    location.primaryDir = dir;
    AppSettings settings;
    ProgressState progress;
    file.Load(settings, progress, location);
    size_t k = 0;
    while (k < steps.size() && progress.IsProblemSolved(steps[k].course, steps[k].chapter,
                                                        steps[k].section, steps[k].problem))
        ++k;
    for (; k < steps.size(); ++k) {
        const Step& s = steps[k];
        progress.MarkProblemSolved(s.course, s.chapter, s.section, s.problem);
        if (k % 16 == 0) progress.MarkLessonDone(s.course, s.chapter, s.section);
        settings.m_menuPosition = int32_t(k);
        if (!file.Store(settings, progress, location)) _exit(3);
        const uint32_t stored = uint32_t(k);
        if (::write(ack, &stored, sizeof stored) != sizeof stored) _exit(4);
    }
    _exit(0);
}

TEST(SaveKill, EveryStoredStepSurvivesSigkillAtRandomMoments) {
    testsupport::ScratchDir dir;
    const std::string path = dir / "setting.dat";
    const std::vector<Step> steps = Steps();
    ASSERT_GT(steps.size(), 1000u);
    std::mt19937 random(20261206);
    long highestStored = -1;
    long totalStored = 0;
    int kills = 0;

    for (int attempt = 0; attempt < 80; ++attempt) {
        // Once the whole curriculum is recorded, start again from a learner with no file.
        if (highestStored + 1 >= long(steps.size())) {
            std::remove(path.c_str());
            highestStored = -1;
        }
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(pipe[0]);
            RecordSteps(dir.Path(), pipe[1]);
        }
        ::close(pipe[1]);
        // Kill at a random moment: after a random number of stores (none to a few), a random
        // time later. A store with its two syncs takes tens of milliseconds on a disk, so the
        // kill lands before, inside or after the next store.
        const int waitFor = std::uniform_int_distribution<int>(0, 2)(random);
        uint32_t stored = 0;
        for (int i = 0; i < waitFor; ++i) {
            if (::read(pipe[0], &stored, sizeof stored) != sizeof stored) break;
            highestStored = std::max(highestStored, long(stored));
            ++totalStored;
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 120000)(random)));
        kills += ::kill(pid, SIGKILL) == 0;
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0)
                << "the child could not store (attempt " << attempt << ")";
        }
        // Every step the child reported stored was stored before the kill.
        while (::read(pipe[0], &stored, sizeof stored) == sizeof stored) {
            highestStored = std::max(highestStored, long(stored));
            ++totalStored;
        }
        ::close(pipe[0]);

        if (highestStored < 0) continue;  // killed before anything was stored
        const std::vector<uint8_t> file = testsupport::ReadBytes(path);
        ASSERT_EQ(file.size(), kSize) << "attempt " << attempt;
        AppSettings settings;
        ProgressState progress;
        ASSERT_TRUE(savefile::ApplyImage(file, settings, progress));
        // The file holds a prefix of the steps: every stored step, perhaps a few more that
        // were written but not yet reported when the kill came, and nothing after a gap.
        size_t prefix = 0;
        while (prefix < steps.size() && file[SolvedByte(steps[prefix])] == 1) ++prefix;
        ASSERT_GT(long(prefix), highestStored) << "a stored step was lost at attempt " << attempt;
        for (size_t k = prefix; k < steps.size(); ++k)
            ASSERT_EQ(file[SolvedByte(steps[k])], 0) << "step " << k << " after a gap";
        // The menu position word names the last step in the file.
        const long word3 = long(file[12] | file[13] << 8 | file[14] << 16);
        EXPECT_EQ(word3, long(prefix) - 1) << "attempt " << attempt;
    }
    EXPECT_GT(kills, 60) << "too few runs were killed mid-way to show anything";
    EXPECT_GT(totalStored, 80) << "the runs stored too little progress";
}

}  // namespace
