// Every committed end-to-end script (tests/platform/headless/scripts/*.txt, kept monkey seeds
// among them) runs on a copy of the built data without a crash, ends through the normal exit
// and leaves a whole save file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HeadlessRun.h"

namespace {

using namespace headless_run;

std::vector<std::string> CommittedScripts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(ScriptsDir()))
        if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CommittedScript : public ::testing::TestWithParam<std::string> {};

TEST_P(CommittedScript, RunsToTheNormalExitWithAWholeSaveFile) {
    RunFolder run("script-" + GetParam());
    run.CopyBuiltData();
    const Outcome out =
        run.Run(ReadText(ScriptsDir() / (GetParam() + ".txt")), {"--max-ms", "7200000"});
    ASSERT_EQ(out.signal, 0) << out.errors;
    ASSERT_EQ(out.exitCode, 0) << out.errors;
    EXPECT_GE(ExitTimeIn(out.trace), 0) << out.trace;
    for (long size : SaveSizesIn(out.trace)) EXPECT_EQ(size, 28976);
    EXPECT_TRUE(ReadWholeSave(run.SaveFile()).has_value());
}

TEST(CommittedScripts, ThereAreSome) {
    EXPECT_FALSE(CommittedScripts().empty()) << ScriptsDir();
}

INSTANTIATE_TEST_SUITE_P(Scripts, CommittedScript, ::testing::ValuesIn(CommittedScripts()),
                         [](const auto& param) {
                             std::string name = param.param;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
