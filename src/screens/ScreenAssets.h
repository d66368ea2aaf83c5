#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The names every screen and dialog asks its data for: archive paths, layout names, the
// pane → texture and pane → font rows bound when a screen is created, the buttons made from
// those panes, and the textures switched in while the screen runs. Screens build their
// TSPictureResource/TSTextResource rows from these; the data checker walks the same tables,
// so a name typed once here cannot drift between the program and its data.
//
// Where a texture lives: names starting with "COMN_", the stones and the lesson overlay
// pictures come from the common archive (opened once by the logo screen); every other
// texture comes from the screen's own archive.
namespace screen_assets {

// The archive a texture is read from.
enum class Source : uint8_t { Screen, Common };

// A pane whose picture is bound when the screen is created.
struct PictureName {
    const char* pane;
    const char* texture;
    Source source;
};

// A text pane that gets a fonted text object when the screen is created.
struct TextName {
    const char* pane;
    const char* fontFile;
    int size;
};

// A button made of a normal-look pane and a pressed-look pane (both are picture rows).
struct ButtonName {
    int id;
    const char* normalPane;
    const char* pressedPane;
};

// A texture with a fixed name that the screen switches into a pane while it runs.
struct TextureName {
    const char* texture;
    Source source;
};

// Everything one screen or dialog looks up by name, except generated families (below).
struct ScreenNames {
    // Short name used in reports ("F_1").
    const char* id;
    // Archive path relative to the program folder, e.g. "DATA/IMG/F_1.T2G".
    const char* archive;
    // Layout entry name without ".lyt"; null for an archive without a layout.
    const char* layout;
    std::span<const PictureName> pictures;
    std::span<const TextName> texts;
    std::span<const ButtonName> buttons;
    // Other panes the code finds by name that have no picture or text row.
    std::span<const char* const> panes;
    // Fixed-name textures switched in at run time.
    std::span<const TextureName> switched;
    // Sound files the screen plays, relative to the program folder.
    std::span<const char* const> sounds;
    // Layout animation entries without ".anm" (no screen binds one today).
    std::span<const char* const> animations;
    // Generated families the screen uses (a mask of the k...Family flags below).
    uint8_t families;
};

// The board pictures, stones, numbers, letters, marks, arrows and overlays of a Go board.
inline constexpr uint8_t kBoardFamily = 1;
// The main menu's section pictures.
inline constexpr uint8_t kSectionFamily = 2;
// The problem list's cells and digits.
inline constexpr uint8_t kListFamily = 4;

// A generated name row (families such as numbered stones or the problem-list cells).
struct GeneratedPicture {
    std::string pane;
    std::string texture;
    Source source;
};

// A generated texture name with the archive it is read from.
struct GeneratedTexture {
    std::string texture;
    Source source;
};

inline constexpr const char* kCommonArchive = "DATA/IMG/COMMON.T2G";
inline constexpr const char* kTextArchive = "DATA/IMG/TEXT.T2G";
inline constexpr const char* kSystemFont = "UIGothic-Bold.otf";
inline constexpr const char* kRoundedFont = "UIRounded-DemiBold.otf";
// The size value the screens give their text rows (a row with 0 would be skipped).
inline constexpr int kTextSize = 36;

// Board sizes the board pictures and stone families exist for.
inline constexpr int kBoardSizes[] = {6, 9, 13, 19};
// Numbered stones carry 1..kMaxStoneNumber.
inline constexpr int kMaxStoneNumber = 63;

// Name formats of the board families ("%d" board size, "%02d" number).
inline constexpr const char* kBlackStoneFormat = "bstone%d.tga";
inline constexpr const char* kWhiteStoneFormat = "wstone%d.tga";
inline constexpr const char* kNumberOnBlackFormat = "COMN_stone%dNumW_%02d.tga";
inline constexpr const char* kNumberOnWhiteFormat = "COMN_stone%dNumB_%02d.tga";
inline constexpr const char* kWhiteLetterFormat = "COMN_stone%dTextW_%02d.tga";
inline constexpr const char* kBlackLetterFormat = "COMN_stone%dTextB_%02d.tga";
inline constexpr const char* kMarkFormat = "COMN_mark%d_%s.tga";
inline constexpr const char* kArrowFormat = "COMN_arrow%d_%s.tga";
inline constexpr const char* kSectionPictureFormat = "C1_%d-%d.tga";
inline constexpr const char* kListDigitFormat = "E1_number_%d.tga";

// The screens and dialogs, in scene order, then the dialogs.
const ScreenNames& Logo();
const ScreenNames& Title();
const ScreenNames& MainMenu();
const ScreenNames& Lesson();
const ScreenNames& ProblemList();
const ScreenNames& Problem();
const ScreenNames& MenuDialog();
const ScreenNames& MsgBox();
const ScreenNames& Options();
// Every screen and dialog above, in that order.
std::span<const ScreenNames* const> AllScreens();

// The board picture of a board size ("COMN_board19.tga" for any size but 6, 9, 13).
const char* BoardTexture(int boardSize);
// Section codes of the main menu's list: (chapter + 1) × 10 + (section + 1), course 0 (the
// curriculum's own list).
std::span<const int> MenuSectionCodes();

// "bstone%d.tga"/"wstone%d.tga", numbered stones 1..63 in both colours, letters, marks and
// arrows for every board size, the board pictures and the lesson overlay pictures: every
// common texture the lesson and problem boards can ask for.
std::vector<GeneratedTexture> BoardFamilyTextures();
// The section pictures "C1_%d-%d.tga" of every listed section.
std::vector<GeneratedTexture> SectionPictures();
// "E1_number_0.tga".."E1_number_9.tga".
std::vector<GeneratedTexture> ListDigitTextures();
// The problem list's 50 cells: "btn_problem%02d", "%02d_num1..3" and "%02d_check" with
// their first textures.
std::vector<GeneratedPicture> ProblemListCellPictures();
// Number of problem-list cells (ten to a row, five rows).
inline constexpr int kProblemListCells = 50;

// Every texture a screen can ask of an archive: its picture rows, its switched textures and
// its generated families. Sorted and free of duplicates.
std::vector<GeneratedTexture> TexturesOf(const ScreenNames& screen);
// Every pane a screen looks up: picture, text and other panes plus generated cell panes.
std::vector<std::string> PanesOf(const ScreenNames& screen);

}  // namespace screen_assets
