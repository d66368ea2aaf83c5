#include "screens/ScreenAssets.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "progress/SoundFiles.h"
#include "screens/ChapterTitleTable.h"

namespace screen_assets {
namespace {

constexpr Source S = Source::Screen;
constexpr Source C = Source::Common;

using namespace sound_files;

// --- Logo (A_1)
constexpr PictureName kLogoPictures[] = {
    {"VXL_logo", "A1_VXL_logo.tga", S},
};

// --- Title (B_1)
constexpr PictureName kTitlePictures[] = {
    {"background", "COMN_BG.tga", C},          {"title_a", "B1_title_a.tga", S},
    {"title_b", "B1_title_b.tga", S},          {"copyright", "B1_copyright.tga", S},
    {"btn_start1", "B1_btn_start_1.tga", S},   {"btn_start2", "B1_btn_start_2.tga", S},
    {"btn_option1", "B1_btn_option_1.tga", S}, {"btn_option2", "B1_btn_option_2.tga", S},
    {"btn_help1", "B1_btn_help_1.tga", S},     {"btn_help2", "B1_btn_help_2.tga", S},
    {"chara_0", "B1_chara_0.tga", S},          {"chara_1", "B1_chara_1.tga", S},
    {"chara_2", "B1_chara_2.tga", S},
};
constexpr ButtonName kTitleButtons[] = {
    {2, "btn_start1", "btn_start2"},
    {3, "btn_option1", "btn_option2"},
    {4, "btn_help1", "btn_help2"},
};
constexpr const char* kTitleSounds[] = {kBgmTitle, kSeSet};

// --- Main menu (C_1)
constexpr PictureName kMenuPictures[] = {
    {"background", "COMN_BG.tga", C},
    {"title", "C1_title.tga", S},
    {"list_window", "COMN_list_window.tga", C},
    {"item_1", "C1_1-1.tga", S},
    {"item_2", "C1_1-2.tga", S},
    {"item_3", "C1_1-3.tga", S},
    {"item_4", "C1_1-4.tga", S},
    {"item_5", "C1_1-5.tga", S},
    {"gray_scroll_up", "COMN_btn_scroll_up_3.tga", C},
    {"gray_scroll_down", "COMN_btn_scroll_down_3.tga", C},
    {"btn_scroll_bar", "COMN_btn_scroll_bar_1.tga", C},
    {"btn_title1", "C1_btn_title_1.tga", S},
    {"btn_title2", "C1_btn_title_2.tga", S},
    {"btn_reset1", "C1_btn_reset_1.tga", S},
    {"btn_reset2", "C1_btn_reset_2.tga", S},
    {"btn_scroll_up1", "COMN_btn_scroll_up_1.tga", C},
    {"btn_scroll_up2", "COMN_btn_scroll_up_2.tga", C},
    {"btn_scroll_down1", "COMN_btn_scroll_down_1.tga", C},
    {"btn_scroll_down2", "COMN_btn_scroll_down_2.tga", C},
    {"btn_menu1_1", "C1_btn_explain_1.tga", S},
    {"btn_menu1_2", "C1_btn_explain_2.tga", S},
    {"btn_menu2_1", "C1_btn_explain_1.tga", S},
    {"btn_menu2_2", "C1_btn_explain_2.tga", S},
    {"btn_menu3_1", "C1_btn_explain_1.tga", S},
    {"btn_menu3_2", "C1_btn_explain_2.tga", S},
    {"btn_menu4_1", "C1_btn_explain_1.tga", S},
    {"btn_menu4_2", "C1_btn_explain_2.tga", S},
    {"btn_menu5_1", "C1_btn_explain_1.tga", S},
    {"btn_menu5_2", "C1_btn_explain_2.tga", S},
    {"btn_menu6_1", "C1_btn_problem_1.tga", S},
    {"btn_menu6_2", "C1_btn_problem_2.tga", S},
    {"btn_menu7_1", "C1_btn_problem_1.tga", S},
    {"btn_menu7_2", "C1_btn_problem_2.tga", S},
    {"btn_menu8_1", "C1_btn_problem_1.tga", S},
    {"btn_menu8_2", "C1_btn_problem_2.tga", S},
    {"btn_menu9_1", "C1_btn_problem_1.tga", S},
    {"btn_menu9_2", "C1_btn_problem_2.tga", S},
    {"btn_menu10_1", "C1_btn_problem_1.tga", S},
    {"btn_menu10_2", "C1_btn_problem_2.tga", S},
};
constexpr ButtonName kMenuButtons[] = {
    {5, "btn_title1", "btn_title2"},         {6, "btn_reset1", "btn_reset2"},
    {7, "btn_scroll_up1", "btn_scroll_up2"}, {8, "btn_scroll_down1", "btn_scroll_down2"},
    {9, "btn_menu1_1", "btn_menu1_2"},       {10, "btn_menu2_1", "btn_menu2_2"},
    {11, "btn_menu3_1", "btn_menu3_2"},      {12, "btn_menu4_1", "btn_menu4_2"},
    {13, "btn_menu5_1", "btn_menu5_2"},      {14, "btn_menu6_1", "btn_menu6_2"},
    {15, "btn_menu7_1", "btn_menu7_2"},      {16, "btn_menu8_1", "btn_menu8_2"},
    {17, "btn_menu9_1", "btn_menu9_2"},      {18, "btn_menu10_1", "btn_menu10_2"},
};
constexpr TextureName kMenuSwitched[] = {
    {"C1_btn_explain_11.tga", S}, {"C1_btn_explain_21.tga", S},     {"C1_btn_problem_11.tga", S},
    {"C1_btn_problem_21.tga", S}, {"COMN_btn_scroll_bar_2.tga", C},
};
constexpr const char* kMenuSounds[] = {kBgmMainMenu, kSeSet, kSeCursor};

// --- Lesson (D_1)
constexpr PictureName kLessonPictures[] = {
    {"background", "COMN_BG.tga", C},
    {"board", "COMN_board.tga", C},
    {"text_window", "COMN_txt_window.tga", C},
    {"chara_1", "COMN_chara_normal_1.tga", C},
    {"chara_2", "COMN_chara_normal_2.tga", C},
    {"btn_menu1", "COMN_btn_menu_1.tga", C},
    {"btn_menu2", "COMN_btn_menu_2.tga", C},
    {"btn_kifu_return1", "D1_btn_kifu_retrun_1.tga", S},
    {"btn_kifu_return2", "D1_btn_kifu_retrun_2.tga", S},
    {"gray_kifu_return", "D1_btn_kifu_retrun_3.tga", S},
    {"btn_kifu_next1", "D1_btn_kifu_next_1.tga", S},
    {"btn_kifu_next2", "D1_btn_kifu_next_2.tga", S},
    {"gray_kifu_next", "D1_btn_kifu_next_3.tga", S},
    {"btn_scrn_return1", "D1_btn_scrn_retrun_1.tga", S},
    {"btn_scrn_return2", "D1_btn_scrn_retrun_2.tga", S},
    {"gray_scrn_return", "D1_btn_scrn_retrun_3.tga", S},
    {"btn_scrn_next1", "D1_btn_scrn_next_1.tga", S},
    {"btn_scrn_next2", "D1_btn_scrn_next_2.tga", S},
    {"gray_scrn_next", "D1_btn_scrn_next_3.tga", S},
    {"btn_close1", "D1_btn_close_1.tga", S},
    {"btn_close2", "D1_btn_close_2.tga", S},
    {"gray_close", "D1_btn_close_3.tga", S},
};
constexpr TextName kLessonTexts[] = {
    {"txt_title", kRoundedFont, kTextSize},
    {"txt_caption", kRoundedFont, kTextSize},
    {"txt_text", kRoundedFont, kTextSize},
};
constexpr ButtonName kLessonButtons[] = {
    {19, "btn_menu1", "btn_menu2"},           {20, "btn_kifu_return1", "btn_kifu_return2"},
    {21, "btn_kifu_next1", "btn_kifu_next2"}, {22, "btn_scrn_return1", "btn_scrn_return2"},
    {23, "btn_scrn_next1", "btn_scrn_next2"}, {24, "btn_close1", "btn_close2"},
};
constexpr TextureName kLessonSwitched[] = {
    {"COMN_chara_left_1.tga", C},
    {"COMN_chara_left_2.tga", C},
};
constexpr const char* kLessonSounds[] = {kBgmLesson, kSeSet, kSeStone, kSeCursor, kSeCancel};

// --- Problem list (E_1)
constexpr PictureName kListPictures[] = {
    {"background", "COMN_BG.tga", C},
    {"list_window", "COMN_list_window.tga", C},
    {"title", "E1_title.tga", S},
    {"gray_scroll_up", "COMN_btn_scroll_up_3.tga", C},
    {"gray_scroll_down", "COMN_btn_scroll_down_3.tga", C},
    {"btn_scroll_bar", "COMN_btn_scroll_bar_1.tga", C},
    {"btn_back_1", "E1_btn_return_1.tga", S},
    {"btn_back_2", "E1_btn_return_2.tga", S},
    {"btn_scroll_up1", "COMN_btn_scroll_up_1.tga", C},
    {"btn_scroll_up2", "COMN_btn_scroll_up_2.tga", C},
    {"btn_scroll_down1", "COMN_btn_scroll_down_1.tga", C},
    {"btn_scroll_down2", "COMN_btn_scroll_down_2.tga", C},
};
constexpr ButtonName kListButtons[] = {
    {25, "btn_back_1", "btn_back_2"},
    {26, "btn_scroll_up1", "btn_scroll_up2"},
    {27, "btn_scroll_down1", "btn_scroll_down2"},
};
constexpr TextureName kListSwitched[] = {
    {"COMN_btn_scroll_bar_2.tga", C},
    {"COMN_btn_scroll_bar_3.tga", C},
};
constexpr const char* kListSounds[] = {kBgmMainMenu, kSeSet, kSeCursor};

// --- Problem (F_1)
constexpr PictureName kProblemPictures[] = {
    {"background", "COMN_BG.tga", C},
    {"board", "COMN_board.tga", C},
    {"text_window", "COMN_txt_window.tga", C},
    {"history", "F1_clear.tga", S},
    {"chara_1", "COMN_chara_normal_1.tga", C},
    {"result", "F1_correct.tga", S},
    {"gray_prev", "F1_btn_retrun_3.tga", S},
    {"gray_next", "F1_btn_next_3.tga", S},
    {"gray_answer", "F1_btn_answer_3.tga", S},
    {"gray_again", "F1_btn_reset_3.tga", S},
    {"gray_scroll_up", "COMN_btn_scroll_up_3.tga", C},
    {"gray_scroll_down", "COMN_btn_scroll_down_3.tga", C},
    {"sel_view", "F1_btn_sel.tga", S},
    {"chara_2", "COMN_chara_normal_2.tga", C},
    {"balloon", "F1_balloon.tga", S},
    {"gray_hint", "F1_btn_hint_3.tga", S},
    {"btn_hint1", "F1_btn_hint_1.tga", S},
    {"btn_hint2", "F1_btn_hint_2.tga", S},
    {"btn_menu1", "COMN_btn_menu_1.tga", C},
    {"btn_menu2", "COMN_btn_menu_2.tga", C},
    {"btn_prev1", "F1_btn_retrun_1.tga", S},
    {"btn_prev2", "F1_btn_retrun_2.tga", S},
    {"btn_next1", "F1_btn_next_1.tga", S},
    {"btn_next2", "F1_btn_next_2.tga", S},
    {"btn_answer1", "F1_btn_answer_1.tga", S},
    {"btn_answer2", "F1_btn_answer_2.tga", S},
    {"btn_set_sel1", "F1_btn_set_1.tga", S},
    {"btn_set_sel2", "F1_btn_set_2.tga", S},
    {"btn_again1", "F1_btn_reset_1.tga", S},
    {"btn_again2", "F1_btn_reset_2.tga", S},
    {"btn_scroll_up1", "COMN_btn_scroll_up_1.tga", C},
    {"btn_scroll_up2", "COMN_btn_scroll_up_2.tga", C},
    {"btn_scroll_down1", "COMN_btn_scroll_down_1.tga", C},
    {"btn_scroll_down2", "COMN_btn_scroll_down_2.tga", C},
};
constexpr TextName kProblemTexts[] = {
    {"txt_title", kRoundedFont, kTextSize},   {"txt_problem", kRoundedFont, kTextSize},
    {"txt_caption", kRoundedFont, kTextSize}, {"txt_text", kRoundedFont, kTextSize},
    {"txt_select", kRoundedFont, kTextSize},  {"txt_balloon", kRoundedFont, kTextSize},
};
constexpr ButtonName kProblemButtons[] = {
    {28, "btn_menu1", "btn_menu2"},           {29, "btn_prev1", "btn_prev2"},
    {30, "btn_next1", "btn_next2"},           {31, "btn_answer1", "btn_answer2"},
    {32, "btn_set_sel1", "btn_set_sel2"},     {33, "btn_again1", "btn_again2"},
    {34, "btn_scroll_up1", "btn_scroll_up2"}, {35, "btn_scroll_down1", "btn_scroll_down2"},
    {36, "btn_hint1", "btn_hint2"},
};
constexpr TextureName kProblemSwitched[] = {
    {"F1_incorrect.tga", S},           {"COMN_chara_left_1.tga", C},
    {"COMN_chara_correct.tga", C},     {"COMN_chara_incorrect.tga", C},
    {"COMN_chara_left_2.tga", C},      {"COMN_chara_correct_2.tga", C},
    {"COMN_chara_incorrect_2.tga", C},
};
constexpr const char* kProblemSounds[] = {kBgmGame, kSeSet, kSeCursor, kSeCancel,
                                          kSeStone, kSeOk,  kSeNo};

// --- Menu dialog (M_1)
constexpr PictureName kMenuDialogPictures[] = {
    {"background", "M1_nullBlack.tga", S}, {"window", "M1_MenuWindow.tga", S},
    {"btn1_1", "M1_btn1_1.tga", S},        {"btn1_2", "M1_btn1_2.tga", S},
    {"btn2_1", "M1_btn2_1.tga", S},        {"btn2_2", "M1_btn2_2.tga", S},
    {"btn3_1", "M1_btn3_1.tga", S},        {"btn3_2", "M1_btn3_2.tga", S},
};
constexpr ButtonName kMenuDialogButtons[] = {
    {1, "btn1_1", "btn1_2"},
    {2, "btn2_1", "btn2_2"},
    {3, "btn3_1", "btn3_2"},
};
// The first button's looks in variant 1.
constexpr TextureName kMenuDialogSwitched[] = {
    {"M1_btn4_1.tga", S},
    {"M1_btn4_2.tga", S},
};
constexpr const char* kDialogSounds[] = {kSeMenu, kSeSet, kSeCancel};

// --- Message box (MSG)
constexpr PictureName kMsgPictures[] = {
    {"background", "MSG_nullBlack.tga", S}, {"window", "MSG_window.tga", S},
    {"btn_no_1", "btn_no_1.tga", S},        {"btn_no_2", "btn_no_2.tga", S},
    {"btn_ok_1", "btn_ok_1.tga", S},        {"btn_ok_2", "btn_ok_2.tga", S},
};
constexpr TextName kMsgTexts[] = {
    {"txt_message", kRoundedFont, kTextSize},
};
constexpr ButtonName kMsgButtons[] = {
    {1, "btn_no_1", "btn_no_2"},
    {2, "btn_ok_1", "btn_ok_2"},
};

// --- Options (OP_1); the switches are created with their "on" looks, below the "off" ones.
constexpr PictureName kOptionsPictures[] = {
    {"background", "OP1_nullBlack.tga", S}, {"window", "OP1_MenuWindow.tga", S},
    {"texture_bgm", "OP1_bgm.tga", S},      {"texture_se", "OP1_se.tga", S},
    {"btn_ok_1", "OP1_btn_ok_1.tga", S},    {"btn_ok_2", "OP1_btn_ok_2.tga", S},
    {"btn_no_1", "OP1_btn_no_1.tga", S},    {"btn_no_2", "OP1_btn_no_2.tga", S},
    {"btn_bgm_on1", "OP1_btn_on_1.tga", S}, {"btn_bgm_on2", "OP1_btn_on_2.tga", S},
    {"btn_se_on1", "OP1_btn_on_1.tga", S},  {"btn_se_on2", "OP1_btn_on_2.tga", S},
};
constexpr ButtonName kOptionsButtons[] = {
    {1, "btn_bgm_on1", "btn_bgm_on2"},
    {2, "btn_se_on1", "btn_se_on2"},
    {3, "btn_no_1", "btn_no_2"},
    {4, "btn_ok_1", "btn_ok_2"},
};
constexpr TextureName kOptionsSwitched[] = {
    {"OP1_btn_off_1.tga", S},
    {"OP1_btn_off_2.tga", S},
};

constexpr ScreenNames kLogo{"A_1", "DATA/IMG/A_1.T2G", "A_1", kLogoPictures, {}, {}, {}, {}, {}, {},
                            0};
constexpr ScreenNames kTitle{
    "B_1", "DATA/IMG/B_1.T2G", "B_1", kTitlePictures, {}, kTitleButtons, {}, {}, kTitleSounds, {},
    0};
constexpr ScreenNames kMainMenu{
    "C_1",         "DATA/IMG/C_1.T2G", "C_1", kMenuPictures, {}, kMenuButtons, {},
    kMenuSwitched, kMenuSounds,        {},    kSectionFamily};
constexpr ScreenNames kLesson{
    "D_1",           "DATA/IMG/D_1.T2G", "D_1", kLessonPictures, kLessonTexts, kLessonButtons, {},
    kLessonSwitched, kLessonSounds,      {},    kBoardFamily};
constexpr ScreenNames kProblemList{
    "E_1",         "DATA/IMG/E_1.T2G", "E_1", kListPictures, {}, kListButtons, {},
    kListSwitched, kListSounds,        {},    kListFamily};
constexpr ScreenNames kProblem{"F_1",
                               "DATA/IMG/F_1.T2G",
                               "F_1",
                               kProblemPictures,
                               kProblemTexts,
                               kProblemButtons,
                               {},
                               kProblemSwitched,
                               kProblemSounds,
                               {},
                               kBoardFamily};
constexpr ScreenNames kMenuDialog{"M_1",
                                  "DATA/IMG/M_1.T2G",
                                  "M_1",
                                  kMenuDialogPictures,
                                  {},
                                  kMenuDialogButtons,
                                  {},
                                  kMenuDialogSwitched,
                                  kDialogSounds,
                                  {},
                                  0};
constexpr ScreenNames kMsgBox{"MSG",
                              "DATA/IMG/MSG.T2G",
                              "MSG",
                              kMsgPictures,
                              kMsgTexts,
                              kMsgButtons,
                              {},
                              {},
                              kDialogSounds,
                              {},
                              0};
constexpr ScreenNames kOptions{"OP_1",
                               "DATA/IMG/OP_1.T2G",
                               "OP_1",
                               kOptionsPictures,
                               {},
                               kOptionsButtons,
                               {},
                               kOptionsSwitched,
                               kDialogSounds,
                               {},
                               0};

constexpr const ScreenNames* kAllScreens[] = {&kLogo,       &kTitle,       &kMainMenu,
                                              &kLesson,     &kProblemList, &kProblem,
                                              &kMenuDialog, &kMsgBox,      &kOptions};

// Course 0's list, in menu order.
// The lesson overlay pictures of the nigiri pages.
constexpr const char* kLessonOverlays[] = {"EX1_nigiri_1.tga", "EX1_nigiri_2.tga",
                                           "EX1_nigiri_3.tga", "EX1_nigiri_4.tga"};

// snprintf into a std::string; the formats above are short and fixed.
template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

}  // namespace

const ScreenNames& Logo() {
    return kLogo;
}
const ScreenNames& Title() {
    return kTitle;
}
const ScreenNames& MainMenu() {
    return kMainMenu;
}
const ScreenNames& Lesson() {
    return kLesson;
}
const ScreenNames& ProblemList() {
    return kProblemList;
}
const ScreenNames& Problem() {
    return kProblem;
}
const ScreenNames& MenuDialog() {
    return kMenuDialog;
}
const ScreenNames& MsgBox() {
    return kMsgBox;
}
const ScreenNames& Options() {
    return kOptions;
}
std::span<const ScreenNames* const> AllScreens() {
    return kAllScreens;
}

const char* BoardTexture(int boardSize) {
    switch (boardSize) {
        case 6:
            return "COMN_board6.tga";
        case 9:
            return "COMN_board9.tga";
        case 13:
            return "COMN_board19trim.tga";
        default:
            return "COMN_board19.tga";
    }
}

std::span<const int> MenuSectionCodes() {
    return ChapterTitleTable::Sections(0);
}

std::vector<GeneratedTexture> BoardFamilyTextures() {
    std::vector<GeneratedTexture> out;
    auto add = [&out](std::string name) { out.push_back({std::move(name), Source::Common}); };
    for (int size : kBoardSizes) {
        add(BoardTexture(size));
        add(Format(kBlackStoneFormat, size));
        add(Format(kWhiteStoneFormat, size));
        for (int n = 1; n <= kMaxStoneNumber; ++n) {
            add(Format(kNumberOnBlackFormat, size, n));
            add(Format(kNumberOnWhiteFormat, size, n));
        }
        // Letters A..F on every board; the triangle and square overlays only where the
        // 6-point board does not use its own marks.
        for (int letter = 1; letter <= 6; ++letter) add(Format(kWhiteLetterFormat, size, letter));
        if (size == 6) {
            add(Format(kMarkFormat, size, "B"));
            add(Format(kMarkFormat, size, "W"));
        } else {
            for (int overlay = 7; overlay <= 8; ++overlay) {
                add(Format(kWhiteLetterFormat, size, overlay));
                add(Format(kBlackLetterFormat, size, overlay));
            }
        }
        for (const char* mark : {"1", "2", "3"}) add(Format(kMarkFormat, size, mark));
        for (const char* way : {"up", "down", "left", "right"})
            add(Format(kArrowFormat, size, way));
    }
    for (const char* overlay : kLessonOverlays) add(overlay);
    return out;
}

std::vector<GeneratedTexture> SectionPictures() {
    std::vector<GeneratedTexture> out;
    for (int code : MenuSectionCodes())
        out.push_back({Format(kSectionPictureFormat, code / 10, code % 10), Source::Screen});
    return out;
}

std::vector<GeneratedTexture> ListDigitTextures() {
    std::vector<GeneratedTexture> out;
    for (int digit = 0; digit <= 9; ++digit)
        out.push_back({Format(kListDigitFormat, digit), Source::Screen});
    return out;
}

std::vector<GeneratedPicture> ProblemListCellPictures() {
    std::vector<GeneratedPicture> out;
    for (int cell = 1; cell <= kProblemListCells; ++cell) {
        out.push_back({Format("btn_problem%02d", cell), "E1_btn_number.tga", Source::Screen});
        for (int digit = 1; digit <= 3; ++digit)
            out.push_back(
                {Format("%02d_num%d", cell, digit), Format(kListDigitFormat, 0), Source::Screen});
        out.push_back({Format("%02d_check", cell), "COMN_check.tga", Source::Common});
    }
    return out;
}

std::vector<GeneratedTexture> TexturesOf(const ScreenNames& screen) {
    std::vector<GeneratedTexture> out;
    for (const PictureName& row : screen.pictures) out.push_back({row.texture, row.source});
    for (const TextureName& row : screen.switched) out.push_back({row.texture, row.source});
    auto append = [&out](std::vector<GeneratedTexture> more) {
        std::move(more.begin(), more.end(), std::back_inserter(out));
    };
    if (screen.families & kBoardFamily) append(BoardFamilyTextures());
    if (screen.families & kSectionFamily) append(SectionPictures());
    if (screen.families & kListFamily) {
        append(ListDigitTextures());
        for (GeneratedPicture& cell : ProblemListCellPictures())
            out.push_back({std::move(cell.texture), cell.source});
    }
    std::sort(out.begin(), out.end(), [](const GeneratedTexture& a, const GeneratedTexture& b) {
        return a.source != b.source ? a.source < b.source : a.texture < b.texture;
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const GeneratedTexture& a, const GeneratedTexture& b) {
                              return a.source == b.source && a.texture == b.texture;
                          }),
              out.end());
    return out;
}

std::vector<std::string> PanesOf(const ScreenNames& screen) {
    std::vector<std::string> out;
    for (const PictureName& row : screen.pictures) out.emplace_back(row.pane);
    for (const TextName& row : screen.texts) out.emplace_back(row.pane);
    for (const char* pane : screen.panes) out.emplace_back(pane);
    if (screen.families & kListFamily)
        for (GeneratedPicture& cell : ProblemListCellPictures())
            out.push_back(std::move(cell.pane));
    return out;
}

}  // namespace screen_assets
