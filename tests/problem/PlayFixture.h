#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ProblemFileWriter.h"
#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemFile.h"
#include "problem/ProblemPlay.h"
#include "progress/ProgressState.h"

// A screen without graphics: remembers what play asked of it.
struct RecordingView : ProblemView {
    std::vector<std::string> sounds;
    std::map<int, bool> timers;
    std::vector<int> faces;
    std::map<Pane, bool> panes;
    std::map<Text, std::string> texts;
    std::vector<int> leaves;
    int boardSize = 0;
    bool resultShown = false;
    bool resultCorrect = false;
    int stampShows = 0;
    void PlaySe(const std::string& path) override { sounds.push_back(path); }
    void StartTimer(int id, int) override { timers[id] = true; }
    void StopTimer(int id) override { timers[id] = false; }
    void ShowFace(int face) override { faces.push_back(face); }
    void ShowPane(Pane pane, bool shown) override {
        if (pane == Pane::ClearedStamp && shown) ++stampShows;
        panes[pane] = shown;
    }
    void ShowResultPicture(bool shown, bool correct) override {
        resultShown = shown;
        resultCorrect = correct;
    }
    void SetText(Text which, const std::string& text) override { texts[which] = text; }
    void SetBoardSize(int size) override { boardSize = size; }
    // Sleeps on the fixture's virtual clock, as the screen does on the platform's.
    void Pause(uint32_t ms) override { platform::GetPlatform().Sleep(ms); }
    void LeaveScreen(int scene) override { leaves.push_back(scene); }
    void Refresh() override {}
    int Count(const std::string& sound) const {
        return int(std::count(sounds.begin(), sounds.end(), sound));
    }
};

// A problem screen's worth of play over problems written with the test file writer.
class PlayTest : public ::testing::Test {
protected:
    static constexpr const char* kStone = "DATA/SOUND/SE/Stone.wav";
    static constexpr const char* kSet = "DATA/SOUND/SE/Set.wav";
    static constexpr const char* kCursor = "DATA/SOUND/SE/Cursor.wav";
    static constexpr const char* kOk = "DATA/SOUND/SE/OK.wav";
    static constexpr const char* kNo = "DATA/SOUND/SE/No.wav";
    void SetUp() override { platform::SetPlatform(&m_platform); }
    void TearDown() override { platform::SetPlatform(nullptr); }
    // Loads the problems as the block of course 0, chapter index `chapter`, section index
    // `section`, and starts play at `index` with the question window already closed.
    void Load(const std::vector<testfile::Problem>& problems, int index = 0, int chapter = 0,
              int section = 2) {
        const testfile::Block block{
            .chapter = uint8_t(chapter + 1), .section = uint8_t(section + 1), .problems = problems};
        board.chapter = uint32_t(chapter);
        board.section = uint32_t(section);
        board.records.assign(size_t(progress->ProblemCount(0, chapter + 1, section + 1)), {});
        ASSERT_TRUE(problemfile::DecodeFile(testfile::FileBytes({block}), chapter + 1, section + 1,
                                            board.records));
        progress->m_problemIndex = index;
        play = std::make_unique<ProblemPlay>(board, *progress, view);
        play->Start();
        CloseQuestion();
        view.sounds.clear();
    }
    // Clicks the centre of board point (col, row); the verdict after it.
    Verdict ClickPoint(int col, int row) {
        int x = 0, y = 0;
        boardgeometry::CenterOf(play->BoardSize(), col, row, x, y);
        play->BoardClick(x, y);
        return play->Result();
    }
    Verdict Decide() {
        play->Decide();
        return play->Result();
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) play->Tick();
    }
    void CloseQuestion() { play->BoardClick(10, 10); }
    void NextAndClose() {
        play->NextProblem();
        CloseQuestion();
    }
    int Moves() const { return int(play->Moves().size()); }
    bool ReplyPending() { return view.timers[ProblemPlay::kReplyTimer]; }
    uint64_t Now() const { return m_platform.Now(); }
    platform::HeadlessPlatform m_platform;
    std::unique_ptr<ProgressState> progress = std::make_unique<ProgressState>();
    ProblemBoard board;
    RecordingView view;
    std::unique_ptr<ProblemPlay> play;
};

// File words for a corner problem are given in window coordinates here: the file counts rows
// from the top of the whole board, and the corner window flips them.
inline uint32_t CornerWord(int fileCode, int aux, int col, int row) {
    return testfile::Word(fileCode, aux, col, 18 - row);
}

// A sequence problem (code 6) with black at window (0, 0), so it stays a corner problem; each
// branch alternates black and white from its first move.
inline testfile::Problem Sequence(const std::vector<std::vector<std::pair<int, int>>>& branches) {
    testfile::Problem p = testfile::Make(6, {CornerWord(1, 0, 0, 0)});
    for (const auto& branch : branches) {
        const int lo = int(p.answers.size());
        for (size_t i = 0; i < branch.size(); ++i)
            p.answers.push_back(
                CornerWord(i % 2 == 0 ? 1 : 2, 0, branch[i].first, branch[i].second));
        p.branches.push_back(testfile::BranchWord(lo, int(p.answers.size())));
    }
    return p;
}
