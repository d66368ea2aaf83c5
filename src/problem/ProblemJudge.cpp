#include "problem/ProblemJudge.h"

#include <algorithm>

namespace judge {
namespace {

bool SamePoint(const StoneEntry& a, const StoneEntry& b) {
    return a.kind == b.kind && a.x == b.x && a.y == b.y;
}

}  // namespace

std::vector<Branch> CopyBranches(const ProblemRecord& record, int setupCount, Turn turn) {
    std::vector<Branch> branches;
    int limit = std::min<int>(record.answerParam, kMaxBranches);
    if (turn == Turn::Reply && record.answerParam == 0) limit = kMaxBranches;
    int w = setupCount;
    for (int b = 0; b < limit && w < ProblemRecord::kSlots; ++b) {
        const int length = record.slots[w].aux;
        if (length == 0) break;
        if (w + 1 + length > ProblemRecord::kSlots) break;
        branches.emplace_back(record.slots + w + 1, record.slots + w + 1 + length);
        w += 1 + length;
    }
    return branches;
}

int AnswerSlotCount(const ProblemRecord& record, int setupCount) {
    const int first = setupCount + 1;
    return std::max(0, std::min<int>(record.answerParam, ProblemRecord::kSlots - first));
}

Verdict JudgeMarks(const ProblemRecord& record, int setupCount, std::span<const StoneEntry> moves) {
    const StoneEntry* answers = record.slots + setupCount + 1;
    const int count = AnswerSlotCount(record, setupCount);
    for (const StoneEntry& move : moves) {
        if (std::none_of(answers, answers + count,
                         [&](const StoneEntry& a) { return SamePoint(a, move); })) {
            return Verdict::Incorrect;
        }
    }
    return int(moves.size()) >= record.answerParam ? Verdict::Correct : Verdict::Undecided;
}

Verdict JudgeSequence(std::span<const Branch> branches, std::span<const StoneEntry> moves,
                      int& matched) {
    for (size_t b = 0; b < branches.size(); ++b) {
        const Branch& branch = branches[b];
        if (moves.size() > branch.size()) continue;
        if (!std::equal(moves.begin(), moves.end(), branch.begin(), SamePoint)) continue;
        matched = int(b);
        return moves.size() == branch.size() ? Verdict::Correct : Verdict::Undecided;
    }
    return Verdict::Incorrect;
}

std::optional<Verdict> Judge(ProblemType type, const ProblemRecord& record, int setupCount,
                             std::span<const Branch> branches, const Answer& answer, int& matched) {
    const int param = record.answerParam;
    switch (type) {
        case ProblemType::YesNo:
        case ProblemType::PickLetter:
        case ProblemType::Number:
            return answer.chosen == param ? Verdict::Correct : Verdict::Incorrect;
        case ProblemType::Choice:
            return answer.selection == param ? Verdict::Correct : Verdict::Incorrect;
        case ProblemType::MarkPointsA:
        case ProblemType::MarkPoints:
            return JudgeMarks(record, setupCount, answer.moves);
        case ProblemType::PlaySequence:
            return JudgeSequence(branches, answer.moves, matched);
        default:
            return std::nullopt;
    }
}

}  // namespace judge
