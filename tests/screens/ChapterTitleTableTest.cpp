#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>

#include "Lib/ZIRur/Text/StrConvert.h"
#include "screens/ChapterTitleTable.h"

namespace {

namespace ctt = ChapterTitleTable;

// Every title as the learner reads it, typed here in UTF-8 and compared with the decoded
// Shift_JIS of the table, so a wrong byte or a wrong bracket width shows up.
TEST(ChapterTitleTable, EveryTitleDecodesToItsExactText) {
    const char16_t* const expected[ctt::kTitleCount] = {
        u"入門編 1-1\n  囲碁のルール",
        u"入門編 1-2\n  対局の流れ",
        u"入門編 1-3\n  活路（生きる道）",
        u"入門編 1-4\n  アタリ",
        u"入門編 1-5\n  石を取る方法",
        u"入門編 1-6\n  石を生かす方法",
        u"入門編 1-7\n  アタリの石探し",
        u"入門編 1-8\n  活路探し",
        u"入門編 2-1\n  アタリの方向",
        u"入門編 2-2\n  逃げられますか？",
        u"入門編 2-3\n  両アタリ",
        u"入門編 2-4\n  着手禁止点",
        u"入門編 2-5\n  コウ",
        u"入門編 3-1\n  石のつながりと切り",
        u"入門編 3-2\n  切れますか？",
        u"入門編 3-3\n  シチョウ",
        u"入門編 3-4\n  ゲタ",
        u"入門編 4-1\n  ウッテガエシ",
        u"入門編 4-2\n  オイオトシ",
        u"入門編 4-3\n  攻め合い",
        u"入門編 4-4\n  囲まれた石の死活",
        u"入門編 4-5\n  地",
        u"入門編 5-1\n  セキ",
        u"入門編 5-2\n  死活(生きる手)",
        u"入門編 5-3\n  死活(二眼を作らせない手)",
        u"入門編 5-4\n  碁を打つ順序",
        u"入門編 6-1\n  活路とアタリ",
        u"入門編 6-2\n  つながりと切り",
        u"入門編 6-3\n  シチョウ・ゲタ・\n  ウッテガエシ・セキ・コウ",
        u"入門編 6-4\n  オイオトシ・攻め合い",
        u"入門編 6-5\n  死活・ヨセの基礎",
        u"初級編 1-1\n  石の形と用語",
        u"初級編 1-2\n  石運びの基礎",
        u"初級編 1-3\n  死活(生きる手、取る手)",
        u"初級編 1-4\n  手筋(形の急所と手順)",
        u"初級編 2-1\n  布石の基礎",
        u"初級編 2-2\n  手筋(オイオトシ、連絡、\n  切断、攻め合い)",
        u"初級編 2-3\n  死活(生きる手、取る手)",
        u"初級編 3-1\n  基本定石",
        u"初級編 3-2\n  布石",
        u"初級編 3-3\n  ヨセの基礎",
        u"初級編 3-4\n  死活(生きる手、取る手)",
        u"初級編 4-1\n  基本定石",
        u"初級編 4-2\n  死活(生きる手、取る手)",
        u"初級編 4-3\n  総合問題",
        u"中級編 1-1\n  定石、布石",
        u"中級編 1-2\n  石の運び(打ち込み、攻め、\n  サバキ、シノギ、守りの手筋）",
        u"中級編 1-3\n  手筋(石の連絡、石の切断)",
        u"中級編 1-4\n  死活(生きる手、取る手)",
        u"中級編 1-5\n  ヨセ(ヨセ問題)",
        u"中級編 2-1\n  手筋(攻め合い)",
        u"中級編 2-2\n  死活(コウの死活)",
        u"中級編 2-3\n  最善の一手",
        u"中級編 2-4\n  ヨセ(何目問題)",
        u"中級編 2-5\n  総合問題",
    };
    for (int row = 0; row < ctt::kTitleCount; ++row) {
        const char* sjis = ctt::TitleText(row);
        EXPECT_LT(std::strlen(sjis), size_t(ctt::kTitleBytes)) << row;
        EXPECT_EQ(SjisToUtf16(sjis, 256), std::u16string(expected[row])) << "row " << row;
    }
}

// The menu's lists name the sections of each course; every one has the title of its own label
// ("入門編 2-1" ...), and anything else falls back to row 0.
TEST(ChapterTitleTable, ListedSectionsHaveTheTitleOfTheirLabelOthersRowZero) {
    EXPECT_EQ(ctt::ListLength(0), 31);
    EXPECT_EQ(ctt::ListLength(1), 14);
    EXPECT_EQ(ctt::ListLength(2), 8);
    EXPECT_EQ(ctt::SectionCode(0, 8), 21);
    EXPECT_EQ(ctt::Sections(1).back(), 43);
    const char* courseNames[] = {"\x93\xfc\x96\xe5\x95\xd2", "\x8f\x89\x8b\x89\x95\xd2",
                                 "\x92\x86\x8b\x89\x95\xd2"};
    for (int course = 0; course < ctt::kCourses; ++course)
        for (int i = 0; i < ctt::ListLength(course); ++i) {
            const int code = ctt::SectionCode(course, i);
            const std::string label = std::string(courseNames[course]) + " " +
                                      std::to_string(code / 10) + "-" + std::to_string(code % 10) +
                                      "\n";
            const std::string title = ctt::Title(course, code / 10 - 1, code % 10 - 1);
            EXPECT_EQ(title.substr(0, label.size()), label) << course << " " << code;
        }
    for (auto [course, index] :
         std::initializer_list<std::pair<int, int>>{{1, 14}, {0, 31}, {3, 0}, {0, -1}})
        EXPECT_EQ(ctt::SectionCode(course, index), 0) << course << " " << index;
    EXPECT_TRUE(ctt::Sections(3).empty());
    EXPECT_EQ(ctt::TitleRow(2, 1, 4), 54);
    for (auto [course, chapter, section] : std::initializer_list<std::tuple<int, int, int>>{
             {0, 1, 5}, {2, 2, 0}, {0, 6, 0}, {-1, 0, 0}})
        EXPECT_EQ(ctt::TitleRow(course, chapter, section), 0) << course << chapter << section;
    EXPECT_STREQ(ctt::TitleText(55), ctt::TitleText(0));
    EXPECT_STREQ(ctt::TitleText(-3), ctt::TitleText(0));
}

}  // namespace
