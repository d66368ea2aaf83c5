// The shipped lessons, as the build made them: every page loads and plays to its end through
// the program's playback without a warning, every text fits what the lesson screen can show,
// and the pages that the playback treats specially have what those pages need.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonPlayback.h"
#include "lesson/LessonView.h"
#include "progress/ProgressState.h"

using lesson::LessonId;

namespace {

const std::string kLessonDir = std::string(STONEWELL_BINARY_DIR) + "/DATA/DATA/EXPLAIN/";

struct ShippedLesson {
    LessonId id;
    // Pages the playback code treats specially must exist.
    int minimumPages;
};

// 0-based course, chapter, section.
const std::vector<ShippedLesson> kShipped = {
    {{0, 0, 0}, 46},
    {{0, 0, 1}, 58},
    {{0, 0, 2}, 1},
    {{0, 1, 0}, 18},
};

std::string Name(const LessonId& id) {
    return std::to_string(id.course + 1) + "-" + std::to_string(id.chapter + 1) + "-" +
           std::to_string(id.section + 1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string text(size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), std::streamsize(text.size()));
    return text;
}

// The lines of a lesson text file, each ended by CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, pos - start));
        start = pos + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// Whether a Shift_JIS text consists of double-byte characters only, so that wrapping at
// 36 bytes never splits one.
bool AllDoubleByte(const std::string& text) {
    for (size_t i = 0; i < text.size(); i += 2) {
        const auto lead = uint8_t(text[i]);
        const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        if (!isLead || i + 1 >= text.size()) return false;
    }
    return true;
}

class RecordingView : public lesson::LessonView {
public:
    void PlaySe(const std::string&) override {}
    void ShowBodyText(const std::string&, int) override {}
    void ClearBodyText() override {}
    void ShowCaption(const std::string&) override {}
    void SetBoardPicture(const std::string&) override {}
    void ShowSprites(std::span<const lesson::LessonSprite> list) override {
        maxSprites = std::max(maxSprites, list.size());
    }
    void SetStepButtons(const lesson::StepButtonLooks&) override {}
    void SetupCharacter(int, int) override {}
    void ApplyWindowMode(lesson::TextWindowMode) override {}
    bool IsClosing() const override { return closing; }
    void BeginClosing() override { closing = true; }

    size_t maxSprites = 0;
    bool closing = false;
};

lesson::LessonPage LoadPage(const LessonId& id, int page) {
    lesson::LessonPage p;
    p.currentPage = page;
    EXPECT_EQ(lesson::LoadLessonPage(p, id, kLessonDir), lesson::PageLoadResult::Loaded);
    return p;
}

TEST(CurriculumLessons, TextsFitTheLessonScreen) {
    for (const ShippedLesson& shipped : kShipped) {
        SCOPED_TRACE(Name(shipped.id));
        const std::string text = ReadFile(kLessonDir + Name(shipped.id) + ".txt");
        ASSERT_FALSE(text.empty());
        const std::vector<std::string> lines = Lines(text);
        const int pages = LoadPage(shipped.id, 0).pageCount;
        ASSERT_EQ(lines.size(), size_t(pages) * 2);
        for (int p = 0; p < pages; ++p) {
            SCOPED_TRACE("page " + std::to_string(p));
            const std::string& caption = lines[size_t(p) * 2];
            const std::string& body = lines[size_t(p) * 2 + 1];
            EXPECT_FALSE(caption.empty());
            EXPECT_LE(caption.size(), 99u);
            EXPECT_GE(body.size(), 2u);
            EXPECT_LE(body.size(), 249u);
            // Line breaks are "::"; the paragraphs between them are wrapped by bytes.
            size_t start = 0;
            while (start <= body.size()) {
                const size_t end = std::min(body.find("::", start), body.size());
                EXPECT_TRUE(AllDoubleByte(body.substr(start, end - start))) << body;
                start = end + 2;
            }
        }
    }
}

TEST(CurriculumLessons, EveryPagePlaysToItsEndWithoutWarnings) {
    for (const ShippedLesson& shipped : kShipped) {
        SCOPED_TRACE(Name(shipped.id));
        dbglog::Capture log;
        RecordingView view;
        ProgressState progress;
        progress.m_course = shipped.id.course;
        progress.m_chapter = shipped.id.chapter;
        progress.m_section = shipped.id.section;
        lesson::LessonPlayback playback(view, progress, kLessonDir);
        playback.Start();
        playback.Enter();
        const int pages = playback.Page().pageCount;
        ASSERT_GE(pages, shipped.minimumPages);

        std::set<int> seen;
        std::vector<int> order;
        for (int guard = 0; guard < pages * 4 && !view.closing; ++guard) {
            const int page = playback.Page().currentPage;
            if (seen.insert(page).second) order.push_back(page);
            // Let the page play by itself: every step drawn, the whole text typed.
            for (int t = 0; t < 5000 && (playback.TypingOn() || playback.StepPlaybackOn()); ++t) {
                playback.Tick();
            }
            EXPECT_FALSE(playback.TypingOn()) << "page " << page;
            EXPECT_EQ(playback.TypedLength(), playback.Page().bodyLength) << "page " << page;
            playback.Advance();
        }
        EXPECT_TRUE(view.closing);
        EXPECT_TRUE(
            progress.IsLessonDone(shipped.id.course, shipped.id.chapter, shipped.id.section));
        std::vector<int> expected(size_t(pages), 0);
        for (int p = 0; p < pages; ++p) expected[size_t(p)] = p;
        EXPECT_EQ(order, expected);
        EXPECT_LE(view.maxSprites, 200u);
        EXPECT_EQ(log.Text(), "");
    }
}

// Lesson 1-1-1, pages 44 and 45: each blink tick shows steps 1, 2, 3, 4, 1, ... so these
// pages have a starting position and four changes.
TEST(CurriculumLessons, RulesLessonCyclePagesHaveFourChanges) {
    for (int page : {44, 45}) {
        const lesson::LessonPage p = LoadPage({0, 0, 0}, page);
        EXPECT_EQ(p.header.stepCount, 5) << page;
        EXPECT_EQ(p.header.showFinal, 0) << page;
        for (int s = 1; s < 5; ++s) EXPECT_GT(p.entryCounts[size_t(s)], 0) << page << " " << s;
    }
}

// Lesson 1-1-2, pages 9-15: the nigiri picture is drawn over the middle of the board, so
// these pages leave the board empty.
TEST(CurriculumLessons, FlowLessonNigiriPagesLeaveTheBoardEmpty) {
    for (int page = 9; page <= 15; ++page) {
        const lesson::LessonPage p = LoadPage({0, 0, 1}, page);
        for (int s = 0; s < p.header.stepCount; ++s) {
            EXPECT_TRUE(p.StepEntries(s).empty()) << page << " " << s;
        }
    }
}

// Lesson 1-1-2, page 57: arrow value 2 is drawn as the letter ア there, and its blinking
// hides the point whole; the page uses both on one point.
TEST(CurriculumLessons, FlowLessonLastPageShowsABlinkingLetter) {
    const lesson::LessonPage p = LoadPage({0, 0, 1}, 57);
    std::set<std::pair<int, int>> letters;
    std::set<std::pair<int, int>> blinking;
    for (int s = 0; s < p.header.stepCount; ++s) {
        for (const lesson::StepEntry& e : p.StepEntries(s)) {
            if ((e.code & 0x00F0) == 0x0020) letters.insert({e.x, e.y});
            if (e.code == 0x8000) blinking.insert({e.x, e.y});
        }
    }
    ASSERT_EQ(letters.size(), 1u);
    EXPECT_EQ(letters, blinking);
    // The letter stands on an empty point.
    const auto [x, y] = *letters.begin();
    EXPECT_EQ(p.board.At(x, y) & 0x000F, 0);
}

// Lesson 1-2-1, page 17: on the top row the Left arrow of column 4 and the Right arrow of
// column 6 are drawn at column 5, so the page shows a stone there that can run both ways.
TEST(CurriculumLessons, DirectionLessonSideArrowsMeetOnAStone) {
    const lesson::LessonPage p = LoadPage({0, 1, 0}, 17);
    bool left = false, right = false;
    for (int s = 0; s < p.header.stepCount; ++s) {
        for (const lesson::StepEntry& e : p.StepEntries(s)) {
            if (e.y != 0) continue;
            left |= e.x == 4 && (e.code & 0x00F0) == 0x0040;
            right |= e.x == 6 && (e.code & 0x00F0) == 0x0060;
        }
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
    // The point where both are drawn holds a stone, and the points they stand on do not.
    EXPECT_EQ(p.board.At(5, 0) & 0x000F, 2);
    EXPECT_EQ(p.board.At(4, 0) & 0x000F, 0);
    EXPECT_EQ(p.board.At(6, 0) & 0x000F, 0);
}

}  // namespace
