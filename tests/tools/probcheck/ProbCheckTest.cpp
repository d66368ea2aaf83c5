// probcheck against the real GNU Go: a sound collection passes, a faulty one is reported at
// the lines to look at. Skipped where GNU Go is not installed.
#include <gtest/gtest.h>

#include "../../../tools/common/ToolError.h"
#include "../../../tools/probcheck/GtpEngine.h"
#include "../../../tools/probcheck/ProblemVerify.h"

namespace {

class ProbCheck : public ::testing::Test {
protected:
    void SetUp() override {
        mGnuGo = probcheck::FindGnuGo();
        if (mGnuGo.empty()) GTEST_SKIP() << "GNU Go (Debian package gnugo) is not installed";
        mEngine = std::make_unique<probcheck::GtpEngine>(
            std::vector<std::string>{mGnuGo, "--mode", "gtp", "--quiet"});
    }
    std::vector<std::string> Check(const std::string& text) {
        std::vector<std::string> lines;
        for (const auto& s : probcheck::VerifyCollection(text, "p.sgf", *mEngine, mProblems))
            lines.push_back(s.Format());
        return lines;
    }
    std::string mGnuGo;
    std::unique_ptr<probcheck::GtpEngine> mEngine;
    int mProblems = 0;
};

// White C11 in atari in the corner window; black C10 takes it, a move far away does not.
constexpr const char* kCapture = "SZ[13]KD[sequence]QI[4]CI[2]PL[B]\nAB[bc][cb][dc]AW[cc]TR[cc]\n";

TEST_F(ProbCheck, SoundProblemsPass) {
    const std::string text = std::string("(;") + kCapture +
                             "(;B[cd]C[RIGHT])\n"
                             "(;B[jk]C[wrong]))\n"
                             "(;SZ[13]KD[points]QI[6]AB[bb]AW[cb][db](;B[cb];W[da]C[RIGHT]))\n"
                             "(;KD[ox]QI[2]AB[cd]OX[o])\n"
                             "(;SZ[13]KD[sequence]QI[42]PL[B]AB[ed][de]AW[ee]TR[ee]\n"
                             "(;B[fe]C[RIGHT])(;B[dd]C[no]))\n";
    EXPECT_EQ(Check(text), std::vector<std::string>{});
    EXPECT_EQ(mProblems, 4);
}

TEST_F(ProbCheck, ProblemsWithoutAJudgeableGoalAreListedUnchecked) {
    const std::string text = std::string("(;") + kCapture + "(;B[cd]C[RIGHT]))\n" +
                             "(;SZ[13]KD[points]QI[6]AB[bb]AW[cb][db](;B[cb];W[da]C[RIGHT]))\n"
                             "(;KD[ox]QI[2]AB[cd]OX[o])\n";
    std::vector<probcheck::Suspicion> unchecked;
    int problems = 0;
    EXPECT_TRUE(probcheck::VerifyCollection(text, "p.sgf", *mEngine, problems, &unchecked).empty());
    ASSERT_EQ(unchecked.size(), 2u);
    EXPECT_EQ(unchecked[0].Format(), "p.sgf:4: problem 2: the marked points are not judged");
    EXPECT_EQ(unchecked[1].problem, 3);
    EXPECT_NE(unchecked[1].message.find("\"ox\""), std::string::npos) << unchecked[1].message;
}

TEST_F(ProbCheck, FaultyProblemsAreReportedAtTheirLines) {
    const std::string text = std::string("(;") + kCapture +
                             "(;B[jk]C[RIGHT])\n"
                             "(;B[cd]C[no])\n"
                             "(;B[cc]))\n"
                             "(;SZ[13]KD[points]QI[6]AB[bb]AW[cb][db]\n(;B[bz];W[da]C[RIGHT]))\n"
                             "(;KD[sequence]QI[4]AB[aa][ab]AW[ba][bb]\n)\n";
    const auto lines = Check(text);
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "p.sgf:3: problem 1: the correct line does not capture white C11 against GNU "
                  "Go's best defence",
                  "p.sgf:4: problem 1: a wrong try also manages to capture white C11",
                  "p.sgf:5: problem 1: move 1 (black C11) is illegal: illegal move",
                  "p.sgf:7: problem 2: point \"bz\" is not on the board"}));
}

TEST_F(ProbCheck, MarkedOwnStonesMustBeSaved) {
    // Black B12 (marked) in atari: extending to B11... keeps it; a far move does not.
    const std::string text =
        "(;SZ[13]KD[sequence]QI[0]PL[B]AB[bb]AW[ab][ba][cb]TR[bb]\n"
        "(;B[bc]C[RIGHT])\n"
        "(;B[jk]C[RIGHT]))\n";
    const auto lines = Check(text);
    ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0],
              "p.sgf:3: problem 1: the correct line does not save black B12 against GNU Go's best "
              "defence");
}

TEST_F(ProbCheck, AtariQuestionsAskForOneLibertyNotACapture) {
    // Question 42 asks to put white E9 in atari: F9 does, the diagonal D10 does not.
    const auto lines = Check(
        "(;SZ[13]KD[sequence]QI[42]PL[B]AB[ed][de]AW[ee]TR[ee]\n"
        "(;B[dd]C[RIGHT])\n"
        "(;B[fe]C[no]))\n");
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "p.sgf:2: problem 1: the correct line does not put in atari white E9 against "
                  "GNU Go's best defence",
                  "p.sgf:3: problem 1: a wrong try also manages to put in atari white E9"}));
}

TEST_F(ProbCheck, AWrongTryMustTakeAsDirectlyAsTheAnswersDo) {
    // White A13 (marked) with one liberty: B12 takes it at once. The diagonal B12... leaves it
    // doomed but on the board, which is slower, not also right; a wrong line that does take
    // it is reported.
    const auto lines = Check(
        "(;SZ[13]KD[sequence]QI[4]CI[2]PL[B]AB[ba]AW[aa]TR[aa]\n"
        "(;B[ab]C[RIGHT])\n"
        "(;B[bb]C[slower])\n"
        "(;B[bb];W[ab];B[ac]C[also takes]))\n");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "p.sgf:4: problem 1: a wrong try also manages to capture white A13"}));
}

TEST_F(ProbCheck, AskingWhichSideToAtariFromInOrderToTakeIsACaptureGoal) {
    // Question 9 asks from which side to atari so as to take white E9: the right side chases it
    // into black stones and takes it; the wrong side is also an atari but lets it run.
    const auto lines = Check(
        "(;SZ[13]KD[sequence]QI[9]CI[2]PL[B]AB[ed][fd][de][ge]AW[ee]TR[ee]\n"
        "(;B[ef];W[fe];B[ff]C[RIGHT])\n"
        "(;B[fe]C[no]))\n");
    EXPECT_EQ(lines, std::vector<std::string>{});
}

TEST_F(ProbCheck, SyntaxErrorsNameTheirLine) {
    try {
        Check("(;SZ[13]\nKD[ox");
        FAIL() << "no error";
    } catch (const tools::ToolError& e) {
        EXPECT_EQ(e.file(), "p.sgf");
        EXPECT_EQ(e.line(), 2);
    }
}

TEST(ProbCheckEngine, AMissingProgramIsAnError) {
    EXPECT_THROW(probcheck::GtpEngine({"/nonexistent/gnugo", "--mode", "gtp"}), tools::ToolError);
}

}  // namespace
