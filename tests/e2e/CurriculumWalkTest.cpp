// Course 0 walked through the real program on the built data set, as a learner would.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lesson/LessonPage.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemBoard.h"
#include "problem/ProblemFile.h"
#include "support/Built.h"
#include "support/HeadlessRun.h"

namespace {

using namespace testsupport;
using Point = std::pair<int, int>;
using Lines = std::vector<std::string>;

struct Answer {
    Lines right, wrong;
    std::string undrivable;  // why the problem cannot be answered here; empty when it can
};

std::string Click(int size, Point p) {
    int x = 0, y = 0;
    boardgeometry::CenterOf(size, p.first, p.second, x, y);
    return "click " + std::to_string(x) + " " + std::to_string(y);
}

// Moves the selection up `upPresses` times, then decides.
Lines Choose(int upPresses) {
    return {"#* " + std::to_string(upPresses) + " tap btn_scroll_up1 ; wait 100",
            "tap btn_set_sel1"};
}

// The first free point, row by row, that is none of `avoid` and lies outside the strip the
// screen keeps for its buttons.
bool FreePoint(const ProblemRecord& r, int size, const std::vector<Point>& avoid, Point& out) {
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) {
            int x = 0, y = 0;
            boardgeometry::CenterOf(size, col, row, x, y);
            bool taken = (x >= 721 && y >= 166 && y < 240) ||
                         std::find(avoid.begin(), avoid.end(), Point{col, row}) != avoid.end();
            for (int i = 0; i < r.setupCount && i < ProblemRecord::kSlots; ++i)
                taken = taken || (r.slots[i].kind != stone::kErased && r.slots[i].x == col &&
                                  r.slots[i].y == row);
            if (taken) continue;
            out = {col, row};
            return true;
        }
    return false;
}

Answer AnswerFor(const ProblemRecord& r) {
    Answer a;
    const int size = r.IsFullBoard() ? 19 : 13;
    const int param = r.answerParam;
    std::vector<Point> avoid;
    switch (r.Type()) {
        case 2:  // selection 0 is the circle, the answer 1
            a.right = Choose(param == 1 ? 0 : 1);
            a.wrong = Choose(param == 1 ? 1 : 0);
            return a;
        case 7:  // selection k shows the number k + 1
        case 8:  // selection k is text k
            if (r.Type() == 7 ? param < 1 || param > 99 : param > 2)
                return {{}, {}, "answer out of the selectable range"};
            a.right = Choose(r.Type() == 7 ? param - 1 : param);
            a.wrong = Choose(param == (r.Type() == 7 ? 1 : 0) ? 1 : 0);
            return a;
        case 3:  // letters are setup marks of kinds 4..6; the answer is the letter kind
            for (int i = 0; i < r.setupCount && i < ProblemRecord::kSlots; ++i) {
                const StoneEntry& e = r.slots[i];
                Lines& to = e.kind == param ? a.right : a.wrong;
                if (e.kind >= 4 && e.kind <= 6 && to.empty()) to = {Click(size, {e.x, e.y})};
            }
            if (a.right.empty() || a.wrong.empty()) a.undrivable = "no right and wrong letter";
            return a;
        case 4:
        case 5:  // the answer points follow the setup entries and a header
            for (int j = 0; j < param && r.setupCount + 1 + j < ProblemRecord::kSlots; ++j) {
                const StoneEntry& e = r.slots[r.setupCount + 1 + j];
                if (!a.right.empty()) a.right.push_back("wait 150");
                a.right.push_back(Click(size, {e.x, e.y}));
                avoid.emplace_back(e.x, e.y);
            }
            break;
        case 6: {  // lines of a header (aux: its length) and moves; the learner plays the even ones
            if (r.turn != 0) return {{}, {}, "the reply side moves first"};
            for (int b = 0, w = r.setupCount; b < param && w < ProblemRecord::kSlots; ++b) {
                const int length = r.slots[w].aux;
                if (length == 0 || w + 1 + length > ProblemRecord::kSlots) break;
                for (int i = 0; b == 0 && i < length; i += 2) {
                    // The reply comes 300 ms after a move and the turn returns 300 ms later.
                    if (i > 0) a.right.push_back("wait 900");
                    a.right.push_back(Click(size, {r.slots[w + 1 + i].x, r.slots[w + 1 + i].y}));
                }
                avoid.emplace_back(r.slots[w + 1].x, r.slots[w + 1].y);
                w += 1 + length;
            }
            break;
        }
        default:
            return {{}, {}, "type " + std::to_string(r.Type()) + " has no judged answer"};
    }
    Point wrong;
    if (a.right.empty() || !FreePoint(r, size, avoid, wrong))
        return {{}, {}, "no answer or free point"};
    a.wrong = {Click(size, wrong)};
    return a;
}

// The main menu from the start, brought to its top: it opens where the save left it.
const std::string kMenuAtTop =
    "wait 2600\ntap btn_start1\nwait 800\n#* 30 wheel 120 500 400 ; wait 60\n";

// A section of course 0 (0-based) and its place in the main menu, which lists every section
// with a lesson or problems, shows five rows and scrolls by one a click.
struct Section {
    int chapter, index, listPosition;
    int Row() const { return std::min(listPosition, 4) + 1; }
    // Scrolls the main menu from its top until the section's row is in view.
    std::string Scroll() const {
        return "#* " + std::to_string(listPosition - 4) + " tap btn_scroll_down1 ; wait 300\n";
    }
    std::string OpenMenu() const { return kMenuAtTop + Scroll(); }
};

// Opens the section's problems from the main menu and answers each wrong, then again and
// right; `undrivable` names the first problem that cannot be answered.
std::string ProblemsScript(const Section& section, const ProblemBoard& board,
                           std::string& undrivable) {
    std::ostringstream script;
    script << section.OpenMenu() << "tap btn_menu" << section.Row() + 5
           << "_1\nwait 800\ntap btn_problem01\nwait 600\n";
    for (size_t i = 0; i < board.records.size(); ++i) {
        const Answer answer = AnswerFor(board.records[i]);
        if (!answer.undrivable.empty() && undrivable.empty())
            undrivable = "problem " + std::to_string(i + 1) + ": " + answer.undrivable;
        script << "where txt_text\nclick 500 500\nwait 300\n";
        for (const std::string& line : answer.wrong) script << line << "\n";
        script << "wait 1500\ntap btn_again1\nwait 300\nclick 500 500\nwait 300\n";
        for (const std::string& line : answer.right) script << line << "\n";
        script << "wait 1500\nclick 500 500\nwait 500\n";
    }
    return script.str();
}

// Opens the section's lesson from the main menu and turns the wheel to its end; back on the
// menu, the section's row is brought into view again and its lesson button traced.
std::string LessonScript(const Section& lesson, int pages) {
    const std::string button = "btn_menu" + std::to_string(lesson.Row()) + "_1";
    std::ostringstream script;
    // The row's picture names its section: the lesson that opens is the one meant.
    script << lesson.OpenMenu() << "where item_" << lesson.Row() << "\nwhere " << button << "\ntap "
           << button << "\nwait 1500\n";
    // A turn may only finish a page's typing; three a page is more than enough, and the
    // turns left over after the end scroll the menu, which the turns back undo.
    script << "#* " << pages * 3 + 10 << " wheel -120 500 400 ; wait 40\nwait 1500\n"
           << "#* 30 wheel 120 500 400 ; wait 60\n"
           << lesson.Scroll() << "wait 300\nwhere " << button << "\n";
    return script.str();
}

// What a lesson run must trace, in order: the row's section picture (the lesson that opens is
// the one meant), its normal look, the lesson with its music, the save as it ends, the menu and
// the row's completed look. Empty when all is there, else the first missing line.
std::string LessonTraceMissing(const Section& lesson, const std::string& trace) {
    const std::string row = "pane btn_menu" + std::to_string(lesson.Row()) + "_1 ";
    const Lines want{"pane item_" + std::to_string(lesson.Row()) + " ",
                     "C1_" + std::to_string(lesson.chapter + 1) + "-" +
                         std::to_string(lesson.index + 1) + ".tga",
                     row,
                     "C1_btn_explain_1.tga",
                     "scene 4",
                     "bgm DATA/SOUND/BGM/Setsumei.wav",
                     "save DATA/SAVE/",
                     "scene 3",
                     row,
                     "C1_btn_explain_11.tga"};
    size_t at = 0;
    for (const std::string& line : SplitLines(trace))
        while (at < want.size() && line.find(want[at]) != std::string::npos) ++at;
    return at == want.size() ? "" : want[at];
}

// The verdicts heard between one problem's question (traced as it opens) and the next.
std::vector<Lines> Verdicts(const std::string& trace) {
    std::vector<Lines> verdicts;
    for (const std::string& line : SplitLines(trace)) {
        // Only a shown question window opens a problem (a hidden one traces no alpha).
        if (line.find("pane txt_text ") != std::string::npos &&
            line.find(" alpha ") != std::string::npos)
            verdicts.emplace_back();
        if (verdicts.empty()) continue;
        if (line.find("se DATA/SOUND/SE/OK.wav") != std::string::npos)
            verdicts.back().push_back("correct");
        if (line.find("se DATA/SOUND/SE/No.wav") != std::string::npos)
            verdicts.back().push_back("incorrect");
    }
    return verdicts;
}

// Course 0 as a learner walks it, in one save across program starts, section by section in
// the menu's order: every lesson played to its end, every problem answered wrong (the
// incorrect sound must follow), then again and right (the correct sound must follow); the
// click after the last correct answer leaves for the menu. At the end the main menu shows the
// buttons of every row in their finished looks.
TEST(CourseWalk, EveryLessonAndProblemOnceInOneSave) {
    REQUIRE_BUILT(DataBuilt(), "data set");
    const HeadlessRun run;
    std::ostringstream visit;  // the last start: every row's buttons traced
    visit << kMenuAtTop;
    std::vector<Section> sections;  // every one with a lesson or problems, in the menu's order
    for (int ch = 0; ch < curriculum::kChapters; ++ch)
        for (int s = 0; s < curriculum::kSections; ++s)
            if (curriculum::ProblemCountAt(0, ch, s) > 0 || curriculum::LessonCountAt(0, ch, s) > 0)
                sections.push_back({ch, s, int(sections.size())});
    int buttons = 0;
    for (const Section& section : sections) {
        SCOPED_TRACE(std::to_string(section.chapter + 1) + "-" + std::to_string(section.index + 1));
        if (section.listPosition > 4) visit << "tap btn_scroll_down1\nwait 300\n";
        if (curriculum::LessonCountAt(0, section.chapter, section.index) > 0) {
            lesson::LessonPage page;
            lesson::LoadLessonPage(page, {0, section.chapter, section.index},
                                   (BuiltData() / "DATA/EXPLAIN/").string());
            ASSERT_GT(page.pageCount, 0) << "no built lesson";
            const Outcome out = run.Run(LessonScript(section, page.pageCount));
            EXPECT_EQ(out.exitCode, 0) << "lesson: " << out.errors;
            EXPECT_EQ(LessonTraceMissing(section, out.trace), "") << out.trace;
            visit << "where btn_menu" << section.Row() << "_1\n";
            ++buttons;
        }
        if (curriculum::ProblemCountAt(0, section.chapter, section.index) > 0) {
            ProblemBoard board;
            ProgressState progress;
            ASSERT_TRUE(LoadProblemSet(board, progress, section.chapter, section.index,
                                       (BuiltData() / "DATA/PROBLEM/").string()));
            const int count = progress.ProblemCount(0, section.chapter + 1, section.index + 1);
            ASSERT_EQ(int(board.records.size()), count);
            std::string undrivable;
            const std::string script = ProblemsScript(section, board, undrivable);
            ASSERT_EQ(undrivable, "");
            // A long set outlasts the program's default limit of ten minutes of virtual time.
            const Outcome out =
                run.Run(script, {"--max-ms", std::to_string(600000 + 8000 * count)});
            EXPECT_EQ(out.exitCode, 0) << "problems: " << out.errors;
            const std::vector<Lines> verdicts = Verdicts(out.trace);
            ASSERT_EQ(int(verdicts.size()), count) << "not every problem was reached";
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(verdicts[size_t(i)], (Lines{"incorrect", "correct"}))
                    << "problem " << i + 1 << " (type " << board.records[size_t(i)].Type() << ")";
            EXPECT_EQ(Events(out.trace, "scene").back().second, "3")
                << "the click after the last correct answer leaves";
            visit << "where btn_menu" << section.Row() + 5 << "_1\n";
            ++buttons;
        }
    }
    const Outcome out = run.Run(visit.str());
    ASSERT_EQ(out.exitCode, 0) << out.errors;
    int finished = 0;
    for (const std::string& line : SplitLines(out.trace)) {
        if (line.find("pane btn_menu") == std::string::npos) continue;
        const bool done = line.find("C1_btn_explain_11.tga") != std::string::npos ||
                          line.find("C1_btn_problem_11.tga") != std::string::npos;
        EXPECT_TRUE(done) << line;
        finished += done;
    }
    EXPECT_EQ(finished, buttons) << "every lesson and problem button of the menu was seen";
    EXPECT_EQ(buttons, 26 + 28) << "26 lessons and 28 problem sets";
}

}  // namespace
