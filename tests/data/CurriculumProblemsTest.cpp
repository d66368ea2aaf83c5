// The shipped problems of course 1 (入門編), chapter 1, sections 3-6, as the build made them:
// each is loaded with the program's loader, answered correctly and wrongly through problem
// play, and checked against what its question asks on a position of its own.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "GoPosition.h"
#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemFile.h"
#include "problem/ProblemPlay.h"
#include "problem/ProblemView.h"
#include "progress/ProgressState.h"

using gocheck::Colour;
using gocheck::Point;
using gocheck::Points;
using gocheck::Position;

namespace {

const std::string kProblemDir = std::string(STONEWELL_BINARY_DIR) + "/DATA/DATA/PROBLEM/";

// Chapter index 0, sections 3..6 (indices 2..5).
constexpr int kChapter = 0;
constexpr int kFirstSection = 2;
constexpr int kLastSection = 5;
constexpr int kProblemsPerSection = 28;
// Ticks until any verdict has been shown (the decide animation is the slowest, about 90).
constexpr int kVerdictTicks = 200;

// Questions, by index in the program's question table.
constexpr int kAllLibertiesOfBlack = 0;
constexpr int kLibertiesOfMarkedBlack = 1;
constexpr int kIsMarkedWhiteInAtari = 2;
constexpr int kStonesNotNeededToCapture = 3;
constexpr int kCaptureMarkedWhite = 4;
constexpr int kSaveMarkedBlack = 5;
constexpr int kWhiteStonesInAtari = 6;
constexpr int kWhichWayToRun = 7;
constexpr int kWhichPointCaptures = 8;
constexpr int kWhichSideToAtari = 9;
constexpr int kCanMarkedBlackRun = 10;
constexpr int kHelpMarkedBlack = 17;
constexpr int kHowManyLiberties = 39;
constexpr int kAtariMarkedWhite = 42;

// Problem screen stand-in: play only needs somewhere to send its requests.
struct SilentView : ProblemView {
    void PlaySe(const std::string&) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void ShowFace(int) override {}
    void ShowPane(Pane, bool) override {}
    void ShowResultPicture(bool, bool) override {}
    void SetText(Text, const std::string&) override {}
    void SetBoardSize(int) override {}
    void Pause(uint32_t ms) override { platform::GetPlatform().Sleep(ms); }
    void LeaveScreen(int) override {}
    void Refresh() override {}
};

Points AnswerPoints(const ProblemRecord& r) {
    Points out;
    // Type 5: a branch header, then byte 802 answer points.
    for (int i = 0; i < r.answerParam; ++i) {
        const StoneEntry& e = r.slots[r.setupCount + 1 + i];
        out.insert({e.x, e.y});
    }
    return out;
}

bool SameColourEntryAt(const ProblemPlay& play, int x, int y) {
    for (int i = 0; i < play.EntryCount(); ++i) {
        const StoneEntry& e = play.Entries()[i];
        if (!stone::IsErased(e) && e.x == x && e.y == y) return true;
    }
    return false;
}

class CurriculumProblems : public ::testing::Test {
protected:
    void SetUp() override { platform::SetPlatform(&m_platform); }
    void TearDown() override { platform::SetPlatform(nullptr); }

    bool LoadSection(int section) {
        board = ProblemBoard{};
        progress = std::make_unique<ProgressState>();
        return LoadProblemSet(board, *progress, kChapter, section, kProblemDir);
    }

    // Starts problem `index` of the loaded section with the question window closed.
    void Begin(int index) {
        progress->m_problemIndex = index;
        play = std::make_unique<ProblemPlay>(board, *progress, view);
        play->Start();
        play->BoardClick(500, 500);
    }

    void Click(int x, int y) {
        int px = 0, py = 0;
        boardgeometry::CenterOf(play->BoardSize(), x, y, px, py);
        play->BoardClick(px, py);
    }

    // Plays a sequence branch: the learner's moves by clicks, the replies through the timer.
    void PlayBranch(const std::vector<StoneEntry>& branch) {
        for (size_t i = 0; i < branch.size(); i += 2) {
            Click(branch[i].x, branch[i].y);
            if (play->Result() != Verdict::Undecided) return;
            play->ReplyTimer();  // the reply
            play->ReplyTimer();  // back to the learner
        }
    }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) play->Tick();
    }

    void Choose(int selection) {
        for (int i = 0; i < selection; ++i) play->SelectionUp();
        play->Decide();
    }

    // An empty point of the window that no branch starts with: a wrong first move.
    Point WrongFirstMove() const {
        std::set<Point> firsts;
        for (int b = 0; b < play->BranchCount(); ++b) {
            firsts.insert({play->Branch(b)[0].x, play->Branch(b)[0].y});
        }
        for (int y = 10; y >= 0; --y) {
            for (int x = 11; x >= 0; --x) {
                if (!firsts.count({x, y}) && !SameColourEntryAt(*play, x, y)) return {x, y};
            }
        }
        return {-1, -1};
    }

    platform::HeadlessPlatform m_platform;
    std::unique_ptr<ProgressState> progress;
    ProblemBoard board;
    SilentView view;
    std::unique_ptr<ProblemPlay> play;
};

// --- Play: every correct answer is judged correct, a wrong one incorrect ---

TEST_F(CurriculumProblems, EverySectionLoadsItsFullSet) {
    for (int section = kFirstSection; section <= kLastSection; ++section) {
        SCOPED_TRACE(section + 1);
        ASSERT_TRUE(LoadSection(section));
        ASSERT_EQ(board.records.size(), size_t(kProblemsPerSection));
        for (const ProblemRecord& r : board.records) EXPECT_NE(r.Type(), 0);
    }
}

TEST_F(CurriculumProblems, CorrectAnswersAreJudgedCorrect) {
    for (int section = kFirstSection; section <= kLastSection; ++section) {
        ASSERT_TRUE(LoadSection(section));
        for (int i = 0; i < kProblemsPerSection; ++i) {
            SCOPED_TRACE("section 1-" + std::to_string(section + 1) + " problem " +
                         std::to_string(i + 1));
            const ProblemRecord& r = board.records[size_t(i)];
            Begin(i);
            switch (int(play->Type())) {
                case 6: {
                    ASSERT_GE(play->BranchCount(), 1);
                    const int branches = play->BranchCount();
                    for (int b = 0; b < branches; ++b) {
                        if (b > 0) {
                            play->Again();
                            play->BoardClick(500, 500);  // closes the question window
                        }
                        PlayBranch(play->Branch(b));
                        EXPECT_EQ(play->Result(), Verdict::Correct) << "branch " << b + 1;
                    }
                    break;
                }
                case 5:
                    for (const Point& p : AnswerPoints(r)) Click(p.first, p.second);
                    EXPECT_EQ(play->Result(), Verdict::Correct);
                    break;
                case 3: {
                    const StoneEntry& answer = r.slots[r.setupCount + 1];
                    Click(answer.x, answer.y);
                    EXPECT_EQ(play->Result(), Verdict::Correct);
                    break;
                }
                case 2:
                    Choose(r.answerParam != 0 ? 0 : 1);
                    EXPECT_EQ(play->Result(), Verdict::Correct);
                    break;
                case 7:
                    Choose(r.answerParam - 1);
                    EXPECT_EQ(play->Result(), Verdict::Correct);
                    break;
                case 8:
                    Choose(r.answerParam);
                    EXPECT_EQ(play->Result(), Verdict::Correct);
                    break;
                default:
                    ADD_FAILURE() << "unexpected problem type " << int(play->Type());
            }
            Ticks(kVerdictTicks);
            EXPECT_TRUE(play->IsSolved());
        }
    }
}

TEST_F(CurriculumProblems, WrongAnswersAreJudgedIncorrect) {
    for (int section = kFirstSection; section <= kLastSection; ++section) {
        ASSERT_TRUE(LoadSection(section));
        for (int i = 0; i < kProblemsPerSection; ++i) {
            SCOPED_TRACE("section 1-" + std::to_string(section + 1) + " problem " +
                         std::to_string(i + 1));
            const ProblemRecord& r = board.records[size_t(i)];
            Begin(i);
            switch (int(play->Type())) {
                case 6: {
                    const Point p = WrongFirstMove();
                    Click(p.first, p.second);
                    break;
                }
                case 5: {
                    const Points answers = AnswerPoints(r);
                    Point wrong{-1, -1};
                    for (int y = 10; y >= 0 && wrong.first < 0; --y) {
                        for (int x = 11; x >= 0; --x) {
                            if (!answers.count({x, y})) {
                                wrong = {x, y};
                                break;
                            }
                        }
                    }
                    Click(wrong.first, wrong.second);
                    break;
                }
                case 3: {
                    const Position pos = Position::FromSetup(r);
                    for (const auto& [kind, p] : pos.Letters()) {
                        if (kind != r.answerParam) {
                            Click(p.first, p.second);
                            break;
                        }
                    }
                    break;
                }
                case 2:
                    Choose(r.answerParam != 0 ? 1 : 0);
                    break;
                case 7:
                    Choose(r.answerParam % 99);  // the number one above the answer
                    break;
                case 8:
                    Choose((r.answerParam + 1) % 3);
                    break;
                default:
                    ADD_FAILURE() << "unexpected problem type " << int(play->Type());
            }
            EXPECT_EQ(play->Result(), Verdict::Incorrect);
            Ticks(kVerdictTicks);
            EXPECT_FALSE(play->IsSolved());
        }
    }
}

TEST_F(CurriculumProblems, TheSectionsUseEveryJudgedKind) {
    std::set<int> types;
    for (int section = kFirstSection; section <= kLastSection; ++section) {
        ASSERT_TRUE(LoadSection(section));
        for (const ProblemRecord& r : board.records) types.insert(r.Type());
    }
    // Picking a letter, ○/×, marking points and sequences. No question of the table asks for
    // a number or a text about liberties, so sections 1-3..1-6 have neither.
    EXPECT_EQ(types, (std::set<int>{2, 3, 5, 6}));
}

// --- Go: each answer is what the question asks for ---

class CurriculumAnswers : public CurriculumProblems {
protected:
    // Every empty point of the corner window where a black move gives `wanted`.
    template <typename Pred>
    Points MovesWhere(const Position& pos, Pred wanted) const {
        Points out;
        for (int y = 0; y <= 10; ++y) {
            for (int x = 0; x <= 11; ++x) {
                if (pos.At(x, y) == gocheck::kNone && wanted(pos.Play(x, y, gocheck::kBlack))) {
                    out.insert({x, y});
                }
            }
        }
        return out;
    }

    Points FirstMoves() const {
        Points out;
        for (int b = 0; b < play->BranchCount(); ++b) {
            out.insert({play->Branch(b)[0].x, play->Branch(b)[0].y});
        }
        return out;
    }

    void CheckProblem(const ProblemRecord& r) {
        const Position pos = Position::FromSetup(r);
        const Points markedWhite = pos.ChainsOf(pos.Marked(gocheck::kWhite));
        const Points markedBlack = pos.ChainsOf(pos.Marked(gocheck::kBlack));
        auto captured = [&](const Position& after) {
            for (const Point& p : markedWhite) {
                if (after.At(p.first, p.second) == gocheck::kWhite) return false;
            }
            return true;
        };
        auto saved = [&](const Position& after) {
            const Points now = after.ChainsOf(after.Marked(gocheck::kBlack));
            return now.size() >= markedBlack.size() && after.Liberties(now).size() >= 2;
        };
        switch (r.question) {
            case kAllLibertiesOfBlack: {
                const Points black = pos.Stones(gocheck::kBlack);
                ASSERT_EQ(pos.ChainsOf({*black.begin()}), black) << "one black chain expected";
                EXPECT_EQ(AnswerPoints(r), pos.Liberties(black));
                break;
            }
            case kLibertiesOfMarkedBlack:
                ASSERT_FALSE(markedBlack.empty());
                EXPECT_EQ(AnswerPoints(r), pos.Liberties(markedBlack));
                break;
            case kHowManyLiberties: {
                const Points black = pos.Stones(gocheck::kBlack);
                ASSERT_EQ(pos.ChainsOf({*black.begin()}), black) << "one black chain expected";
                // "位置を選択": the learner picks the liberties.
                ASSERT_EQ(r.Type(), 5);
                EXPECT_EQ(AnswerPoints(r), pos.Liberties(black));
                break;
            }
            case kIsMarkedWhiteInAtari:
                ASSERT_FALSE(markedWhite.empty());
                EXPECT_EQ(r.answerParam != 0, pos.Liberties(markedWhite).size() == 1);
                break;
            case kWhiteStonesInAtari: {
                Points inAtari;
                for (const Point& p : pos.Stones(gocheck::kWhite)) {
                    if (pos.Liberties(pos.Chain(p.first, p.second)).size() == 1) inAtari.insert(p);
                }
                EXPECT_EQ(AnswerPoints(r), inAtari);
                break;
            }
            case kStonesNotNeededToCapture: {
                const Points white = pos.Stones(gocheck::kWhite);
                ASSERT_EQ(pos.Liberties(white).size(), 1u) << "the white stones are in atari";
                Points notNeeded;
                for (const Point& p : pos.Stones(gocheck::kBlack)) {
                    bool touches = false;
                    for (const Point& w : white) {
                        touches |= std::abs(w.first - p.first) + std::abs(w.second - p.second) == 1;
                    }
                    if (!touches) notNeeded.insert(p);
                }
                EXPECT_EQ(AnswerPoints(r), notNeeded);
                break;
            }
            case kAtariMarkedWhite:
                ASSERT_FALSE(markedWhite.empty());
                EXPECT_EQ(FirstMoves(), MovesWhere(pos, [&](const Position& after) {
                              return !captured(after) && after.Liberties(markedWhite).size() == 1;
                          }));
                // No answer puts the attacking stone itself in atari.
                for (const Point& m : FirstMoves()) {
                    const Position after = pos.Play(m.first, m.second, gocheck::kBlack);
                    EXPECT_GE(after.Liberties(after.Chain(m.first, m.second)).size(), 2u)
                        << m.first << "," << m.second;
                }
                break;
            case kCaptureMarkedWhite:
            case kWhichSideToAtari: {
                ASSERT_FALSE(markedWhite.empty());
                bool allSingle = true;
                for (int b = 0; b < play->BranchCount(); ++b) {
                    Position after = pos;
                    const std::vector<StoneEntry>& branch = play->Branch(b);
                    ASSERT_EQ(branch.size() % 2, 1u) << "a line ends with black's capture";
                    for (size_t m = 0; m < branch.size(); ++m) {
                        if (m % 2 == 1) {
                            // White's reply is its best try: running out of the atari.
                            const Points libs = after.Liberties(after.ChainsOf(markedWhite));
                            EXPECT_EQ(libs, (Points{{branch[m].x, branch[m].y}}))
                                << "branch " << b + 1 << " reply " << m;
                        }
                        after = after.Play(branch[m].x, branch[m].y,
                                           m % 2 == 0 ? gocheck::kBlack : gocheck::kWhite);
                    }
                    EXPECT_TRUE(captured(after)) << "branch " << b + 1;
                    allSingle &= branch.size() == 1;
                }
                // One-move captures list every capturing move.
                if (allSingle) {
                    EXPECT_EQ(FirstMoves(), MovesWhere(pos, captured));
                }
                break;
            }
            case kWhichPointCaptures:
            case kWhichWayToRun:
                for (const auto& [kind, p] : pos.Letters()) {
                    const Position after = pos.Play(p.first, p.second, gocheck::kBlack);
                    const bool right = kind == r.answerParam;
                    if (r.question == kWhichWayToRun) {
                        const size_t libs = after.Liberties(after.ChainsOf(markedBlack)).size();
                        if (right) {
                            EXPECT_GE(libs, 3u);
                        } else {
                            EXPECT_LE(libs, 2u);
                        }
                        continue;
                    }
                    // Capturing at once, or, when white is not in atari yet, an atari it
                    // cannot run from.
                    bool wins = captured(after);
                    if (!wins && pos.Liberties(markedWhite).size() > 1) {
                        const Points libs = after.Liberties(markedWhite);
                        if (libs.size() == 1) {
                            const Point run = *libs.begin();
                            const Position ran = after.Play(run.first, run.second, gocheck::kWhite);
                            wins = ran.Liberties(ran.Chain(run.first, run.second)).size() <= 1;
                        }
                    }
                    EXPECT_EQ(wins, right) << "letter kind " << kind;
                }
                break;
            case kSaveMarkedBlack:
            case kHelpMarkedBlack:
                ASSERT_FALSE(markedBlack.empty());
                ASSERT_EQ(pos.Liberties(markedBlack).size(), 1u)
                    << "the marked stones are in atari";
                EXPECT_EQ(FirstMoves(), MovesWhere(pos, saved));
                break;
            case kCanMarkedBlackRun: {
                const Points libs = pos.Liberties(markedBlack);
                ASSERT_EQ(libs.size(), 1u);
                const Point run = *libs.begin();
                const Position after = pos.Play(run.first, run.second, gocheck::kBlack);
                const size_t now = after.Liberties(after.Chain(run.first, run.second)).size();
                ASSERT_NE(now, 2u) << "two liberties would leave the question open";
                EXPECT_EQ(r.answerParam != 0, now >= 3);
                break;
            }
            default:
                ADD_FAILURE() << "no check for question " << int(r.question);
        }
    }
};

TEST_F(CurriculumAnswers, EveryAnswerFitsItsQuestion) {
    for (int section = kFirstSection; section <= kLastSection; ++section) {
        ASSERT_TRUE(LoadSection(section));
        for (int i = 0; i < kProblemsPerSection; ++i) {
            SCOPED_TRACE("section 1-" + std::to_string(section + 1) + " problem " +
                         std::to_string(i + 1));
            Begin(i);
            CheckProblem(board.records[size_t(i)]);
        }
    }
}

TEST_F(CurriculumAnswers, TheChecksCatchAWrongAnswer) {
    // The same checks on a doctored record: a liberty problem missing one answer point.
    ASSERT_TRUE(LoadSection(kFirstSection));
    ProblemRecord r = board.records[0];
    ASSERT_EQ(r.question, kAllLibertiesOfBlack);
    ASSERT_GT(r.answerParam, 1);
    --r.answerParam;
    Begin(0);
    EXPECT_NONFATAL_FAILURE(CheckProblem(r), "AnswerPoints");
}

}  // namespace
