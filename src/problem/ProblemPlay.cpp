#include "problem/ProblemPlay.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "problem/BoardGeometry.h"
#include "problem/ProblemJudge.h"
#include "problem/ProblemTexts.h"
#include "progress/ProgressState.h"
#include "progress/SoundFiles.h"

namespace {

using namespace sound_files;

using judge::kNoBranch;
// Ticks between a board judgement and its verdict.
constexpr int kVerdictDelayTicks = 3;
// The decide animation: the blink counter advances every 10 ticks and the verdict follows
// when it reaches 9.
constexpr int kBlinkTicks = 10;
constexpr int kBlinkEnd = 9;

bool IsLetter(uint8_t kind) {
    return kind >= 4 && kind <= 6;
}

}  // namespace

bool ProblemPlay::StepCounter::Advance() {
    if (!running || paused) return false;
    count = (count + 1) % period;
    return count == 0;
}

ProblemPlay::ProblemPlay(ProblemBoard& board, ProgressState& progress, ProblemView& view)
    : m_board(board), m_progress(progress), m_view(view) {}

int ProblemPlay::ProblemIndex() const {
    return m_progress.m_problemIndex;
}

void ProblemPlay::Start() {
    m_inputEnabled = true;
    m_mood = Mood::Normal;
    SetUp(true);
    ShowTexts();
    OpenQuestionWindow();
}

void ProblemPlay::SetUpProblem() {
    SetUp(true);
}

void ProblemPlay::StopEverythingPending() {
    m_view.StopTimer(kReplyTimer);
    m_verdictDelay = 0;
    m_blinkActive = false;
    m_replayCounter = StepCounter{};
    m_sequenceCounter = StepCounter{};
}

// Sets up the current problem. A fresh attempt also starts what runs by itself (a shown
// sequence, the opening reply of a problem where the reply side moves first); the set-up
// inside show-answer does not.
void ProblemPlay::SetUp(bool freshAttempt) {
    StopEverythingPending();
    const int course = m_progress.m_course;
    m_problemCount = std::min<int>(
        m_progress.ProblemCount(course, int(m_board.chapter) + 1, int(m_board.section) + 1),
        int(m_board.records.size()));
    int& index = m_progress.m_problemIndex;
    if (index >= m_problemCount) index = m_problemCount - 1;
    if (index < 0) index = 0;
    m_record = m_problemCount > 0 ? &m_board.records[size_t(index)] : nullptr;

    m_phase = PlayPhase::Answering;
    m_result = Verdict::None;
    m_selection = 0;
    m_chosen = 0;
    m_replyPlayed = false;
    m_verdictShown = false;
    m_moves.clear();
    m_branches.clear();
    m_matchedBranch = kNoBranch;
    m_answerMarks.clear();
    m_entries.fill(stone::Erased());
    m_entryCount = 0;
    m_setupCount = 0;
    m_highestSetupNumber = 0;
    m_sequenceBase.clear();
    m_firstNumbered = 0;
    m_stepsShown = 0;
    m_replayBase.clear();
    m_replayShown = 0;
    m_board.ClearCells();
    m_view.ShowResultPicture(false, false);
    m_view.ShowPane(ProblemView::Pane::AnswerButton, false);
    if (m_record == nullptr) {
        m_type = ProblemType::None;
        m_turn = Turn::NoPlay;
        m_view.ShowPane(ProblemView::Pane::ClearedStamp, false);
        m_view.Refresh();
        return;
    }

    const ProblemRecord& r = *m_record;
    m_type = r.Kind();
    const int size = r.IsFullBoard() ? 19 : 13;
    if (size != m_boardSize) {
        m_boardSize = size;
        m_view.SetBoardSize(size);
    }
    m_board.boardSize = size;
    m_setupCount = std::min<int>(r.setupCount, kMaxEntries);
    for (int i = 0; i < m_setupCount; ++i) {
        m_entries[size_t(i)] = r.slots[i];
        m_highestSetupNumber = std::max<int>(m_highestSetupNumber, r.slots[i].aux);
    }
    m_entryCount = m_setupCount;
    m_turn = ::Turn(r.turn);
    if (m_type == ProblemType::PlaySequence) {
        m_branches = judge::CopyBranches(r, m_setupCount, m_turn);
    }
    if (m_type == ProblemType::ShownSequence) PrepareSequence();
    m_view.ShowPane(ProblemView::Pane::ClearedStamp, IsSolved());

    if (freshAttempt && m_type == ProblemType::ShownSequence && StepsTotal() > 0) {
        m_sequenceCounter.running = true;
    }
    // A problem whose reply side moves first: its opening reply is played by the reply timer
    // as if the learner had just moved (the turn flips to the reply side when it fires).
    if (freshAttempt && m_type == ProblemType::PlaySequence && m_turn == Turn::Reply &&
        !m_branches.empty()) {
        m_matchedBranch = 0;
        m_turn = Turn::Learner;
        m_inputEnabled = false;
        m_view.StartTimer(kReplyTimer, 300);
    }
    m_view.Refresh();
}

// Type 1: the setup sorted by number (unnumbered first), the numbered stones to be revealed
// one per step.
void ProblemPlay::PrepareSequence() {
    // One problem of the data carries an unnumbered stone that belongs to its sequence.
    if (m_progress.m_course == 1 && m_board.chapter == 2 && m_board.section == 0 &&
        m_progress.m_problemIndex == 44) {
        for (int i = 0; i < m_setupCount; ++i) {
            if (m_entries[size_t(i)].x == 12 && m_entries[size_t(i)].y == 15) {
                m_entries[size_t(i)].aux = 12;
            }
        }
    }
    std::stable_sort(m_entries.begin(), m_entries.begin() + m_setupCount,
                     [](const StoneEntry& a, const StoneEntry& b) { return a.aux < b.aux; });
    m_sequenceBase.assign(m_entries.begin(), m_entries.begin() + m_setupCount);
    m_firstNumbered = 0;
    while (m_firstNumbered < m_setupCount && m_entries[size_t(m_firstNumbered)].aux == 0) {
        ++m_firstNumbered;
    }
    m_stepsShown = 0;
}

// Resets the entry list to `base` and plays its entries from `firstMove` on, `shownMoves` of
// them, resolving captures after each; entries after those are left out.
void ProblemPlay::RebuildFrom(const std::vector<StoneEntry>& base, int shownMoves, int firstMove) {
    m_entries.fill(stone::Erased());
    const int count = std::min<int>(int(base.size()), kMaxEntries);
    std::copy(base.begin(), base.begin() + count, m_entries.begin());
    m_entryCount = count;
    m_board.ClearCells();
    for (int k = 0; k < shownMoves && firstMove + k < count; ++k) {
        const int n = firstMove + k + 1;
        const StoneEntry& e = m_entries[size_t(n - 1)];
        PaintEntries(m_board, m_entries.data(), n);
        CaptureAround(m_board, e.x, e.y, e.kind);
        EraseVanished(m_board, m_entries.data(), n);
    }
}

void ProblemPlay::ShowSequenceStep() {
    if (m_stepsShown >= StepsTotal()) {
        m_sequenceCounter.running = false;
        return;
    }
    ++m_stepsShown;
    m_view.PlaySe(kSeStone);
    RebuildFrom(m_sequenceBase, m_stepsShown, m_firstNumbered);
    if (m_stepsShown >= StepsTotal()) m_sequenceCounter.running = false;
    m_view.Refresh();
}

void ProblemPlay::ShowReplayStep() {
    const int total = int(m_replayBase.size()) - m_setupCount;
    if (m_replayShown >= total) {
        m_replayCounter.running = false;
        return;
    }
    ++m_replayShown;
    m_view.PlaySe(kSeStone);
    RebuildFrom(m_replayBase, m_replayShown, m_setupCount);
    m_entryCount = std::min(m_entryCount, m_setupCount + m_replayShown);
    m_view.Refresh();
    m_view.Pause(250);
    if (m_replayShown >= total) m_replayCounter.running = false;
}

int ProblemPlay::FindEntryAt(int x, int y) const {
    for (int i = 0; i < m_entryCount; ++i) {
        const StoneEntry& e = m_entries[size_t(i)];
        if (!stone::IsErased(e) && e.x == x && e.y == y) return i;
    }
    return -1;
}

// Appends a played move: numbered by its place in the move list there, and by that count plus
// the highest setup number in the entry list. False when the entry list is full.
bool ProblemPlay::AppendMove(uint8_t kind, int x, int y, bool toMoveList) {
    if (m_entryCount >= kMaxEntries) return false;
    if (toMoveList) {
        m_moves.push_back({kind, uint8_t(x), uint8_t(y), uint8_t(m_moves.size() + 1)});
    }
    const int number = std::min(int(m_moves.size()) + m_highestSetupNumber, 255);
    m_entries[size_t(m_entryCount++)] = {kind, uint8_t(x), uint8_t(y), uint8_t(number)};
    return true;
}

void ProblemPlay::ResolveLastEntry() {
    const StoneEntry e = m_entries[size_t(m_entryCount - 1)];
    PaintEntries(m_board, m_entries.data(), m_entryCount);
    CaptureAround(m_board, e.x, e.y, e.kind);
    EraseVanished(m_board, m_entries.data(), m_entryCount);
}

void ProblemPlay::BoardClick(int x, int y) {
    if (x >= 721 && y >= 166 && y < 240) return;
    // Closes also over a section without problems, so the learner can reach the menu button.
    if (m_questionOpen) {
        m_questionOpen = false;
        m_view.ShowPane(ProblemView::Pane::QuestionWindow, false);
        if (m_record != nullptr && ChoiceType()) ShowSelectionPane();
        m_view.Refresh();
        return;
    }
    if (m_record == nullptr) return;
    if (IsFinal(m_result)) {
        m_phase = PlayPhase::Judged;
        if (m_mood == Mood::Correct) {
            if (ProblemIndex() >= m_problemCount - 1) {
                m_view.LeaveScreen(kSceneMainMenu);
            } else {
                NextProblem();
                return;
            }
        }
        m_view.Refresh();
        return;
    }
    if (m_phase == PlayPhase::AnswerShown || ChoiceType()) return;

    int col = -1, row = -1;
    if (m_turn != Turn::Reply || m_type != ProblemType::PlaySequence) {
        if (boardgeometry::PointAt(m_boardSize, x, y, col, row) != boardgeometry::Hit::Point) {
            return;
        }
    }

    switch (m_type) {
        case ProblemType::PickLetter: {
            int letter = -1;
            for (int i = 0; i < m_entryCount && letter < 0; ++i) {
                const StoneEntry& e = m_entries[size_t(i)];
                if (IsLetter(e.kind) && e.x == col && e.y == row) letter = e.kind;
            }
            if (letter < 0) return;
            m_view.PlaySe(kSeSet);
            m_chosen = letter;
            if (!AppendMove(7, col, row, false)) return;
            Judge();
            break;
        }
        case ProblemType::MarkPointsA:
        case ProblemType::MarkPoints: {
            m_view.PlaySe(kSeSet);
            const uint8_t kind = m_type == ProblemType::MarkPointsA ? 8 : 9;
            const bool known = std::any_of(m_moves.begin(), m_moves.end(),
                                           [&](auto& m) { return m.x == col && m.y == row; });
            if (!known && !AppendMove(kind, col, row, true)) return;
            Judge();
            break;
        }
        case ProblemType::PlaySequence:
            if (m_turn == Turn::Learner) {
                if (!m_inputEnabled) return;
                m_inputEnabled = false;
                if (FindEntryAt(col, row) >= 0 || !AppendMove(0, col, row, true)) {
                    m_inputEnabled = true;
                    return;
                }
                m_view.PlaySe(kSeStone);
                ResolveLastEntry();
                Judge();
                m_view.StartTimer(kReplyTimer, 300);
            } else if (m_turn == Turn::Reply) {
                PlayReply();
            }
            break;
        default:
            return;
    }
    AfterJudgement();
}

void ProblemPlay::AfterJudgement() {
    if (IsFinal(m_result)) {
        m_phase = PlayPhase::Judged;
        m_verdictDelay = kVerdictDelayTicks;
    }
    m_view.Refresh();
}

// The reply side's move: the matched branch's entry after the moves so far, played once per
// turn. False when there is none to play.
bool ProblemPlay::PlayReply() {
    if (m_turn != Turn::Reply || m_inputEnabled || m_replyPlayed) return false;
    if (m_result != Verdict::None && m_result != Verdict::Undecided) return false;
    if (m_matchedBranch >= int(m_branches.size())) return false;
    const std::vector<StoneEntry>& branch = m_branches[size_t(m_matchedBranch)];
    if (m_moves.size() >= branch.size()) return false;
    const StoneEntry& reply = branch[m_moves.size()];
    if (!stone::OnBoard(reply.x, reply.y) || FindEntryAt(reply.x, reply.y) >= 0) return false;
    if (!AppendMove(1, reply.x, reply.y, true)) return false;
    m_replyPlayed = true;
    m_view.PlaySe(kSeStone);
    ResolveLastEntry();
    if (m_moves.size() == branch.size()) Judge();
    m_view.StartTimer(kReplyTimer, 300);
    return true;
}

void ProblemPlay::ReplyTimer() {
    m_view.StopTimer(kReplyTimer);
    if (m_record == nullptr || m_phase != PlayPhase::Answering) return;
    if (m_turn != Turn::Learner && m_turn != Turn::Reply) return;
    m_turn = m_turn == Turn::Learner ? Turn::Reply : Turn::Learner;
    if (m_turn == Turn::Reply) {
        m_replyPlayed = false;
        if (PlayReply()) {
            AfterJudgement();
            return;
        }
        // Nothing to answer with: the turn goes straight back so the learner is not locked out.
        m_turn = Turn::Learner;
    }
    m_inputEnabled = true;
    m_view.Refresh();
}

void ProblemPlay::VerdictTimer() {
    m_view.StopTimer(kVerdictTimer);
}

void ProblemPlay::Judge() {
    const judge::Answer answer{m_chosen, m_selection, m_moves};
    if (auto verdict =
            judge::Judge(m_type, *m_record, m_setupCount, m_branches, answer, m_matchedBranch)) {
        m_result = *verdict;
    }
}

void ProblemPlay::ShowVerdict() {
    if (m_phase != PlayPhase::Judged || m_record == nullptr) return;
    if (!ChoiceType()) m_view.Pause(500);
    if (m_result == Verdict::Correct) {
        m_view.PlaySe(kSeOk);
        m_view.ShowFace(2);
        m_mood = Mood::Correct;
        if (!IsSolved()) {
            m_progress.MarkProblemSolved(m_progress.m_course, int(m_board.chapter),
                                         int(m_board.section), ProblemIndex());
            m_view.ShowPane(ProblemView::Pane::ClearedStamp, true);
        }
        m_verdictShown = true;
        m_view.ShowResultPicture(true, true);
        m_view.StartTimer(kVerdictTimer, 1000);
    } else if (m_result == Verdict::Incorrect) {
        m_view.PlaySe(kSeNo);
        m_view.ShowFace(3);
        m_mood = Mood::Incorrect;
        m_verdictShown = true;
        m_view.ShowResultPicture(true, false);
        m_view.StartTimer(kVerdictTimer, 1000);
        m_view.ShowPane(ProblemView::Pane::AnswerButton, true);
    }
    m_view.Refresh();
}

void ProblemPlay::Tick() {
    if (m_verdictDelay > 0 && --m_verdictDelay == 0) ShowVerdict();
    if (m_blinkActive && ++m_blinkTicks >= kBlinkTicks) {
        m_blinkTicks = 0;
        ++m_blink;
        m_view.SetText(ProblemView::Text::Selection, SelectionText());
        if (m_blink >= kBlinkEnd) {
            m_blinkActive = false;
            ShowVerdict();
        }
        m_view.Refresh();
    }
    if (m_sequenceCounter.Advance()) ShowSequenceStep();
    if (m_replayCounter.Advance()) ShowReplayStep();
}

void ProblemPlay::ShowSelectionPane() {
    m_blink = 1;
    m_view.ShowPane(ProblemView::Pane::SelectionPane, true);
    m_view.SetText(ProblemView::Text::Selection, SelectionText());
}

void ProblemPlay::Decide() {
    if (m_record == nullptr || !ChoiceType()) return;
    if (m_phase != PlayPhase::Answering || IsFinal(m_result) || m_questionOpen || m_blinkActive) {
        return;
    }
    m_view.ShowPane(ProblemView::Pane::SelectionPane, false);
    m_view.PlaySe(kSeSet);
    if (m_type == ProblemType::YesNo) m_chosen = m_selection == 0 ? 1 : 0;
    if (m_type == ProblemType::Number) m_chosen = m_selection + 1;
    if (m_type == ProblemType::Choice) m_chosen = m_selection;
    Judge();
    if (IsFinal(m_result)) m_phase = PlayPhase::Judged;
    m_blinkActive = true;
    m_blink = 1;
    m_blinkTicks = 0;
    m_view.Refresh();
}

void ProblemPlay::SelectionUp() {
    if (m_record == nullptr || !ChoiceType()) return;
    if (IsFinal(m_result)) {
        m_phase = PlayPhase::Judged;
        return;
    }
    if (m_phase == PlayPhase::AnswerShown) return;
    const int max = m_type == ProblemType::YesNo ? 1 : m_type == ProblemType::Choice ? 2 : 98;
    if (m_selection >= max) return;
    ++m_selection;
    m_view.PlaySe(kSeCursor);
    m_view.SetText(ProblemView::Text::Selection, SelectionText());
    m_view.Refresh();
}

void ProblemPlay::SelectionDown() {
    if (m_record == nullptr || !ChoiceType()) return;
    if (IsFinal(m_result)) {
        m_phase = PlayPhase::Judged;
        return;
    }
    if (m_phase == PlayPhase::AnswerShown) return;
    if (m_selection <= 0) return;
    --m_selection;
    m_view.PlaySe(kSeCursor);
    m_view.SetText(ProblemView::Text::Selection, SelectionText());
    m_view.Refresh();
}

std::string ProblemPlay::SelectionText() const {
    if (m_record == nullptr) return {};
    if (m_type == ProblemType::YesNo) {
        return m_selection == 0 ? problemtext::kCircle : problemtext::kCross;
    }
    if (m_type == ProblemType::Number) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", m_selection + 1);
        return number;
    }
    if (m_type == ProblemType::Choice && m_selection >= 0 && m_selection < 3) {
        const char* text = m_record->choices[m_selection];
        return std::string(text, strnlen(text, ProblemRecord::kChoiceBytes));
    }
    return {};
}

void ProblemPlay::ShowAnswer() {
    if (m_record == nullptr) return;
    m_view.PlaySe(kSeSet);
    if (m_result != Verdict::Incorrect || m_phase == PlayPhase::AnswerShown) return;
    if (m_type == ProblemType::ShownSequence) return;
    const int param = m_record->answerParam;
    SetUp(false);
    m_phase = PlayPhase::AnswerShown;
    m_mood = Mood::AnswerShown;
    m_answerMarks.clear();
    const int first = m_setupCount + 1;
    const int headerLength =
        m_setupCount < ProblemRecord::kSlots ? m_record->slots[m_setupCount].aux : 0;
    if (IsMarkType(m_type)) {
        for (int j = 0; j < judge::AnswerSlotCount(*m_record, m_setupCount); ++j) {
            StoneEntry mark = m_record->slots[first + j];
            mark.kind = 16;
            m_answerMarks.push_back(mark);
        }
    } else if (m_type == ProblemType::PickLetter) {
        const int length = std::min(headerLength, ProblemRecord::kSlots - first);
        for (int j = 0; j < length && m_entryCount < kMaxEntries; ++j) {
            StoneEntry e = m_record->slots[first + j];
            if (j == 0) e.kind = 17;
            m_entries[size_t(m_entryCount++)] = e;
        }
    } else if (m_type == ProblemType::PlaySequence) {
        for (const std::vector<StoneEntry>& branch : m_branches) {
            StoneEntry mark = branch.front();
            mark.kind = 15;
            m_answerMarks.push_back(mark);
        }
        if (!m_branches.empty() && m_branches.front().size() > 1) {
            m_replayBase.assign(m_entries.begin(), m_entries.begin() + m_setupCount);
            const std::vector<StoneEntry>& branch = m_branches.front();
            for (size_t i = 0; i < branch.size(); ++i) {
                const uint8_t kind = uint8_t((m_turn == Turn::Reply ? 1 : 0) ^ (i % 2));
                const StoneEntry move{kind, branch[i].x, branch[i].y, uint8_t(i + 1)};
                m_moves.push_back(move);
                if (m_replayBase.size() < size_t(kMaxEntries)) m_replayBase.push_back(move);
            }
            m_replayShown = 0;
            m_replayCounter = StepCounter{};
            m_replayCounter.running = true;
        }
    } else if (ChoiceType()) {
        std::string text;
        if (m_type == ProblemType::YesNo) {
            text = param != 0 ? problemtext::kCircle : problemtext::kCross;
        }
        if (m_type == ProblemType::Number) {
            char number[16];
            std::snprintf(number, sizeof number, "%02d", param);
            text = number;
        }
        if (m_type == ProblemType::Choice && param < 3) {
            text.assign(m_record->choices[param],
                        strnlen(m_record->choices[param], ProblemRecord::kChoiceBytes));
        }
        m_view.SetText(ProblemView::Text::Selection, text);
        m_view.ShowPane(ProblemView::Pane::SelectionPane, true);
    }
    m_view.Refresh();
}

void ProblemPlay::Again() {
    if (m_record == nullptr) return;
    m_view.PlaySe(kSeCancel);
    m_inputEnabled = true;
    SetUp(true);
    m_mood = Mood::AfterAgain;
    // The choices stay hidden while the question is read; closing it shows them.
    m_view.ShowPane(ProblemView::Pane::SelectionPane, false);
    if (!m_questionOpen) OpenQuestionWindow();
    m_view.Refresh();
}

void ProblemPlay::GoTo(int index) {
    m_view.PlaySe(kSeCursor);
    m_progress.m_problemIndex = index;
    m_inputEnabled = true;
    SetUp(true);
    m_mood = Mood::Normal;
    ShowTexts();
    OpenQuestionWindow();
}

void ProblemPlay::PrevProblem() {
    if (m_record == nullptr || ProblemIndex() <= 0) return;
    GoTo(ProblemIndex() - 1);
}

void ProblemPlay::NextProblem() {
    if (m_record == nullptr || ProblemIndex() >= m_problemCount - 1) return;
    GoTo(ProblemIndex() + 1);
}

void ProblemPlay::ShowTexts() {
    char counter[32];
    // "問題(%03d/%03d)" in Shift_JIS.
    std::snprintf(counter, sizeof counter, "\x96\xe2\x91\xe8(%03d/%03d)", ProblemIndex() + 1,
                  m_problemCount);
    m_view.SetText(ProblemView::Text::Counter, counter);
    m_view.SetText(ProblemView::Text::Caption,
                   m_record != nullptr ? problemtext::Caption(m_record->caption) : "");
}

void ProblemPlay::OpenQuestionWindow() {
    m_questionOpen = true;
    // "問題を読み込めませんでした。": the section's problem file is missing or broken.
    static constexpr const char* kUnreadable =
        "\x96\xe2\x91\xe8\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1"
        "\x82\xc5\x82\xb5\x82\xbd\x81\x42";
    m_view.SetText(ProblemView::Text::Question,
                   m_record != nullptr ? problemtext::Question(m_record->question) : kUnreadable);
    m_view.ShowPane(ProblemView::Pane::QuestionWindow, true);
    m_view.Refresh();
}

void ProblemPlay::PauseSteppers() {
    m_sequenceCounter.paused = true;
    m_replayCounter.paused = true;
}

void ProblemPlay::ResumeSteppers() {
    m_sequenceCounter.paused = false;
    m_replayCounter.paused = false;
}

int ProblemPlay::Face() const {
    if (m_mood == Mood::Correct) return 2;
    if (m_mood == Mood::Incorrect) return 3;
    return (IsFinal(m_result) || !m_questionOpen) ? 1 : 0;
}

bool ProblemPlay::IsSolved() const {
    return m_record != nullptr &&
           m_progress.IsProblemSolved(m_progress.m_course, int(m_board.chapter),
                                      int(m_board.section), ProblemIndex());
}

std::vector<BoardSprite> ProblemPlay::BoardSprites() const {
    std::vector<BoardSprite> sprites;
    int visible = m_entryCount;
    if (m_type == ProblemType::ShownSequence)
        visible = std::min(m_entryCount, m_firstNumbered + m_stepsShown);
    int lastIndex = -1;
    for (int i = 0; i < visible; ++i) {
        const StoneEntry& e = m_entries[size_t(i)];
        if (stone::IsErased(e)) continue;
        sprites.push_back({e, false});
        lastIndex = i;
    }
    if (!sprites.empty()) {
        const StoneEntry& last = sprites.back().entry;
        const bool playedMove = m_type == ProblemType::PlaySequence && lastIndex >= m_setupCount;
        const bool lastStep = m_type == ProblemType::ShownSequence && m_stepsShown > 0 &&
                              lastIndex == m_firstNumbered + m_stepsShown - 1;
        const bool lastReplayed = m_phase == PlayPhase::AnswerShown &&
                                  m_type == ProblemType::PlaySequence && m_replayShown > 0 &&
                                  lastIndex == m_setupCount + m_replayShown - 1;
        sprites.back().marker = (playedMove && last.aux == 0) || lastStep || lastReplayed;
    }
    for (const StoneEntry& mark : m_answerMarks) sprites.push_back({mark, false});
    return sprites;
}
