#pragma once

#include <optional>
#include <span>
#include <vector>

#include "go/StoneEntry.h"
#include "problem/ProblemRecord.h"
#include "problem/ProblemStates.h"

// The judging rules of problem play, apart from any screen: they read a record, the setup
// count and the answer given so far.
namespace judge {

// No branch is matched.
inline constexpr int kNoBranch = 255;
// Branches kept for a sequence problem.
inline constexpr int kMaxBranches = 10;

using Branch = std::vector<StoneEntry>;

// The answer branches of a sequence problem: after the setup, a header whose aux is the
// length, then the entries. Bounded by the branch count (byte 802), 10 branches and the
// record's slots. A problem whose reply side moves first may have no branch count; its
// branches are walked up to the first empty header.
std::vector<Branch> CopyBranches(const ProblemRecord& record, int setupCount, Turn turn);

// Answer points of a marking problem that fit in the record after the setup and its header.
int AnswerSlotCount(const ProblemRecord& record, int setupCount);

// Marking problems: incorrect at the first move on no answer point, correct once as many
// moves as answer points (byte 802) were made, undecided before that.
Verdict JudgeMarks(const ProblemRecord& record, int setupCount, std::span<const StoneEntry> moves);

// Sequence problems: the first branch the moves so far follow decides; correct when they
// complete it, undecided while they are a prefix, incorrect when no branch fits. `matched`
// is set to the branch followed and left alone when none is.
Verdict JudgeSequence(std::span<const Branch> branches, std::span<const StoneEntry> moves,
                      int& matched);

// What the learner gave: the chosen value of types 2, 3 and 7, the selection of type 8, the
// moves of the board types.
struct Answer {
    int chosen = 0;
    int selection = 0;
    std::span<const StoneEntry> moves;
};

// The verdict for the problem's type; nothing for a type that is not judged.
std::optional<Verdict> Judge(ProblemType type, const ProblemRecord& record, int setupCount,
                             std::span<const Branch> branches, const Answer& answer, int& matched);

}  // namespace judge
