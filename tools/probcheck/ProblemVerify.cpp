#include "probcheck/ProblemVerify.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "common/ToolError.h"
#include "problem/ProblemBoard.h"
#include "sgf2problem/SgfParser.h"

namespace probcheck {
namespace {

constexpr int kEdge = 19;
constexpr int kBlack = 1, kWhite = 2;

struct Point {
    int x = 0, y = 0;
    auto operator<=>(const Point&) const = default;
};
using PointSet = std::set<Point>;

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

// What a question asks of the position; chosen by the question index (and for questions the
// table does not cover, by the caption).
enum class Goal {
    Capture,
    AtariCapture,
    Ladder,
    Save,
    Atari,
    DoubleAtari,
    Ko,
    Connect,
    Cut,
    Semeai,
    Seki,
    Live,
    Kill,
    Liberties,
    NeedsPerson
};

Goal SequenceGoal(int question, int caption) {
    switch (question) {
        case 9:
            return Goal::AtariCapture;
        case 4:
        case 8:
        case 23:
        case 24:
        case 25:
        case 40:
        case 47:
        case 48:
        case 51:
            return Goal::Capture;
        case 21:
        case 46:
            return Goal::Ladder;
        case 5:
        case 7:
        case 17:
            return Goal::Save;
        case 42:
            return Goal::Atari;
        case 11:
        case 12:
        case 13:
        case 43:
            return Goal::DoubleAtari;
        case 15:
        case 50:
            return Goal::Ko;
        case 18:
        case 44:
            return Goal::Connect;
        case 19:
        case 45:
            return Goal::Cut;
        case 26:
        case 52:
            return Goal::Semeai;
        case 33:
        case 49:
            return Goal::Seki;
        case 28:
        case 35:
        case 53:
            return Goal::Live;
        case 29:
        case 36:
        case 37:
        case 38:
        case 54:
            return Goal::Kill;
        case 0:
        case 1:
        case 39:
            return Goal::Liberties;
        default:
            // "白△と打ったところです。黒の次の一手は" and "完全な地を作るためには" name no
            // goal a reader can prove; other questions only through the caption.
            return caption == 2 ? Goal::Capture : caption == 1 ? Goal::Live : Goal::NeedsPerson;
    }
}

const char* GoalText(Goal goal) {
    switch (goal) {
        case Goal::Capture:
            return "capture the marked stones";
        case Goal::Ladder:
        case Goal::AtariCapture:
            return "capture the marked stones by atari";
            return "capture the marked stones in a ladder";
        case Goal::Save:
            return "save the marked stones";
        case Goal::Atari:
            return "put the marked stones in atari";
        case Goal::DoubleAtari:
            return "make a double atari";
        case Goal::Ko:
            return "make a ko";
        case Goal::Connect:
            return "connect the marked stones";
        case Goal::Cut:
            return "cut the marked stones";
        case Goal::Semeai:
            return "win the capturing race";
        case Goal::Seki:
            return "save the marked stones in seki";
        case Goal::Live:
            return "make the group live";
        case Goal::Kill:
            return "kill the group";
        case Goal::Liberties:
            return "fill a liberty";
        case Goal::NeedsPerson:
            break;
    }
    return "";
}

// A position with the program's own capture rule (the problem board of the program).
struct Position {
    ProblemBoard board;

    int At(const Point& p) const { return board.At(p.x, p.y); }
    static bool OnBoard(const Point& p) {
        return p.x >= 0 && p.y >= 0 && p.x < kEdge && p.y < kEdge;
    }
    static std::array<Point, 4> Around(const Point& p) {
        return {{{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}}};
    }
    void Play(const Point& p, bool black) {
        board.At(p.x, p.y) = uint8_t(black ? kBlack : kWhite);
        CaptureAround(board, p.x, p.y, black ? 0 : 1);
    }
    // The string through `p` and its liberties, by flood fill.
    void String(const Point& p, PointSet& stones, PointSet& liberties) const {
        stones.clear(), liberties.clear();
        const int colour = At(p);
        if (colour == 0) return;
        std::vector<Point> todo{p};
        stones.insert(p);
        while (!todo.empty()) {
            const Point q = todo.back();
            todo.pop_back();
            for (const Point& n : Around(q)) {
                if (!OnBoard(n)) continue;
                if (At(n) == 0)
                    liberties.insert(n);
                else if (At(n) == colour && stones.insert(n).second)
                    todo.push_back(n);
            }
        }
    }
    PointSet Liberties(const Point& p) const {
        PointSet s, l;
        String(p, s, l);
        return l;
    }
    // Points where a capture of one stone could be answered at once by a capture back.
    PointSet KoPoints() const {
        PointSet out;
        for (int y = 0; y < kEdge; ++y)
            for (int x = 0; x < kEdge; ++x) {
                PointSet stones, libs;
                String({x, y}, stones, libs);
                if (stones.size() != 1 || libs.size() != 1) continue;
                Position after = *this;
                const Point at = *libs.begin();
                after.Play(at, At({x, y}) == kWhite);
                if (after.At({x, y}) != 0) continue;
                PointSet s2, l2;
                after.String(at, s2, l2);
                if (s2.size() == 1 && l2 == PointSet{{x, y}}) out.insert(at);
            }
        return out;
    }
};

// An exact search of the fight around marked strings, for seki: the engine's life reading
// takes an eyeless group in seki for dead. Can the attacker, moving first, take one of the
// target strings while the defender answers? Both play only on the liberties of the targets
// and of the attacker's strings that touch them, leaving out strings with more than a few
// liberties (walls around the fight are meant to be alive). Two passes in a row end the
// fight, and so does the depth limit, which counts as no capture. A single-stone capture
// cannot be taken back at once.
class Fight {
public:
    Fight(std::vector<Point> targets, bool attackerBlack)
        : mTargets(std::move(targets)), mAttacker(attackerBlack ? kBlack : kWhite) {}

    bool AttackerTakes(const Position& pos) { return Search(pos, true, 0, 0, kNoPoint); }

private:
    static constexpr int kMaxDepth = 10;
    static constexpr size_t kFightLiberties = 4;
    static constexpr Point kNoPoint{-1, -1};

    int Defender() const { return mAttacker == kBlack ? kWhite : kBlack; }
    bool Taken(const Position& pos) const {
        for (const Point& t : mTargets)
            if (pos.At(t) != Defender()) return true;
        return false;
    }
    PointSet Candidates(const Position& pos) const {
        PointSet out;
        for (const Point& t : mTargets) {
            PointSet stones, libs;
            pos.String(t, stones, libs);
            out.insert(libs.begin(), libs.end());
            for (const Point& s : stones)
                for (const Point& n : Position::Around(s))
                    if (Position::OnBoard(n) && pos.At(n) == mAttacker) {
                        // A wall with many liberties is not part of the fight.
                        const PointSet l = pos.Liberties(n);
                        if (l.size() <= kFightLiberties) out.insert(l.begin(), l.end());
                    }
        }
        return out;
    }
    // Plays if legal (not suicide); `ko` becomes the point a one-stone capture left.
    static bool PlayLegal(Position& pos, const Point& at, int colour, Point& ko) {
        if (pos.At(at) != 0) return false;
        const Position before = pos;
        pos.Play(at, colour == kBlack);
        PointSet stones, libs;
        pos.String(at, stones, libs);
        if (libs.empty()) return false;
        // A ko: one stone taken, by a lone stone left with that one liberty.
        std::vector<Point> captured;
        for (int y = 0; y < kEdge; ++y)
            for (int x = 0; x < kEdge; ++x)
                if (before.At({x, y}) != 0 && before.At({x, y}) != colour && pos.At({x, y}) == 0)
                    captured.push_back({x, y});
        ko =
            captured.size() == 1 && stones.size() == 1 && libs.size() == 1 ? captured[0] : kNoPoint;
        return true;
    }
    bool Search(const Position& pos, bool attackerMoves, int depth, int passes, Point ban) {
        if (Taken(pos)) return true;
        if (passes >= 2 || depth >= kMaxDepth) return false;
        std::string key(size_t(kEdge * kEdge), '0');
        for (int y = 0; y < kEdge; ++y)
            for (int x = 0; x < kEdge; ++x) key[size_t(y * kEdge + x)] = char('0' + pos.At({x, y}));
        key += attackerMoves ? 'a' : 'd';
        key += char('0' + passes) + std::to_string(depth) + "," + std::to_string(ban.x) + "," +
               std::to_string(ban.y);
        if (auto it = mMemo.find(key); it != mMemo.end()) return it->second;
        const int colour = attackerMoves ? mAttacker : Defender();
        // The attacker needs one way to take; the defender one way to hold.
        bool result = !attackerMoves;
        for (const Point& p : Candidates(pos)) {
            if (p == ban) continue;
            Position next = pos;
            Point ko = kNoPoint;
            if (!PlayLegal(next, p, colour, ko)) continue;
            if (Search(next, !attackerMoves, depth + 1, 0, ko) == attackerMoves) {
                result = attackerMoves;
                break;
            }
        }
        if (result != attackerMoves &&
            Search(pos, !attackerMoves, depth + 1, passes + 1, kNoPoint) == attackerMoves)
            result = attackerMoves;
        mMemo[key] = result;
        return result;
    }

    std::vector<Point> mTargets;
    int mAttacker;
    std::map<std::string, bool> mMemo;
};

std::string Vertex(const Point& p) {
    static const char kColumns[] = "ABCDEFGHJKLMNOPQRST";
    return std::string(1, kColumns[p.x]) + std::to_string(kEdge - p.y);
}
const char* Colour(bool black) {
    return black ? "black" : "white";
}
bool Zero(const std::string& answer) {
    return answer.rfind("0", 0) == 0;
}

// A node of the correct lines where the learner chooses: the moves before it, and the moves
// the correct lines play there.
struct Choice {
    std::vector<Move> prefix;
    PointSet listed;
    int line = 0;
};

class ProblemChecker {
public:
    ProblemChecker(GtpEngine& engine, std::string file, int problem, int rootLine, Verdicts& out)
        : mEngine(engine),
          mFile(std::move(file)),
          mProblem(problem),
          mRootLine(rootLine),
          mOut(out) {}

    void Run(const sgf::Tree& tree) {
        const sgf::Node& root = tree.nodes.front();
        mSize = 19;
        if (const sgf::Property* sz = root.Find("SZ"); sz != nullptr && !sz->values.empty())
            mSize = std::atoi(sz->values[0].c_str());
        if (mSize != 13 && mSize != 19) return Report(mRootLine, "board size is not 13 or 19");
        mKind = Value(root, "KD");
        if (mKind.empty()) mKind = "sequence";
        mQuestion = std::atoi(Value(root, "QI").c_str());
        mCaption = std::atoi(Value(root, "CI").c_str());
        for (const char* colour : {"AB", "AW"})
            if (const sgf::Property* p = root.Find(colour))
                for (const std::string& v : p->values)
                    for (const Point& pt : Points(v, p->line))
                        (colour[1] == 'B' ? mBlack : mWhite).push_back(pt);
        if (const sgf::Property* tr = root.Find("TR"))
            for (const std::string& v : tr->values)
                for (const Point& pt : Points(v, tr->line)) mMarked.insert(pt);
        if (const sgf::Property* lb = root.Find("LB"))
            for (const std::string& v : lb->values) {
                const auto pts = Points(v.substr(0, v.find(':')), lb->line);
                const std::string text = v.substr(std::min(v.size(), v.find(':') + 1));
                if (pts.size() != 1) continue;
                if (!text.empty() && text[0] >= '0' && text[0] <= '9')
                    mNumbered.push_back({std::atoi(text.c_str()), pts[0]});
                else
                    mLetters.insert(pts[0]);
            }
        std::sort(mNumbered.begin(), mNumbered.end());
        // The stones the history took off: without them a move that just captured (a ko
        // taken a moment ago) could not be played again here.
        if (const sgf::Property* tk = root.Find("TK"))
            for (const std::string& v : tk->values)
                for (const Point& pt : Points(v, tk->line)) mTaken.push_back(pt);
        if (!mTaken.empty() && mNumbered.empty())
            return Report(mRootLine, "taken stones (TK) need numbered stones that take them");
        // "黒△と打てるなら", "黒△と切れるなら": the marked black stone is the move asked about,
        // not a stone already on the board.
        if (mQuestion == 14 || mQuestion == 20 || mQuestion == 41) {
            for (const Point& p : mMarked)
                if (std::erase(mBlack, p) > 0) mHypothetical.push_back(p);
            if (mHypothetical.size() != 1)
                return Report(mRootLine, "the question asks about one marked black stone");
        }
        SetWindow();
        if (!SetUp(true)) return;
        Collect(tree, {}, true);
        if (mKind == "sequence")
            Sequence();
        else if (mKind == "letter")
            Letter();
        else if (mKind == "points")
            MarkedPoints();
        else if (mKind == "ox")
            OX(root);
        else if (mKind == "number")
            Number(root);
        else if (mKind == "texts")
            NeedsPerson("the choice texts are judged by a person");
        else if (mKind != "shown")
            Report(mRootLine, "unknown kind \"" + mKind + "\"");
    }

private:
    void Report(int line, const std::string& message) {
        mOut.findings.push_back({mFile, line, mProblem, message});
    }
    void NeedsPerson(const std::string& why) {
        mOut.needsPerson.push_back({mFile, mRootLine, mProblem, why});
    }
    void Judged() { ++mOut.judged[mKind]; }
    static std::string Value(const sgf::Node& node, const char* id) {
        const sgf::Property* p = node.Find(id);
        return p != nullptr && !p->values.empty() ? p->values[0] : "";
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

    // The points the learner can click: a 13 board and a 19 board whose stones fit the corner
    // are shown as a 13 x 13 window; the rest of the 19 x 19 board is still real (the program
    // resolves captures on the whole board), so the engine always plays on 19 x 19.
    void SetWindow() {
        mWindow = {0, 0, kEdge, kEdge};
        if (mSize == 13) {
            mWindow = {0, 0, 13, 13};
            return;
        }
        bool corner = !mBlack.empty() || !mWhite.empty();
        for (const auto* list : {&mBlack, &mWhite})
            for (const Point& p : *list) corner = corner && p.x <= 11 && p.y >= 8;
        if (corner) mWindow = {0, 6, 13, kEdge};
    }
    bool InWindow(const Point& p) const {
        return p.x >= mWindow[0] && p.y >= mWindow[1] && p.x < mWindow[2] && p.y < mWindow[3];
    }

    // Puts the setup on a fresh board, numbered stones last in their order so that a ko
    // capture among them is the last move; false (reported) when a stone is refused.
    bool SetUp(bool report) {
        mEngine.Ask("boardsize 19");
        mEngine.Ask("clear_board");
        mPos = Position{};
        // Taken stones first, of the colour the first numbered stone plays against; the
        // numbered stones last, in order, as the moves that led to the position.
        const auto isBlack = [&](const Point& p) {
            return std::find(mBlack.begin(), mBlack.end(), p) != mBlack.end();
        };
        const bool takenBlack = !mNumbered.empty() && !isBlack(mNumbered[0].second);
        std::vector<std::pair<bool, Point>> fixed, history;
        for (const Point& p : mTaken) fixed.push_back({takenBlack, p});
        for (bool black : {true, false})
            for (const Point& p : black ? mBlack : mWhite) {
                const bool numbered = std::any_of(mNumbered.begin(), mNumbered.end(),
                                                  [&](const auto& n) { return n.second == p; });
                if (!numbered) fixed.push_back({black, p});
            }
        for (const auto& [number, p] : mNumbered) history.push_back({isBlack(p), p});
        const auto place = [&](const std::vector<std::pair<bool, Point>>& stones) {
            for (const auto& [black, p] : stones) {
                std::string answer;
                if (!mEngine.Send(std::string("play ") + Colour(black) + " " + Vertex(p), answer)) {
                    if (report)
                        Report(mRootLine, std::string("setup stone ") + Colour(black) + " " +
                                              Vertex(p) + " is refused: " + answer);
                    return false;
                }
                mPos.Play(p, black);
            }
            return true;
        };
        const auto takenLeft = [&](bool wanted) {
            for (const Point& p : mTaken)
                if ((mPos.At(p) != 0) != wanted) {
                    if (report)
                        Report(mRootLine, std::string("the taken stone at ") + Vertex(p) +
                                              (wanted ? " is taken before the numbered stones"
                                                      : " is not taken by the numbered stones"));
                    return false;
                }
            return true;
        };
        return place(fixed) && takenLeft(true) && place(history) && takenLeft(false);
    }
    // Plays a move on the engine and on the program's board; false when the engine refuses.
    bool Play(const Move& m, std::string* why = nullptr) {
        std::string answer;
        if (!mEngine.Send(std::string("play ") + Colour(m.black) + " " + Vertex(m.at), answer)) {
            if (why != nullptr) *why = answer;
            return false;
        }
        mPos.Play(m.at, m.black);
        return true;
    }

    void Collect(const sgf::Tree& tree, std::vector<Move> moves, bool isRoot) {
        const sgf::Node* last = nullptr;
        for (size_t i = isRoot ? 1 : 0; i < tree.nodes.size(); ++i) {
            last = &tree.nodes[i];
            for (const char* colour : {"B", "W"})
                if (const sgf::Property* p = last->Find(colour))
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
            mLines.push_back(std::move(line));
            return;
        }
        for (const sgf::Tree& child : tree.children) Collect(child, moves, false);
    }

    // Setup strings of one colour: the marked ones, else all of them.
    std::vector<Point> Targets(bool black) const {
        std::vector<Point> out;
        const auto& stones = black ? mBlack : mWhite;
        for (const Point& p : stones)
            if (mMarked.count(p) > 0) out.push_back(p);
        if (out.empty()) out = stones;
        return out;
    }
    bool AnyMarked(bool black) const {
        for (const Point& p : black ? mBlack : mWhite)
            if (mMarked.count(p) > 0) return true;
        return false;
    }
    // One stone of each distinct string among the points.
    std::vector<Point> Strings(const std::vector<Point>& points) const {
        std::vector<Point> out;
        std::set<Point> seen;
        for (const Point& p : points) {
            if (mPos.At(p) == 0 || seen.count(p) > 0) continue;
            PointSet s, l;
            mPos.String(p, s, l);
            seen.insert(s.begin(), s.end());
            out.push_back(p);
        }
        return out;
    }
    bool Ask0(const std::string& command) { return Zero(mEngine.Ask(command)); }
    // "analyze_semeai A B" (A's owner moves first) answers whether A survives, then whether
    // B dies: true when B dies.
    bool Kills(const std::string& command) {
        const std::string a = mEngine.Ask(command);
        const size_t space = a.find(' ');
        return space != std::string::npos && !Zero(a.substr(space + 1));
    }

    // Whether the goal is reached after a learner move, the opponent to move. `strict`: the
    // listed answers take the marked stones at once, so a move that only dooms them is slower.
    bool Reached(Goal goal, const Point& last, bool strict, const PointSet& kosBefore) {
        switch (goal) {
            case Goal::Capture:
            case Goal::AtariCapture:
            case Goal::Ladder:
                for (const Point& t : mTargets) {
                    if (mPos.At(t) == 0) continue;
                    if (strict) return false;
                    if (goal != Goal::Capture && mPos.Liberties(t).size() != 1) return false;
                    if (!Ask0("defend " + Vertex(t))) return false;
                }
                return true;
            case Goal::Save:
            case Goal::Live:
                for (const Point& t : mTargets) {
                    if (mPos.At(t) != kBlack) return false;
                    if (!Ask0((goal == Goal::Save ? "attack " : "owl_attack ") + Vertex(t)))
                        return false;
                }
                return true;
            case Goal::Kill:
                for (const Point& t : mTargets)
                    if (mPos.At(t) != 0 && !Ask0("owl_defend " + Vertex(t))) return false;
                return true;
            case Goal::Seki: {
                for (const Point& t : mTargets)
                    if (mPos.At(t) != kBlack) return false;
                return !Fight(mTargets, false).AttackerTakes(mPos);
            }
            case Goal::Atari:
                for (const Point& t : mTargets)
                    if (mPos.At(t) == 0 || mPos.Liberties(t).size() != 1) return false;
                return true;
            case Goal::DoubleAtari:
                return DoubleAtari();
            case Goal::Ko: {
                for (const Point& k : mPos.KoPoints())
                    if (kosBefore.count(k) == 0) return true;
                return false;
            }
            case Goal::Connect: {
                // Fewer strings than at the start is a join, unless a marked stone was taken.
                for (const Point& t : mTargets)
                    if (mPos.At(t) != kBlack) return false;
                const auto s = Strings(mTargets);
                for (size_t i = 1; i < s.size(); ++i)
                    if (!Ask0("disconnect " + Vertex(s[0]) + " " + Vertex(s[i]))) return false;
                return true;
            }
            case Goal::Cut: {
                const auto s = Strings(mTargets);
                for (size_t i = 0; i < s.size(); ++i)
                    for (size_t j = i + 1; j < s.size(); ++j)
                        if (Ask0("connect " + Vertex(s[i]) + " " + Vertex(s[j]))) return true;
                return false;
            }
            case Goal::Semeai: {
                // White to move and still unable to save its marked stones: black wins.
                if (mPos.At(mSemeai[0]) != kBlack) return false;
                if (mPos.At(mSemeai[1]) == 0) return true;
                return Ask0("analyze_semeai " + Vertex(mSemeai[1]) + " " + Vertex(mSemeai[0]));
            }
            case Goal::Liberties:
                for (const Point& t : mTargets)
                    for (const Point& n : Position::Around(last))
                        if (Position::OnBoard(n) && mPos.At(n) == kBlack) {
                            PointSet s, l;
                            mPos.String(n, s, l);
                            if (s.count(t) > 0) return true;
                        }
                return false;
            case Goal::NeedsPerson:
                break;
        }
        return false;
    }

    // Two or more marked (or, without marks, any) white strings in atari, and no single white
    // move leaves all of them out of atari.
    bool DoubleAtari() {
        std::vector<Point> inAtari;
        for (const Point& t : Strings(mTargets))
            if (mPos.Liberties(t).size() == 1) inAtari.push_back(t);
        if (inAtari.size() < 2) return false;
        PointSet replies;
        for (const Point& t : inAtari) {
            PointSet stones, libs;
            mPos.String(t, stones, libs);
            replies.insert(libs.begin(), libs.end());
            // Taking a black string in atari next to it may save it too.
            for (const Point& s : stones)
                for (const Point& n : Position::Around(s))
                    if (Position::OnBoard(n) && mPos.At(n) == kBlack) {
                        const PointSet l = mPos.Liberties(n);
                        if (l.size() == 1) replies.insert(*l.begin());
                    }
        }
        for (const Point& r : replies) {
            Position after = mPos;
            after.Play(r, false);
            bool allSafe = true;
            for (const Point& t : inAtari)
                allSafe = allSafe && after.At(t) == kWhite && after.Liberties(t).size() >= 2;
            if (allSafe) return false;
        }
        return true;
    }

    bool PrepareGoal(Goal goal) {
        mTargets.clear();
        switch (goal) {
            case Goal::Capture:
            case Goal::AtariCapture:
            case Goal::Ladder:
            case Goal::Atari:
            case Goal::Kill:
            case Goal::Cut:
                mTargets = Targets(false);
                if (!AnyMarked(false) && goal != Goal::Kill) {
                    // Without marks, the white strings a black move can still decide.
                    std::vector<Point> open;
                    for (const Point& t : Strings(mTargets))
                        if (!Ask0("defend " + Vertex(t))) open.push_back(t);
                    mTargets = open;
                }
                if (goal == Goal::Ladder)
                    for (const Point& t : Strings(mTargets))
                        if (Ask0("ladder_attack " + Vertex(t)))
                            Report(mRootLine,
                                   "white " + Vertex(t) + " cannot be taken in a ladder");
                break;
            case Goal::Save:
            case Goal::Seki:
            case Goal::Live:
            case Goal::Connect:
            case Goal::Liberties:
                mTargets = Targets(true);
                break;
            case Goal::DoubleAtari:
                mTargets = mQuestion == 12 ? mWhite : Targets(false);
                break;
            case Goal::Semeai: {
                const auto b = Targets(true), w = Targets(false);
                if (!AnyMarked(true) || !AnyMarked(false)) {
                    Report(mRootLine, "a capturing race needs marked black and white stones");
                    return false;
                }
                mSemeai = {b[0], w[0]};
                // The race is won against the white stones; naming them keeps the race from
                // being taken for a problem without targets.
                mTargets = w;
                break;
            }
            case Goal::Ko:
            case Goal::NeedsPerson:
                break;
        }
        if (mTargets.empty() && goal != Goal::Ko && goal != Goal::NeedsPerson) {
            Report(mRootLine, std::string("nothing to ") + GoalText(goal));
            return false;
        }
        return true;
    }

    // Replays the setup and `moves`; false (reported) at a refused move.
    bool Replay(const std::vector<Move>& moves) {
        SetUp(false);
        for (size_t i = 0; i < moves.size(); ++i) {
            std::string why;
            if (!Play(moves[i], &why)) {
                Report(moves[i].line, "move " + std::to_string(i + 1) + " (" +
                                          Colour(moves[i].black) + " " + Vertex(moves[i].at) +
                                          ") is illegal: " + why);
                return false;
            }
        }
        return true;
    }

    // Where the learner may click: empty, in the window, no letter or mark on it.
    bool Clickable(const Point& p) const {
        return InWindow(p) && mPos.At(p) == 0 && mLetters.count(p) == 0 && mMarked.count(p) == 0;
    }

    // Tries `m` from the current position; the engine and board are restored afterwards.
    // Empty when the engine refuses the move (the program would let it stand, capturing
    // nothing, which reaches no goal).
    std::optional<bool> Try(Goal goal, const Move& m, bool strict) {
        const Position saved = mPos;
        const PointSet kos = goal == Goal::Ko ? mPos.KoPoints() : PointSet{};
        if (!Play(m)) return std::nullopt;
        const bool reached = Reached(goal, m.at, strict, kos);
        mEngine.Ask("undo");
        mPos = saved;
        return reached;
    }

    // Whether every marked enemy string is lost even with its owner to move.
    bool Doomed() {
        for (const Point& t : mTargets)
            if (mPos.At(t) != 0 && !Ask0("defend " + Vertex(t))) return false;
        return true;
    }

    // Whether every listed move takes the marked stones off the board at once: then a move that
    // only dooms them is slower, not also right.
    bool TakesAtOnce(Goal goal, const PointSet& listed) {
        if (goal != Goal::Capture && goal != Goal::AtariCapture && goal != Goal::Ladder)
            return false;
        bool all = true;
        for (const Point& p : listed) {
            const Position saved = mPos;
            Play({true, p});
            for (const Point& t : mTargets) all = all && mPos.At(t) == 0;
            mEngine.Ask("undo");
            mPos = saved;
        }
        return all;
    }

    void Sequence() {
        const Goal goal = SequenceGoal(mQuestion, mCaption);
        for (const Line& l : mLines)
            if (!Replay(l.moves)) return;
        if (goal == Goal::NeedsPerson) return PersonSequence();
        // The goal is read from the problem as it opens, not where the last line left it.
        SetUp(false);
        if (!PrepareGoal(goal)) return;
        // Each choice of the learner along the correct lines, with the moves listed there.
        std::vector<Choice> choices;
        for (const Line& l : mLines) {
            if (!l.right) continue;
            for (size_t i = 0; i < l.moves.size(); i += 2) {
                std::vector<Move> prefix(l.moves.begin(), l.moves.begin() + long(i));
                auto same = [&](const Choice& c) {
                    if (c.prefix.size() != prefix.size()) return false;
                    for (size_t k = 0; k < prefix.size(); ++k)
                        if (c.prefix[k].at != prefix[k].at) return false;
                    return true;
                };
                auto it = std::find_if(choices.begin(), choices.end(), same);
                if (it == choices.end()) {
                    choices.push_back({prefix, {}, l.moves[i].line});
                    it = choices.end() - 1;
                }
                it->listed.insert(l.moves[i].at);
            }
        }
        for (const Choice& c : choices) {
            if (!Replay(c.prefix)) return;
            // Listed answers that take the marked stones at once set that bar for the others.
            const bool strict = TakesAtOnce(goal, c.listed);
            // Stones that are lost whoever moves must still be taken: only ataris (or the
            // capture) make progress, any other move would leave them lost as well.
            const Goal here = goal == Goal::Capture && Doomed() ? Goal::AtariCapture : goal;
            for (int y = mWindow[1]; y < mWindow[3]; ++y)
                for (int x = mWindow[0]; x < mWindow[2]; ++x) {
                    const Point p{x, y};
                    if (!Clickable(p)) continue;
                    const bool listed = c.listed.count(p) > 0;
                    const std::optional<bool> ok = Try(here, {true, p}, strict);
                    if (listed && ok != true)
                        Report(c.line, "the correct move black " + Vertex(p) + " does not " +
                                           GoalText(goal) +
                                           (goal == Goal::Seki ? " against the best defence"
                                                               : " against GNU Go's best defence"));
                    if (!listed && ok == true)
                        Report(c.line, "black " + Vertex(p) + " also manages to " + GoalText(goal) +
                                           " but is not a correct line");
                }
        }
        // Wrong tries that leave the correct lines elsewhere than at a learner's choice.
        for (const Line& l : mLines) {
            if (l.right || l.moves.back().black != true || l.moves.size() < 2) continue;
            std::vector<Move> prefix(l.moves.begin(), l.moves.end() - 1);
            if (!Replay(prefix)) return;
            if (Try(goal, l.moves.back(), false) == true)
                Report(l.line, std::string("a wrong try also manages to ") + GoalText(goal));
        }
        Judged();
    }

    // No reader can prove the answer: a person judges it from both continuations written out.
    void PersonSequence() {
        bool right = false, wrong = false;
        for (const Line& l : mLines) {
            if (l.moves.size() < 2) continue;
            right = right || l.right;
            wrong = wrong || !l.right;
        }
        if (!right || !wrong)
            Report(mRootLine,
                   "a problem judged by a person needs a correct and a wrong line, "
                   "each with the reply written out");
        NeedsPerson("question " + std::to_string(mQuestion) + " has no goal a reader can prove");
    }

    const Line* RightLine() {
        const Line* right = nullptr;
        for (const Line& l : mLines)
            if (l.right) right = right == nullptr ? &l : right;
        if (right == nullptr) Report(mRootLine, "no correct answer");
        return right;
    }

    void Letter() {
        const Line* right = RightLine();
        if (right == nullptr) return;
        Goal goal = SequenceGoal(mQuestion, mCaption);
        if (goal == Goal::NeedsPerson)
            return NeedsPerson("question " + std::to_string(mQuestion) +
                               " has no goal a reader can prove");
        if (!PrepareGoal(goal)) return;
        const bool strict = TakesAtOnce(goal, {right->moves[0].at});
        for (const Point& p : mLetters) {
            const std::optional<bool> ok = Try(goal, {true, p}, strict);
            const bool listed = p == right->moves[0].at;
            if (listed && ok != true)
                Report(right->line,
                       "the correct letter at " + Vertex(p) + " does not " + GoalText(goal));
            if (!listed && ok == true)
                Report(right->line,
                       "the letter at " + Vertex(p) + " also manages to " + GoalText(goal));
        }
        Judged();
    }

    void MarkedPoints() {
        const Line* right = RightLine();
        if (right == nullptr) return;
        PointSet expected;
        switch (mQuestion) {
            case 0:
            case 1:
            case 39:
                for (const Point& t : Targets(true)) {
                    const PointSet l = mPos.Liberties(t);
                    expected.insert(l.begin(), l.end());
                }
                break;
            case 3:
                // Black stones that touch no white stone do nothing to take it.
                for (const Point& b : mBlack) {
                    bool touches = false;
                    for (const Point& n : Position::Around(b))
                        touches = touches || (Position::OnBoard(n) && mPos.At(n) == kWhite);
                    if (!touches) expected.insert(b);
                }
                break;
            case 6:
                for (const Point& w : mWhite)
                    if (mPos.Liberties(w).size() == 1) expected.insert(w);
                break;
            default:
                return NeedsPerson("question " + std::to_string(mQuestion) +
                                   " names no points a reader can find");
        }
        PointSet given;
        for (const Move& m : right->moves) given.insert(m.at);
        for (const Point& p : expected)
            if (given.count(p) == 0) Report(right->line, "the answer misses " + Vertex(p));
        for (const Point& p : given)
            if (expected.count(p) == 0)
                Report(right->line, "the answer wrongly includes " + Vertex(p));
        Judged();
    }

    // Black's territory: empty points (and, when `deadWhite`, white stones, counted twice)
    // in regions that touch no white stone that counts as alive and stay inside the window
    // shown (a region running off into the open board is nobody's).
    int Territory(bool deadWhite) const {
        std::set<Point> seen;
        int total = 0;
        for (int y = 0; y < kEdge; ++y)
            for (int x = 0; x < kEdge; ++x) {
                const Point start{x, y};
                if (mPos.At(start) == kBlack || seen.count(start) > 0) continue;
                if (mPos.At(start) == kWhite && !deadWhite) continue;
                std::vector<Point> todo{start};
                seen.insert(start);
                bool enclosed = true;
                int value = 0;
                while (!todo.empty()) {
                    const Point q = todo.back();
                    todo.pop_back();
                    value += mPos.At(q) == kWhite ? 2 : 1;
                    enclosed = enclosed && InWindow(q);
                    for (const Point& n : Position::Around(q)) {
                        if (!Position::OnBoard(n) || mPos.At(n) == kBlack) continue;
                        if (mPos.At(n) == kWhite && !deadWhite) {
                            enclosed = false;
                            continue;
                        }
                        if (seen.insert(n).second) todo.push_back(n);
                    }
                }
                if (enclosed) total += value;
            }
        return total;
    }

    void Number(const sgf::Node& root) {
        const int given = std::atoi(Value(root, "NU").c_str());
        int expected = 0;
        switch (mQuestion) {
            case 31:
            case 55:
                expected = Territory(false);
                break;
            case 32:
                expected = Territory(true);
                break;
            case 39: {
                PointSet libs;
                for (const Point& t : Targets(true)) {
                    const PointSet l = mPos.Liberties(t);
                    libs.insert(l.begin(), l.end());
                }
                expected = int(libs.size());
                break;
            }
            default:
                return NeedsPerson("question " + std::to_string(mQuestion) +
                                   " asks a value a person judges");
        }
        if (given != expected)
            Report(mRootLine, "the number is " + std::to_string(given) + ", the position says " +
                                  std::to_string(expected));
        Judged();
    }

    void OX(const sgf::Node& root) {
        const std::string v = Value(root, "OX");
        const bool given = v == "o" || v == "○";
        std::optional<bool> truth;
        const auto marked = [&](bool black) {
            std::vector<Point> out;
            for (const Point& p : black ? mBlack : mWhite)
                if (mMarked.count(p) > 0) out.push_back(p);
            return out;
        };
        switch (mQuestion) {
            case 2: {
                if (marked(false).empty()) break;
                truth = true;
                for (const Point& t : marked(false))
                    truth = *truth && mPos.Liberties(t).size() == 1;
                break;
            }
            case 10:
                if (marked(true).empty()) break;
                truth = true;
                for (const Point& t : Strings(marked(true)))
                    truth = *truth && !Ask0("defend " + Vertex(t));
                break;
            case 14:
            case 41:
                truth = mEngine.Ask("is_legal black " + Vertex(mHypothetical[0])) == "1";
                break;
            case 20: {
                // Cuts when it stands and leaves two white strings that cannot join.
                truth = false;
                if (!Play({true, mHypothetical[0]})) break;
                const auto s = Strings(mWhite);
                for (size_t i = 0; i < s.size() && !*truth; ++i)
                    for (size_t j = i + 1; j < s.size() && !*truth; ++j)
                        truth = Ask0("connect " + Vertex(s[i]) + " " + Vertex(s[j]));
                truth = *truth && Ask0("attack " + Vertex(mHypothetical[0]));
                break;
            }
            case 22:
                if (marked(false).empty()) break;
                truth = !Ask0("ladder_attack " + Vertex(marked(false)[0]));
                break;
            case 27:
            case 34: {
                if (marked(true).empty() || marked(false).empty()) break;
                const std::string b = Vertex(marked(true)[0]), w = Vertex(marked(false)[0]);
                const bool blackFirstWins = Kills("analyze_semeai " + b + " " + w);
                const bool whiteFirstWins = Kills("analyze_semeai " + w + " " + b);
                if (mQuestion == 27) {
                    if (!blackFirstWins)
                        Report(mRootLine, "black does not win the race even moving first");
                    truth = whiteFirstWins;
                } else {
                    truth = !blackFirstWins && !whiteFirstWins;
                }
                break;
            }
            default:
                return NeedsPerson("question " + std::to_string(mQuestion) +
                                   " asks a value a person judges");
        }
        if (!truth.has_value())
            return Report(mRootLine, "question " + std::to_string(mQuestion) +
                                         " needs a marked stone to ask about");
        if (given != *truth)
            Report(mRootLine, std::string("the answer is ") + (given ? "o" : "x") +
                                  ", the position says " + (*truth ? "o" : "x"));
        Judged();
    }

    GtpEngine& mEngine;
    std::string mFile;
    int mProblem = 0;
    int mRootLine = 0;
    Verdicts& mOut;
    int mSize = 19;
    std::string mKind;
    int mQuestion = 0;
    int mCaption = 0;
    std::array<int, 4> mWindow{};
    std::vector<Point> mBlack, mWhite, mHypothetical, mTaken;
    PointSet mMarked, mLetters;
    std::vector<std::pair<int, Point>> mNumbered;
    std::vector<Line> mLines;
    Position mPos;
    std::vector<Point> mTargets;
    std::array<Point, 2> mSemeai{};
};

}  // namespace

std::string Suspicion::Format() const {
    return file + ":" + std::to_string(line) + ": problem " + std::to_string(problem) + ": " +
           message;
}

void VerifyCollection(std::string_view text, const std::string& file, GtpEngine& engine,
                      Verdicts& verdicts,
                      const std::function<void(size_t done, size_t total)>& onProblem) {
    std::vector<sgf::Tree> trees;
    try {
        trees = sgf::ParseCollection(text);
    } catch (const sgf::SyntaxError& e) {
        throw tools::ToolError(file, e.Line(), e.what());
    }
    for (size_t i = 0; i < trees.size(); ++i) {
        if (trees[i].nodes.empty()) continue;
        ++verdicts.problems;
        ProblemChecker(engine, file, int(i + 1), trees[i].nodes.front().line, verdicts)
            .Run(trees[i]);
        if (onProblem) onProblem(i + 1, trees.size());
    }
}

}  // namespace probcheck
