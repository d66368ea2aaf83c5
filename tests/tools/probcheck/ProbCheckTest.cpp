// probcheck against the real GNU Go: a sound collection passes, a faulty one is reported at
// the lines to look at. Skipped where GNU Go is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "../../../tools/probcheck/GtpEngine.h"
#include "../../../tools/probcheck/ProblemVerify.h"
#include "../ToolErrorOf.h"

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
        mVerdicts = {};
        probcheck::VerifyCollection(text, "p.sgf", *mEngine, mVerdicts);
        std::vector<std::string> lines;
        for (const auto& s : mVerdicts.findings) lines.push_back(s.Format());
        return lines;
    }
    std::string mGnuGo;
    std::unique_ptr<probcheck::GtpEngine> mEngine;
    probcheck::Verdicts mVerdicts;
};

// White cc in atari in the corner (C17 on the engine's 19 board); black cd takes it.
constexpr const char* kCapture = "SZ[13]KD[sequence]QI[4]CI[2]PL[B]\nAB[bc][cb][dc]AW[cc]TR[cc]\n";

TEST_F(ProbCheck, SoundProblemsOfEveryKindPass) {
    const std::string text = std::string("(;") + kCapture +
                             "(;B[cd]C[RIGHT])\n"
                             "(;B[jk]C[wrong]))\n"
                             "(;SZ[13]KD[points]QI[6]AB[ca][bb][cc]AW[cb](;B[cb]C[RIGHT]))\n"
                             "(;SZ[13]KD[ox]QI[2]AB[bc][cb][dc]AW[cc]TR[cc]OX[o])\n"
                             "(;SZ[13]KD[number]QI[31]AB[ac][bc][cc][ca][cb]NU[4])\n"
                             "(;SZ[13]KD[texts]QI[39]AB[cc]CH[a][b][c])\n";
    EXPECT_EQ(Check(text), std::vector<std::string>{});
    EXPECT_EQ(mVerdicts.problems, 5);
    EXPECT_EQ(mVerdicts.judged, (std::map<std::string, int>{
                                    {"number", 1}, {"ox", 1}, {"points", 1}, {"sequence", 1}}));
    ASSERT_EQ(mVerdicts.needsPerson.size(), 1u);
    EXPECT_EQ(mVerdicts.needsPerson[0].problem, 5);
}

TEST_F(ProbCheck, EveryMoveThatReachesTheGoalMustBeListed) {
    // White db, two liberties: the atari from the right (eb) chases it to the edge; the one
    // from above (da) lets it run, and the net at ec takes it as well.
    const auto lines = Check(
        "(;SZ[13]KD[sequence]QI[4]CI[2]PL[B]AB[ca][cb][dc]AW[db]TR[db]\n"
        "(;B[eb];W[da];B[ea]C[RIGHT])\n"
        "(;B[da]C[RIGHT]))\n");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0],
              "p.sgf:2: problem 1: the correct move black D19 does not capture the marked stones "
              "against GNU Go's best defence");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "p.sgf:2: problem 1: black E17 also manages to capture the marked stones "
                        "but is not a correct line"),
              lines.end());
}

TEST_F(ProbCheck, ALadderIsJudgedAsTheProblemOpens) {
    // White cc, two liberties, runs into the corner; the wrong line leaves it three, which
    // must not be where the ladder is asked about. A white stone at bb breaks the ladder.
    const auto ladder = [](const char* white, const char* line) {
        return std::string("(;SZ[13]KD[sequence]QI[21]PL[B]AB[bd][cd][dc]AW[cc]") + white +
               "TR[cc]\n(" + line + "C[RIGHT])\n(;B[bc];W[cb]C[no]))\n";
    };
    const std::string broken = "p.sgf:1: problem 1: white C17 cannot be taken in a ladder";
    const auto sound = Check(ladder("", ";B[cb];W[bc];B[ac];W[bb];B[ba];W[ab];B[aa]"));
    EXPECT_EQ(std::find(sound.begin(), sound.end(), broken), sound.end());
    EXPECT_EQ(mVerdicts.judged, (std::map<std::string, int>{{"sequence", 1}}));
    const auto breaker = Check(ladder("[bb]", ";B[cb];W[bc]"));
    EXPECT_NE(std::find(breaker.begin(), breaker.end(), broken), breaker.end());
}

// Each position with the findings it must give, exactly.
TEST_F(ProbCheck, EachPositionIsReadExactly) {
    using Found = std::vector<std::string>;
    // A race: black ca cb against white da db on the top edge, two liberties each, black to
    // move, the walls around them with eyes: filling either white liberty (ea, eb) wins the
    // race, filling black's own (ba) loses it.
    const std::string race =
        "(;SZ[13]KD[sequence]QI[26]PL[B]\n"
        "AB[ca][cb][dc][ec][ed][fa][fb][fc][fe][gc][gd][ge]"
        "AW[aa][ab][ac][ae][bc][bd][be][cc][ce][da][db][dd][de]TR[ca][cb][da][db]\n";
    // Seki: black a1..j3 around four white stones on the top edge with two shared liberties
    // (ca, ha); white's one outside liberty is gc. Filling it makes seki; filling a shared
    // liberty lets white take black first.
    const std::string seki =
        "(;SZ[13]KD[sequence]QI[33]PL[B]\n"
        "AB[aa][ab][ac][bc][cc][da][dc][ea][ec][fa][fc][ga][hc][ic][ja][jb][jc]"
        "AW[ba][bb][cb][db][eb][fb][gb][hb][ia][ib]TR[da][ea][fa][ga]\n";
    // Black cc and dd touch diagonally; white dc, ec, ed and bd make the cut at cd work, so
    // only the solid connection at cd holds. Extending at de lets white cut there.
    const std::string cut =
        "(;SZ[13]KD[sequence]QI[18]PL[B]AB[cc][dd]AW[dc][ec][ed][bd]TR[cc][dd]\n";
    // White 1 at ba has just taken black aa (TK): taking back at once is a ko, forbidden.
    const std::string ko = "(;SZ[13]KD[ox]QI[14]AB[aa][ca][bb]AW[ba][ab]TR[aa]LB[ba:1]TK[aa]";
    const std::string p1 = "p.sgf:1: problem 1: ";
    const std::pair<std::string, Found> cases[] = {
        // Territory 4 said 5; an atari said not to be one; a liberty left out and a stone put in.
        {"(;SZ[13]KD[number]QI[31]AB[ac][bc][cc][ca][cb]NU[5])\n"
         "(;SZ[13]KD[ox]QI[2]AB[bc][cb][dc]AW[cc]TR[cc]OX[x])\n"
         "(;SZ[13]KD[points]QI[39]AB[dd]AW[de]\n(;B[dc];W[cd];B[de]C[RIGHT]))\n",
         {p1 + "the number is 5, the position says 4",
          "p.sgf:2: problem 2: the answer is x, the position says o",
          "p.sgf:4: problem 3: the answer misses E16",
          "p.sgf:4: problem 3: the answer wrongly includes D15"}},
        // A white stone at fc stops every net: the listed atari is then the only answer.
        {"(;SZ[13]KD[sequence]QI[4]CI[2]PL[B]AB[ca][cb][dc]AW[db][fc]TR[db]\n"
         "(;B[eb];W[da];B[ea]C[RIGHT])(;B[da]C[no]))\n",
         {}},
        {race + "(;B[ea]C[RIGHT])(;B[eb]C[RIGHT])(;B[ba];W[bb]C[no]))\n", {}},
        {race + "(;B[ea]C[RIGHT]))\n",
         {"p.sgf:3: problem 1: black E18 also manages to win the capturing race but is not a "
          "correct line"}},
        {seki + "(;B[gc]C[RIGHT])(;B[ha];W[ca]C[no]))\n", {}},
        {seki + "(;B[gc]C[RIGHT])(;B[ha]C[RIGHT]))\n",
         {"p.sgf:3: problem 1: the correct move black H19 does not save the marked stones in "
          "seki against the best defence"}},
        // Black dd ataris white cd and dc at once; one reply cannot save both.
        {"(;SZ[13]KD[sequence]QI[12]PL[B]AB[cc][bd][db][ed][de]AW[cd][dc]\n"
         "(;B[dd]C[RIGHT])(;B[ce]C[no]))\n",
         {}},
        // The ko shape: black ba takes white aa, and white could take back at once.
        {"(;SZ[13]KD[sequence]QI[50]PL[B]AB[ab][cb]AW[aa][ca][bb]\n(;B[ba]C[RIGHT])(;B[jj]C[no]))"
         "\n",
         {}},
        // A point without liberties is forbidden to black (the marked stone is the move asked).
        {"(;SZ[13]KD[ox]QI[41]AB[aa]AW[ba][ab]TR[aa]OX[x])\n", {}},
        {"(;SZ[13]KD[ox]QI[41]AB[aa]AW[ba][ab]TR[aa]OX[o])\n",
         {p1 + "the answer is o, the position says x"}},
        {cut + "(;B[cd]C[RIGHT])(;B[de];W[cd]C[no]))\n", {}},
        {cut + "(;B[cd]C[RIGHT])(;B[de]C[RIGHT]))\n",
         {"p.sgf:2: problem 1: the correct move black D15 does not connect the marked stones "
          "against GNU Go's best defence"}},
        {ko + "OX[x])\n", {}},
        {ko + "OX[o])\n", {p1 + "the answer is o, the position says x"}},
        // After black 2 and white 3 elsewhere the ko may be taken back.
        {"(;SZ[13]KD[ox]QI[14]AB[aa][ca][bb][jj]AW[ba][ab][jk]TR[aa]"
         "LB[ba:1][jj:2][jk:3]TK[aa]OX[o])\n",
         {}},
        // A taken stone that the history does not take is a fault of the source.
        {"(;SZ[13]KD[ox]QI[14]AB[aa][ca]AW[ba]TR[aa]LB[ba:1]TK[aa]OX[x])\n",
         {p1 + "the taken stone at A19 is not taken by the numbered stones"}},
    };
    for (const auto& [sgf, found] : cases) EXPECT_EQ(Check(sgf), found) << sgf;
}

TEST_F(ProbCheck, SyntaxErrorsNameTheirLine) {
    EXPECT_EQ(tooltest::ErrorOf([&] { Check("(;SZ[13]\nKD[ox"); }).substr(0, 8), "p.sgf:2:");
}

TEST(ProbCheckEngine, AMissingProgramIsAnError) {
    EXPECT_THROW(probcheck::GtpEngine({"/nonexistent/gnugo", "--mode", "gtp"}), tools::ToolError);
}

}  // namespace
