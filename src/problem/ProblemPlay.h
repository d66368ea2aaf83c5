#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "problem/ProblemBoard.h"
#include "problem/ProblemRecord.h"
#include "problem/ProblemStates.h"
#include "problem/ProblemView.h"

struct ProgressState;

// One entry as the board shows it: the entry (its aux is the number drawn) and whether the
// last-move marker goes on it.
struct BoardSprite {
    StoneEntry entry;
    bool marker = false;
};

// Plays the problems of the loaded section: sets a problem up from its record, turns clicks
// and buttons into answers, judges them, shows the verdict through the view, replays the
// answer and records first correct answers in the progress state. Runs on the screen's
// thread; every operation ignores calls that do not fit the current state.
//
// Two kinds of problem run by themselves after set-up:
// - A shown sequence (type 1) reveals its numbered stones one per kStepPeriod ticks, in number
//   order, with the stone sound, captures resolved as in play and the marker on the newest
//   stone, until all are shown.
// - A problem whose reply side moves first (turn byte 1) has its opening reply played by the
//   reply timer 300 ms after set-up, along its first branch; then the learner moves and is
//   judged as usual. Its answer entries are all white, so a learner's (black) move is judged
//   incorrect, after which the answer can be shown and replayed.
class ProblemPlay {
public:
    // Timers of the screen that play arms.
    static constexpr int kVerdictTimer = 1;
    static constexpr int kReplyTimer = 2;
    // Ticks between two steps of an answer replay or a shown sequence.
    static constexpr int kStepPeriod = 33;
    // Entries a problem's board can hold.
    static constexpr int kMaxEntries = ProblemRecord::kSlots;
    // Scenes the screen can be left for.
    static constexpr int kSceneMainMenu = 3;

    ProblemPlay(ProblemBoard& board, ProgressState& progress, ProblemView& view);

    // The screen opened: enables input, sets up the current problem of the progress state,
    // shows its texts and opens the question window.
    void Start();
    // Sets the current problem up afresh (answering, nothing played).
    void SetUpProblem();
    // A released left click at (x, y) in the 1024 x 768 space.
    void BoardClick(int x, int y);
    // Screen timer 2: the opponent's reply is due, or the turn comes back to the learner.
    void ReplyTimer();
    // Screen timer 1: the verdict has been shown long enough; only stops itself.
    void VerdictTimer();
    // One 10 ms tick of the screen's clock: pending verdicts and step counters.
    void Tick();
    // The decide button of types 2, 7 and 8.
    void Decide();
    void SelectionUp();
    void SelectionDown();
    // The answer button: shows the correct answer after an incorrect verdict.
    void ShowAnswer();
    // The again button: a fresh attempt at the same problem.
    void Again();
    void PrevProblem();
    void NextProblem();
    // Opens the question window and shows the question.
    void OpenQuestionWindow();
    // Stops the automatic steppers (while the in-screen menu is open) and restarts the ones
    // that were running.
    void PauseSteppers();
    void ResumeSteppers();

    // --- State for the screen and for tests ---
    // Whether there is a problem to play (false when the section has no records).
    bool HasProblem() const { return m_record != nullptr; }
    const ProblemRecord* Record() const { return m_record; }
    int ProblemIndex() const;
    int ProblemCount() const { return m_problemCount; }
    ProblemType Type() const { return m_type; }
    // 19 or 13.
    int BoardSize() const { return m_boardSize; }
    ::Turn Turn() const { return m_turn; }
    Verdict Result() const { return m_result; }
    PlayPhase Phase() const { return m_phase; }
    ::Mood Mood() const { return m_mood; }
    // The face the character should show now (0 normal, 1 aside, 2 correct, 3 incorrect).
    int Face() const;
    int Selection() const { return m_selection; }
    // The selection as the selection pane shows it (Shift_JIS).
    std::string SelectionText() const;
    bool QuestionOpen() const { return m_questionOpen; }
    bool InputEnabled() const { return m_inputEnabled; }
    bool DecideAnimating() const { return m_blinkActive; }
    // The verdict picture of the current attempt is on show.
    bool VerdictShown() const { return m_verdictShown; }
    // Whether the current problem is recorded as solved.
    bool IsSolved() const;
    // Index of the branch the moves follow; 255 for none.
    int MatchedBranch() const { return m_matchedBranch; }
    int BranchCount() const { return int(m_branches.size()); }
    const std::vector<StoneEntry>& Branch(int i) const { return m_branches[size_t(i)]; }
    const std::vector<StoneEntry>& Moves() const { return m_moves; }
    const std::vector<StoneEntry>& AnswerMarks() const { return m_answerMarks; }
    // The entry list: setup entries, then what was played.
    const StoneEntry* Entries() const { return m_entries.data(); }
    int EntryCount() const { return m_entryCount; }
    // Numbered stones of a type-1 sequence revealed so far, and how many there are.
    int StepsShown() const { return m_stepsShown; }
    int StepsTotal() const { return m_entryCount - m_firstNumbered; }
    // Answer moves replayed so far.
    int ReplayShown() const { return m_replayShown; }
    bool ReplayRunning() const { return m_replayCounter.running; }
    bool SequenceRunning() const { return m_sequenceCounter.running; }
    // What the board shows, in drawing order, answer marks last.
    std::vector<BoardSprite> BoardSprites() const;

private:
    struct StepCounter {
        bool running = false;
        bool paused = false;
        int period = kStepPeriod;
        int count = 0;
        // Advances by one tick; true when the step action is due.
        bool Advance();
    };

    void SetUp(bool freshAttempt);
    void StopEverythingPending();
    void PrepareSequence();
    void ShowSequenceStep();
    void ShowReplayStep();
    void RebuildFrom(const std::vector<StoneEntry>& base, int shownMoves, int firstMove);
    bool AppendMove(uint8_t kind, int x, int y, bool toMoveList);
    void ResolveLastEntry();
    int FindEntryAt(int x, int y) const;
    void Judge();
    void AfterJudgement();
    void ShowVerdict();
    bool PlayReply();
    void ShowTexts();
    void ShowSelectionPane();
    void GoTo(int index);
    bool ChoiceType() const { return IsChoiceType(m_type); }

    ProblemBoard& m_board;
    ProgressState& m_progress;
    ProblemView& m_view;

    const ProblemRecord* m_record = nullptr;
    int m_problemCount = 0;
    ProblemType m_type = ProblemType::None;
    int m_boardSize = 0;
    ::Turn m_turn = ::Turn::NoPlay;
    Verdict m_result = Verdict::None;
    PlayPhase m_phase = PlayPhase::Answering;
    ::Mood m_mood = ::Mood::Normal;
    int m_selection = 0;
    int m_chosen = 0;
    bool m_questionOpen = false;
    // Per screen, enabled at every set-up, so a screen left while a reply was pending does not
    // come back deaf to clicks.
    bool m_inputEnabled = true;
    bool m_replyPlayed = false;
    bool m_verdictShown = false;

    std::array<StoneEntry, kMaxEntries> m_entries{};
    int m_entryCount = 0;
    int m_setupCount = 0;
    int m_highestSetupNumber = 0;
    // The moves of this attempt; as long as the entry list allows, so that problems with
    // more answers than the original fixed arrays held stay solvable.
    std::vector<StoneEntry> m_moves;
    std::vector<std::vector<StoneEntry>> m_branches;
    int m_matchedBranch = 255;
    std::vector<StoneEntry> m_answerMarks;

    int m_verdictDelay = 0;
    bool m_blinkActive = false;
    int m_blink = 0;
    int m_blinkTicks = 0;

    // Type 1: the sorted setup, where its numbered entries start, how many are shown.
    std::vector<StoneEntry> m_sequenceBase;
    int m_firstNumbered = 0;
    int m_stepsShown = 0;
    StepCounter m_sequenceCounter;
    // Answer replay of type 6.
    std::vector<StoneEntry> m_replayBase;
    int m_replayShown = 0;
    StepCounter m_replayCounter;
};
