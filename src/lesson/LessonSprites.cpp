#include "lesson/LessonSprites.h"

#include <cstdio>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonExceptions.h"

namespace lesson {
namespace {

enum class Arrow { Down, Left, Up, Right };

// Arrow pictures per arrow-layer value, in drawing order; value 1 and 2 draw none.
struct ArrowSet {
    int count;
    Arrow arrows[4];
};
constexpr ArrowSet kArrowSets[16] = {
    {0, {}},
    {0, {}},
    {0, {}},
    {1, {Arrow::Down}},
    {1, {Arrow::Left}},
    {1, {Arrow::Up}},
    {1, {Arrow::Right}},
    {2, {Arrow::Down, Arrow::Left}},
    {2, {Arrow::Left, Arrow::Up}},
    {2, {Arrow::Up, Arrow::Right}},
    {2, {Arrow::Right, Arrow::Down}},
    {3, {Arrow::Right, Arrow::Down, Arrow::Left}},
    {3, {Arrow::Down, Arrow::Left, Arrow::Up}},
    {3, {Arrow::Left, Arrow::Up, Arrow::Right}},
    {3, {Arrow::Up, Arrow::Right, Arrow::Down}},
    {4, {Arrow::Down, Arrow::Left, Arrow::Up, Arrow::Right}},
};

std::string Format(const char* pattern, int a, int b = 0) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, a, b);
    return name;
}

std::string BlackStone(int size) {
    return Format("bstone%d.tga", size);
}
std::string WhiteStone(int size) {
    return Format("wstone%d.tga", size);
}
// The black / white labels of values 3..8; board 6 has its own marks.
std::string BlackLabel(int size, int variant) {
    return size == 6
               ? Format("COMN_mark%d_B.tga", size)
               : Format(variant == 8 ? "COMN_stone%dTextB_08.tga" : "COMN_stone%dTextB_07.tga",
                        size);
}
std::string WhiteLabel(int size, int variant) {
    return size == 6
               ? Format("COMN_mark%d_W.tga", size)
               : Format(variant == 8 ? "COMN_stone%dTextW_08.tga" : "COMN_stone%dTextW_07.tga",
                        size);
}

std::string ArrowPicture(int size, Arrow arrow) {
    // Rows of 13 x 13 boards are mirrored, so up and down trade places there.
    if (size == 13 && (arrow == Arrow::Up || arrow == Arrow::Down)) {
        arrow = arrow == Arrow::Up ? Arrow::Down : Arrow::Up;
    }
    switch (arrow) {
        case Arrow::Down:
            return Format("COMN_arrow%d_down.tga", size);
        case Arrow::Left:
            return Format("COMN_arrow%d_left.tga", size);
        case Arrow::Up:
            return Format("COMN_arrow%d_up.tga", size);
        case Arrow::Right:
            break;
    }
    return Format("COMN_arrow%d_right.tga", size);
}

class SpriteListBuilder {
public:
    explicit SpriteListBuilder(const SpriteScene& scene)
        : m_scene(scene),
          m_edge(UsableEdge(scene.boardSize)),
          m_size(scene.boardSize == 6 || scene.boardSize == 9 || scene.boardSize == 13
                     ? scene.boardSize
                     : 19),
          m_hidden(scene.blinkPhase == 1),
          m_wholePointBlinks(
              HasQuirk(scene.lesson, scene.page, LessonQuirk::LabelArrowAndWholePointBlink)),
          m_sideArrowsMeet(
              HasQuirk(scene.lesson, scene.page, LessonQuirk::SideArrowsMeetOnTopRow)) {}

    std::vector<LessonSprite> Build() {
        ForEachPoint([this](int x, int y, PointCode c) { AddStoneLayer(x, y, c); });
        ForEachPoint([this](int x, int y, PointCode c) { AddArrowLayer(x, y, c); });
        ForEachPoint([this](int x, int y, PointCode c) { AddNumber(x, y, c); });
        const std::string nigiri = NigiriPictureName(m_scene.lesson, m_scene.page);
        if (!nigiri.empty()) Add(nigiri, PixelPoint{kNigiriX, kNigiriY});
        if (m_dropped > 0) {
            TS_WARN("spriteCount", long(kMaxSprites + m_dropped),
                    "lesson page needs more pictures than %zu; the rest is left out\n",
                    kMaxSprites);
        }
        return std::move(m_list);
    }

private:
    template <typename Fn>
    void ForEachPoint(Fn fn) {
        for (int y = 0; y < m_edge; ++y) {
            for (int x = 0; x < m_edge; ++x) fn(x, y, m_scene.board->At(x, y));
        }
    }

    // Whether a blinking picture is out in this phase: `cls` is the class that blinks it.
    bool Hidden(PointCode code, PointCode cls) const {
        if (!m_hidden) return false;
        const PointCode blink = BlinkClass(code);
        if (m_wholePointBlinks && (blink == kBlinkStones || blink == kBlinkLabels)) return true;
        return blink == cls;
    }

    void Add(std::string texture, PixelPoint at) {
        if (m_list.size() >= kMaxSprites) {
            ++m_dropped;
            return;
        }
        m_list.push_back(LessonSprite{std::move(texture), at.x, at.y});
    }
    void AddAt(int x, int y, std::string texture) {
        Add(std::move(texture), PointPosition(m_scene.boardSize, x, y));
    }

    void AddStoneLayer(int x, int y, PointCode code) {
        const int value = StoneLayer(code);
        if (value == 0) return;
        // Stones and their labels blink with class 0x4000, the other labels with 0x8000.
        if (Hidden(code, value <= 8 ? kBlinkStones : kBlinkLabels)) return;
        const int s = m_size;
        switch (value) {
            case 1:
                AddAt(x, y, BlackStone(s));
                break;
            case 2:
                AddAt(x, y, WhiteStone(s));
                break;
            case 3:
                AddAt(x, y, BlackLabel(s, 7));
                break;
            case 4:
                AddAt(x, y, WhiteLabel(s, 7));
                break;
            case 5:
                AddAt(x, y, BlackStone(s)), AddAt(x, y, WhiteLabel(s, 7));
                break;
            case 6:
                AddAt(x, y, WhiteStone(s)), AddAt(x, y, BlackLabel(s, 7));
                break;
            case 7:
                AddAt(x, y, BlackStone(s)), AddAt(x, y, WhiteLabel(s, 8));
                break;
            case 8:
                AddAt(x, y, WhiteStone(s)), AddAt(x, y, BlackLabel(s, 8));
                break;
            case 9:
                AddAt(x, y, Format("COMN_mark%d_1.tga", s));
                break;
            default:
                // 10..15: the numbered white labels 01..06.
                AddAt(x, y, Format("COMN_stone%dTextW_%02d.tga", s, value - 9));
                break;
        }
    }

    void AddArrowLayer(int x, int y, PointCode code) {
        const int value = ArrowLayer(code);
        if (value == 0 || Hidden(code, kBlinkLabels)) return;
        if (value == 2 && m_wholePointBlinks) {
            AddAt(x, y, Format("COMN_stone%dTextW_01.tga", m_size));
            return;
        }
        const ArrowSet& set = kArrowSets[value];
        for (int i = 0; i < set.count; ++i) {
            const Arrow arrow = set.arrows[i];
            int column = x;
            if (m_sideArrowsMeet && y == 0 &&
                ((arrow == Arrow::Left && x == 4) || (arrow == Arrow::Right && x == 6))) {
                column = 5;
            }
            AddAt(column, y, ArrowPicture(m_size, arrow));
        }
    }

    void AddNumber(int x, int y, PointCode code) {
        const int number = NumberField(code);
        if (number == 0) return;
        if (m_hidden && (BlinkClass(code) == kBlinkStones || BlinkClass(code) == kBlinkLabels)) {
            return;
        }
        // White numbers on black stones and black labels.
        const int stone = StoneLayer(code);
        const char* pattern =
            stone == 1 || stone == 3 ? "COMN_stone%dNumW_%02d.tga" : "COMN_stone%dNumB_%02d.tga";
        AddAt(x, y, Format(pattern, m_size, number));
    }

    const SpriteScene& m_scene;
    const int m_edge;
    // The size named in picture names: 6, 9, 13 or 19.
    const int m_size;
    const bool m_hidden;
    const bool m_wholePointBlinks;
    const bool m_sideArrowsMeet;
    std::vector<LessonSprite> m_list;
    size_t m_dropped = 0;
};

}  // namespace

PixelPoint PointPosition(int boardSize, int x, int y) {
    switch (boardSize) {
        case 6:
            return {99 + 105 * x, 121 + 105 * y};
        case 9:
            return {81 + 70 * x, 103 + 70 * y};
        case 13:
            return {73 + 48 * x, 95 + 48 * y};
        default:
            return {73 + 32 * x, 95 + 32 * y};
    }
}

std::string BoardPictureName(int boardSize) {
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

std::vector<LessonSprite> BuildSprites(const SpriteScene& scene) {
    if (!scene.board) return {};
    return SpriteListBuilder(scene).Build();
}

}  // namespace lesson
