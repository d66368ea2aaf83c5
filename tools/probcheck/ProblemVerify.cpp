#include "probcheck/ProblemVerify.h"

#include <algorithm>
#include <optional>

#include "common/ToolError.h"
#include "problem/ProblemTexts.h"
#include "sgf2problem/SgfParser.h"

namespace probcheck {
namespace {

// Question texts (Shift_JIS) that change what marked stones are for: "アタリに" asks for an
// atari rather than a capture, unless the question also says "取る" (which side to atari
// from in order to take); "両アタリ" (a double atari) is not checked.
constexpr const char* kAtariText = "\x83\x41\x83\x5e\x83\x8a\x82\xc9";
constexpr const char* kTakeText = "\x8e\xe6\x82\xe9";
constexpr const char* kDoubleAtariText = "\x97\xbc\x83\x41\x83\x5e\x83\x8a";

// Captions of the question table that say what a move must do.
constexpr int kCaptionLive = 1;
constexpr int kCaptionCapture = 2;

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Move {
    bool black = true;
    Point at;
    int line = 0;
};

// One path from the root to a leaf: its moves and whether its last node says RIGHT.
struct Line {
    std::vector<Move> moves;
    bool right = false;
    int line = 0;
};

// A marked setup stone: the learner must capture it (opponent's) or keep it (own).
struct Target {
    Point at;
    bool black = true;
};

class ProblemChecker {
public:
    ProblemChecker(GtpEngine& engine, std::string file, int problem, int rootLine,
                   std::vector<Suspicion>& out, std::vector<Suspicion>* unchecked)
        : mEngine(engine),
          mFile(std::move(file)),
          mProblem(problem),
          mRootLine(rootLine),
          mOut(out),
          mUnchecked(unchecked) {}

    void Run(const sgf::Tree& tree) {
        const sgf::Node& root = tree.nodes.front();
        mSize = 19;
        if (const sgf::Property* sz = root.Find("SZ"); sz != nullptr && !sz->values.empty())
            mSize = std::atoi(sz->values[0].c_str());
        if (mSize < 2 || mSize > 19) return Report(mRootLine, "board size is not 2..19");
        const std::string kind = Value(root, "KD");
        mLearnerBlack = Value(root, "PL") != "W";
        const int caption = std::atoi(Value(root, "CI").c_str());
        const std::string question = problemtext::Question(std::atoi(Value(root, "QI").c_str()));
        mAtari = question.find(kAtariText) != std::string::npos &&
                 question.find(kTakeText) == std::string::npos;
        const bool doubleAtari = question.find(kDoubleAtariText) != std::string::npos;
        for (const char* colour : {"AB", "AW"})
            if (const sgf::Property* p = root.Find(colour))
                for (const std::string& v : p->values)
                    for (const Point& pt : Points(v, p->line))
                        (colour[1] == 'B' ? mBlack : mWhite).push_back(pt);
        if (!SetUp()) return;
        if (const sgf::Property* tr = root.Find("TR"))
            for (const std::string& v : tr->values)
                for (const Point& pt : Points(v, tr->line)) {
                    if (Contains(mBlack, pt)) mTargets.push_back({pt, true});
                    if (Contains(mWhite, pt)) mTargets.push_back({pt, false});
                }
        std::vector<Line> lines;
        Collect(tree, {}, true, lines);
        // Answer points are marked, not played (they may lie on stones); Points() has
        // already reported any that are off the board.
        if (kind == "points") return Unchecked("the marked points are not judged");
        const bool goals = (kind == "sequence" || kind == "letter") && !doubleAtari;
        mGoal = !goals                       ? Goal::None
                : !mTargets.empty()          ? Goal::Targets
                : caption == kCaptionCapture ? Goal::CaptureAny
                : caption == kCaptionLive    ? Goal::Live
                                             : Goal::None;
        // Correct lines first: what they achieve sets the bar a wrong try must not reach.
        std::stable_partition(lines.begin(), lines.end(), [](const Line& l) { return l.right; });
        for (const Line& line : lines) CheckLine(line);
        if (mGoal == Goal::None)
            Unchecked("kind \"" + (kind.empty() ? std::string("sequence") : kind) +
                      "\" has no goal GNU Go can judge; only legality was checked");
    }

private:
    enum class Goal { None, Targets, CaptureAny, Live };

    void Report(int line, const std::string& message) {
        mOut.push_back({mFile, line, mProblem, message});
    }
    static std::string Value(const sgf::Node& node, const char* id) {
        const sgf::Property* p = node.Find(id);
        return p != nullptr && !p->values.empty() ? p->values[0] : "";
    }
    static bool Contains(const std::vector<Point>& list, const Point& p) {
        for (const Point& q : list)
            if (q == p) return true;
        return false;
    }
    std::vector<Point> Points(const std::string& v, int line) {
        auto one = [&](const std::string& s, Point& p) {
            if (s.size() != 2 || s[0] < 'a' || s[1] < 'a' || s[0] - 'a' >= mSize ||
                s[1] - 'a' >= mSize) {
                Report(line, "point \"" + s + "\" is not on the board");
                return false;
            }
            p = {s[0] - 'a', s[1] - 'a'};
            return true;
        };
        std::vector<Point> out;
        const size_t colon = v.find(':');
        Point a, b;
        if (colon == std::string::npos) {
            if (one(v, a)) out.push_back(a);
        } else if (one(v.substr(0, colon), a) && one(v.substr(colon + 1), b)) {
            for (int x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x)
                for (int y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y)
                    out.push_back({x, y});
        }
        return out;
    }
    std::string Vertex(const Point& p) const {
        static const char kColumns[] = "ABCDEFGHJKLMNOPQRST";
        return std::string(1, kColumns[p.x]) + std::to_string(mSize - p.y);
    }
    static const char* Colour(bool black) { return black ? "black" : "white"; }

    void Collect(const sgf::Tree& tree, std::vector<Move> moves, bool isRoot,
                 std::vector<Line>& out) {
        const sgf::Node* last = nullptr;
        for (size_t i = isRoot ? 1 : 0; i < tree.nodes.size(); ++i) {
            const sgf::Node& node = tree.nodes[i];
            last = &node;
            for (const char* colour : {"B", "W"})
                if (const sgf::Property* p = node.Find(colour))
                    for (const std::string& v : p->values) {
                        const auto pts = Points(v, p->line);
                        if (pts.size() == 1) moves.push_back({colour[0] == 'B', pts[0], p->line});
                    }
        }
        if (tree.children.empty()) {
            if (moves.empty()) return;
            Line line{moves, false, last != nullptr ? last->line : tree.line};
            if (last != nullptr)
                if (const sgf::Property* c = last->Find("C"))
                    for (const std::string& text : c->values)
                        line.right = line.right || text.find("RIGHT") != std::string::npos;
            out.push_back(std::move(line));
            return;
        }
        for (const sgf::Tree& child : tree.children) Collect(child, moves, false, out);
    }

    // Puts the setup stones on a fresh board; false (reported) when one is refused.
    bool SetUp() {
        mEngine.Ask("boardsize " + std::to_string(mSize));
        mEngine.Ask("clear_board");
        for (bool black : {true, false})
            for (const Point& p : black ? mBlack : mWhite) {
                std::string answer;
                if (!mEngine.Send(std::string("play ") + Colour(black) + " " + Vertex(p), answer)) {
                    Report(mRootLine, std::string("setup stone ") + Colour(black) + " " +
                                          Vertex(p) + " is refused: " + answer);
                    return false;
                }
            }
        return true;
    }

    bool Empty(const Point& p) { return mEngine.Ask("color " + Vertex(p)) == "empty"; }
    // "0" when the string cannot be attacked / defended with that side to move.
    bool Attackable(const Point& p) {
        return mEngine.Ask("attack " + Vertex(p)).rfind("0", 0) != 0;
    }
    bool Defendable(const Point& p) {
        return mEngine.Ask("defend " + Vertex(p)).rfind("0", 0) != 0;
    }
    int StoneCount(bool black) {
        const std::string list = mEngine.Ask(std::string("list_stones ") + Colour(black));
        int n = 0;
        for (size_t i = 0; i < list.size(); ++i)
            n += (list[i] != ' ' && list[i] != '\n' &&
                  (i == 0 || list[i - 1] == ' ' || list[i - 1] == '\n'));
        return n;
    }

    // Whether the position after a line reaches the goal, with the side to move next.
    std::optional<bool> Reached(const Line& line) {
        const bool judgingWrongTry = !line.right;
        const bool nextBlack = !line.moves.back().black;
        switch (mGoal) {
            case Goal::None:
                return std::nullopt;
            case Goal::Targets:
                for (const Target& t : mTargets) {
                    const bool enemy = t.black != mLearnerBlack;
                    const bool gone = Empty(t.at);
                    if (enemy && mAtari) {
                        // Taken stones are past the atari the question asks for.
                        if (!gone && mEngine.Ask("countlib " + Vertex(t.at)) != "1") return false;
                        continue;
                    }
                    if (enemy && !gone) {
                        // When every answer takes the stones off the board, a wrong try
                        // that merely leaves them doomed is slower, not also right.
                        if (judgingWrongTry && mAnswersTake) return false;
                        const bool defenderMoves = nextBlack == t.black;
                        if (defenderMoves ? Defendable(t.at) : !Attackable(t.at)) return false;
                    }
                    if (!enemy) {
                        if (gone) return false;
                        const bool attackerMoves = nextBlack != t.black;
                        if (attackerMoves ? Attackable(t.at) : !Defendable(t.at)) return false;
                    }
                }
                return true;
            case Goal::CaptureAny: {
                // Fewer enemy stones than the setup's plus those the line played: a capture.
                int played = 0;
                for (const Move& m : line.moves) played += m.black != mLearnerBlack;
                if (StoneCount(!mLearnerBlack) < mEnemyStones + played) return true;
                const Move* last = LastLearnerMove(line);
                if (last == nullptr || nextBlack == mLearnerBlack) return false;
                const Point around[] = {{last->at.x - 1, last->at.y},
                                        {last->at.x + 1, last->at.y},
                                        {last->at.x, last->at.y - 1},
                                        {last->at.x, last->at.y + 1}};
                for (const Point& p : around) {
                    if (p.x < 0 || p.y < 0 || p.x >= mSize || p.y >= mSize) continue;
                    const std::string c = mEngine.Ask("color " + Vertex(p));
                    if (c == Colour(!mLearnerBlack) && !Defendable(p)) return true;
                }
                return false;
            }
            case Goal::Live: {
                const Move* last = LastLearnerMove(line);
                if (last == nullptr || Empty(last->at)) return false;
                return mEngine.Ask("dragon_status " + Vertex(last->at)).rfind("alive", 0) == 0;
            }
        }
        return std::nullopt;
    }

    // Whether the line just played took every marked enemy stone (false when none is marked).
    bool EnemyTargetsTaken() {
        bool any = false;
        for (const Target& t : mTargets) {
            if (t.black == mLearnerBlack) continue;
            if (!Empty(t.at)) return false;
            any = true;
        }
        return any;
    }

    const Move* LastLearnerMove(const Line& line) const {
        for (auto it = line.moves.rbegin(); it != line.moves.rend(); ++it)
            if (it->black == mLearnerBlack) return &*it;
        return nullptr;
    }

    std::string GoalText() const {
        switch (mGoal) {
            case Goal::Targets: {
                std::string s;
                for (const Target& t : mTargets)
                    s += (s.empty() ? "" : ", ") +
                         std::string(t.black != mLearnerBlack
                                         ? (mAtari ? "put in atari " : "capture ")
                                         : "save ") +
                         Colour(t.black) + " " + Vertex(t.at);
                return s;
            }
            case Goal::CaptureAny:
                return "capture stones";
            case Goal::Live:
                return "make the group live";
            case Goal::None:
                break;
        }
        return "";
    }

    void CheckLine(const Line& line) {
        SetUp();
        mEnemyStones = StoneCount(!mLearnerBlack);
        for (size_t i = 0; i < line.moves.size(); ++i) {
            const Move& m = line.moves[i];
            std::string answer;
            if (!mEngine.Send(std::string("play ") + Colour(m.black) + " " + Vertex(m.at),
                              answer)) {
                Report(m.line, "move " + std::to_string(i + 1) + " (" + Colour(m.black) + " " +
                                   Vertex(m.at) + ") is illegal: " + answer);
                return;
            }
        }
        const std::optional<bool> reached = Reached(line);
        if (!reached.has_value()) return;
        if (line.right) mAnswersTake = mAnswersTake && EnemyTargetsTaken();
        if (line.right && !*reached)
            Report(line.line,
                   "the correct line does not " + GoalText() + " against GNU Go's best defence");
        if (!line.right && *reached && line.moves.back().black == mLearnerBlack)
            Report(line.line, "a wrong try also manages to " + GoalText());
    }

    void Unchecked(const std::string& why) {
        if (mUnchecked != nullptr) mUnchecked->push_back({mFile, mRootLine, mProblem, why});
    }

    GtpEngine& mEngine;
    std::string mFile;
    int mProblem = 0;
    int mRootLine = 0;
    std::vector<Suspicion>& mOut;
    std::vector<Suspicion>* mUnchecked;
    int mSize = 19;
    bool mLearnerBlack = true;
    bool mAtari = false;
    std::vector<Point> mBlack, mWhite;
    std::vector<Target> mTargets;
    Goal mGoal = Goal::None;
    int mEnemyStones = 0;
    // Every correct line ends with the marked enemy stones off the board.
    bool mAnswersTake = true;
};

}  // namespace

std::string Suspicion::Format() const {
    return file + ":" + std::to_string(line) + ": problem " + std::to_string(problem) + ": " +
           message;
}

std::vector<Suspicion> VerifyCollection(
    std::string_view text, const std::string& file, GtpEngine& engine, int& problems,
    std::vector<Suspicion>* unchecked,
    const std::function<void(size_t done, size_t total)>& onProblem) {
    std::vector<sgf::Tree> trees;
    try {
        trees = sgf::ParseCollection(text);
    } catch (const sgf::SyntaxError& e) {
        throw tools::ToolError(file, e.Line(), e.what());
    }
    std::vector<Suspicion> out;
    for (size_t i = 0; i < trees.size(); ++i) {
        if (trees[i].nodes.empty()) continue;
        ++problems;
        ProblemChecker(engine, file, int(i + 1), trees[i].nodes.front().line, out, unchecked)
            .Run(trees[i]);
        if (onProblem) onProblem(i + 1, trees.size());
    }
    return out;
}

}  // namespace probcheck
