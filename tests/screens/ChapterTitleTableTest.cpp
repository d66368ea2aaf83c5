#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Lib/ZIRur/Text/StrConvert.h"
#include "screens/ChapterTitleTable.h"

namespace {

namespace ctt = ChapterTitleTable;

// Every title as the learner reads it, typed here in UTF-8 and compared with the decoded
// Shift_JIS of the table, so a wrong byte or a wrong bracket width shows up. A title is its label
// ("入門編 1-1"), then its subject indented on a new line ('|' here).
TEST(ChapterTitleTable, EveryTitleDecodesToItsExactText) {
    // The subjects in row order, each ended by ';'.
    const std::u16string subjects =
        u"囲碁のルール;対局の流れ;活路（生きる道）;アタリ;石を取る方法;石を生かす方法;"
        u"アタリの石探し;活路探し;アタリの方向;逃げられますか？;両アタリ;着手禁止点;コウ;"
        u"石のつながりと切り;切れますか？;シチョウ;ゲタ;ウッテガエシ;オイオトシ;攻め合い;"
        u"囲まれた石の死活;地;セキ;死活(生きる手);死活(二眼を作らせない手);碁を打つ順序;"
        u"活路とアタリ;つながりと切り;シチョウ・ゲタ・|ウッテガエシ・セキ・コウ;"
        u"オイオトシ・攻め合い;死活・ヨセの基礎;石の形と用語;石運びの基礎;"
        u"死活(生きる手、取る手);手筋(形の急所と手順);布石の基礎;"
        u"手筋(オイオトシ、連絡、|切断、攻め合い);死活(生きる手、取る手);基本定石;布石;"
        u"ヨセの基礎;死活(生きる手、取る手);基本定石;死活(生きる手、取る手);総合問題;"
        u"定石、布石;石の運び(打ち込み、攻め、|サバキ、シノギ、守りの手筋）;"
        u"手筋(石の連絡、石の切断);死活(生きる手、取る手);ヨセ(ヨセ問題);手筋(攻め合い);"
        u"死活(コウの死活);最善の一手;ヨセ(何目問題);総合問題;";
    const std::u16string courses[] = {u"入門編 ", u"初級編 ", u"中級編 "};
    // Sections per chapter of each course's titles.
    const std::vector<std::vector<int>> sections{{8, 5, 4, 5, 4, 5}, {4, 3, 4, 3}, {5, 5}};
    int row = 0;
    size_t at = 0;
    for (int course = 0; course < ctt::kCourses; ++course)
        for (size_t chapter = 0; chapter < sections[size_t(course)].size(); ++chapter)
            for (int section = 1; section <= sections[size_t(course)][chapter]; ++section, ++row) {
                std::u16string want = courses[course] + char16_t(u'1' + chapter) + u'-' +
                                      char16_t(u'0' + section) + u"|" +
                                      subjects.substr(at, subjects.find(u';', at) - at);
                at = subjects.find(u';', at) + 1;
                for (size_t bar; (bar = want.find(u'|')) != std::u16string::npos;)
                    want.replace(bar, 1, u"\n  ");
                const char* sjis = ctt::TitleText(row);
                EXPECT_LT(std::strlen(sjis), size_t(ctt::kTitleBytes)) << row;
                EXPECT_EQ(SjisToUtf16(sjis, 256), want) << "row " << row;
            }
    EXPECT_EQ(row, ctt::kTitleCount);
}

// The menu's lists name the sections of each course; every one has the title of its own label
// ("入門編 2-1" ...), and anything else falls back to row 0.
TEST(ChapterTitleTable, ListedSectionsHaveTheTitleOfTheirLabelOthersRowZero) {
    EXPECT_EQ((std::vector{ctt::ListLength(0), ctt::ListLength(1), ctt::ListLength(2),
                           ctt::SectionCode(0, 8), ctt::Sections(1).back()}),
              (std::vector{31, 14, 8, 21, 43}));
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
