#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "screens/ChapterTitleTable.h"

namespace {

namespace ctt = ChapterTitleTable;

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
