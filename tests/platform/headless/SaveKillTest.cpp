// The whole program killed with SIGKILL at random moments while it moves between scenes
// (every scene end stores the save file): the file is always whole and keeps the progress it
// held, and the next start reads it.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "HeadlessRun.h"
#include "support/T2gWriter.h"

namespace {

using namespace headless_run;

TEST(HeadlessSaveKill, SaveFileStaysWholeAndKeepsProgressAcrossRandomKills) {
    RunFolder run("kill");
    run.CopyBuiltData();
    std::vector<uint8_t> image(28976, 0);
    image[0] = 1;               // music on
    image[4] = 0;               // effects off
    image[24 + 50] = 1;         // a finished lesson
    image[168 + 9600 + 1] = 1;  // a solved problem in course 1
    fs::create_directories(run.SaveFile().parent_path());
    ASSERT_TRUE(testsupport::WriteFile(run.SaveFile().string(), image));

    // Scene changes every few hundred virtual milliseconds, so a store is nearly always near.
    std::string script = "wait 2100\nclick 10 10\n";
    for (int i = 0; i < 2000; ++i) script += "wait 40\nclick 1000 10\nwait 40\nclick 10 10\n";

    std::mt19937 random(4711);
    int killedMidway = 0;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const pid_t pid = run.Start(script);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(1, 400)(random)));
        killedMidway += ::kill(pid, SIGKILL) == 0;
        const Outcome out = run.Wait(pid);
        const auto save = ReadWholeSave(run.SaveFile());
        ASSERT_TRUE(save.has_value()) << "attempt " << attempt << ": the save file is broken";
        EXPECT_EQ(save->bytes[0], 1);
        EXPECT_EQ(save->bytes[24 + 50], 1) << "attempt " << attempt;
        EXPECT_EQ(save->bytes[168 + 9600 + 1], 1) << "attempt " << attempt;
        EXPECT_EQ(save->bytes[4], 0) << "attempt " << attempt;
        (void)out;
    }
    EXPECT_GT(killedMidway, 30);

    // A normal run afterwards starts from that file and ends cleanly.
    const Outcome last = run.Run("wait 2500\nclick 500 400\nwait 300\nquit\n");
    EXPECT_EQ(last.exitCode, 0) << last.errors;
    const auto save = ReadWholeSave(run.SaveFile());
    ASSERT_TRUE(save.has_value());
    EXPECT_EQ(save->bytes[168 + 9600 + 1], 1);
}

}  // namespace
