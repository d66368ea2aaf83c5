#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemFile.h"
#include "problem/ProblemPlay.h"
#include "progress/ProgressState.h"

// Writes problem files byte by byte from the format's tables, independently of the loader.
namespace testfile {

// Setup or answer word: bits 0-7 file kind code, 8-15 aux, 16-23 x, 24-31 y (signed).
inline uint32_t Word(int fileCode, int aux, int x, int y) {
    return uint32_t(uint8_t(fileCode)) | uint32_t(uint8_t(aux)) << 8 | uint32_t(uint8_t(x)) << 16 |
           uint32_t(uint8_t(int8_t(y))) << 24;
}
// Branch word: answers lo .. hi - 1.
inline uint32_t BranchWord(int lo, int hi) {
    return uint32_t(uint16_t(lo)) | uint32_t(uint16_t(int16_t(hi))) << 16;
}

struct Problem {
    uint8_t caption = 0;
    uint8_t code = 0;
    uint8_t question = 0;
    std::vector<uint32_t> setup{};
    std::vector<uint32_t> branches{};
    std::vector<uint32_t> answers{};
    // When set, written as the answer bytes instead of `answers` (code 7); padded with zeros
    // to a multiple of 4, A = size / 4.
    std::vector<uint8_t> answerBytes{};
    // When set, written as the count field instead of the real count.
    std::optional<int32_t> answerCountField{};
};

// A problem of file code `code` with its setup, answer and branch words.
inline Problem Make(int code, std::vector<uint32_t> setup, std::vector<uint32_t> answers = {},
                    std::vector<uint32_t> branches = {}) {
    return {.code = uint8_t(code),
            .setup = std::move(setup),
            .branches = std::move(branches),
            .answers = std::move(answers)};
}

struct Block {
    uint8_t courseTag = 1;
    uint8_t chapter = 1;  // 1-based
    uint8_t section = 1;  // 1-based
    std::vector<Problem> problems{};
    // When set, written as P instead of problems.size().
    std::optional<int32_t> problemCountField{};
    // Added to the true body size in the header.
    int64_t bodySizeDelta = 0;
    // Bytes dropped from the end of the body (a truncated file).
    size_t truncate = 0;
};

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// The answer bytes of a code-7 problem: the three lengths, then the texts.
inline std::vector<uint8_t> ChoiceBytes(const std::string& t1, const std::string& t2,
                                        const std::string& t3) {
    std::vector<uint8_t> out = {uint8_t(t1.size()), uint8_t(t2.size()), uint8_t(t3.size())};
    for (const std::string* t : {&t1, &t2, &t3}) out.insert(out.end(), t->begin(), t->end());
    return out;
}

// The body of one problem entry.
inline std::vector<uint8_t> ProblemBytes(const Problem& p) {
    std::vector<uint8_t> out = {p.caption, p.code, p.question};
    Put32(out, uint32_t(p.setup.size()));
    for (uint32_t w : p.setup) Put32(out, w);
    Put32(out, uint32_t(p.branches.size()));
    for (uint32_t w : p.branches) Put32(out, w);
    std::vector<uint8_t> bytes = p.answerBytes;
    while (bytes.size() % 4 != 0) bytes.push_back(0);
    const size_t count = p.answerBytes.empty() ? p.answers.size() : bytes.size() / 4;
    Put32(out, uint32_t(p.answerCountField.value_or(int32_t(count))));
    if (p.answerBytes.empty())
        for (uint32_t w : p.answers) Put32(out, w);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

// An 8-byte header and the blocks.
inline std::vector<uint8_t> FileBytes(const std::vector<Block>& blocks) {
    std::vector<uint8_t> out = {'P', 'R', 'O', 'B', 0, 0, 0, 0};
    for (const Block& b : blocks) {
        std::vector<uint8_t> body;
        Put32(body, uint32_t(b.problemCountField.value_or(int32_t(b.problems.size()))));
        for (const Problem& p : b.problems) {
            const std::vector<uint8_t> bytes = ProblemBytes(p);
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
        const uint32_t size = uint32_t(int64_t(body.size()) + b.bodySizeDelta);
        body.resize(body.size() - std::min(b.truncate, body.size()));
        out.insert(out.end(), {b.courseTag, b.chapter, b.section});
        Put32(out, size);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace testfile

// A screen without graphics: remembers what play asked of it.
struct RecordingView : ProblemView {
    std::vector<std::string> sounds;
    std::map<int, bool> timers;
    std::vector<int> faces;
    std::map<Pane, bool> panes;
    std::map<Text, std::string> texts;
    int boardSize = 0;
    bool resultShown = false;
    bool resultCorrect = false;
    void PlaySe(const std::string& path) override { sounds.push_back(path); }
    void StartTimer(int id, int) override { timers[id] = true; }
    void StopTimer(int id) override { timers[id] = false; }
    void ShowFace(int face) override { faces.push_back(face); }
    void ShowPane(Pane pane, bool shown) override { panes[pane] = shown; }
    void ShowResultPicture(bool shown, bool correct) override {
        resultShown = shown;
        resultCorrect = correct;
    }
    void SetText(Text which, const std::string& text) override { texts[which] = text; }
    void SetBoardSize(int size) override { boardSize = size; }
    // Sleeps on the fixture's virtual clock, as the screen does on the platform's.
    void Pause(uint32_t ms) override { platform::GetPlatform().Sleep(ms); }
    void LeaveScreen(int) override {}
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
