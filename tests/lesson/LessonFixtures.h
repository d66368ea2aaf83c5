#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lesson/LessonTypes.h"
#include "lesson/LessonView.h"
#include "support/ScratchDir.h"

// Lesson files written byte by byte from the format tables, and a view recording playback.
namespace lessontest {

struct Entry {
    uint8_t x = 0, y = 0;
    uint16_t code = 0;
};

// One page record: the seven header words in file order, then the steps.
struct PageRecord {
    int32_t characterPose = 0, windowMode = 0, boardSize = 9;
    std::optional<int32_t> stepCount{};  // as stored; unset: the number of steps
    int32_t autoAdvance = 0, showFinal = 0, textFirst = 0;
    std::vector<std::vector<Entry>> steps{};
};

inline void PutS32(std::vector<uint8_t>& out, int32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

inline void PutEntry(std::vector<uint8_t>& out, const Entry& e) {
    out.insert(out.end(), {e.x, e.y, uint8_t(e.code & 0xFF), uint8_t(e.code >> 8)});
}

// The page count, then each record's header and steps (entry count, entries).
inline std::vector<uint8_t> DataFile(const std::vector<PageRecord>& pages) {
    std::vector<uint8_t> out;
    PutS32(out, int32_t(pages.size()));
    for (const PageRecord& p : pages) {
        for (int32_t word : {p.characterPose, p.windowMode, p.boardSize,
                             p.stepCount.value_or(int32_t(p.steps.size())), p.autoAdvance,
                             p.showFinal, p.textFirst})
            PutS32(out, word);
        for (const auto& step : p.steps) {
            PutS32(out, int32_t(step.size()));
            for (const Entry& e : step) PutEntry(out, e);
        }
    }
    return out;
}

// Caption and body line of each page, each ended by CR LF.
inline std::string TextFile(const std::vector<std::pair<std::string, std::string>>& pages) {
    std::string out;
    for (const auto& [caption, body] : pages) out += caption + "\r\n" + body + "\r\n";
    return out;
}

inline void Write(const testsupport::ScratchDir& dir, const std::string& name,
                  const std::string& text) {
    testsupport::WriteBytes(dir / name, std::vector<uint8_t>(text.begin(), text.end()));
}

// Shift_JIS text of n double-byte characters ("あ" repeated).
inline std::string Kana(int characters) {
    std::string out;
    for (int i = 0; i < characters; ++i) out += "\x82\xA0";
    return out;
}

// Records what playback asks the screen to do.
class RecordingView : public lesson::LessonView {
public:
    void PlaySe(const std::string& path) override { sounds.push_back(path); }
    void ShowBodyText(const std::string& body, int characters) override {
        shownBody = body;
        shownCharacters = characters;
    }
    void ClearBodyText() override {
        shownBody.clear();
        shownCharacters = 0;
        ++bodyClears;
    }
    void ShowCaption(const std::string& text) override { caption = text; }
    void SetBoardPicture(const std::string& texture) override { boardPictures.push_back(texture); }
    void ShowSprites(std::span<const lesson::LessonSprite> list) override {
        sprites.assign(list.begin(), list.end());
    }
    void SetStepButtons(const lesson::StepButtonLooks& looks) override { stepButtons = looks; }
    void SetupCharacter(int pose, int mouth) override {
        characterPose = pose;
        mouthPhase = mouth;
        ++characterSetups;
    }
    void ApplyWindowMode(lesson::TextWindowMode mode) override { windowModes.push_back(int(mode)); }
    bool IsClosing() const override { return closing; }
    void BeginClosing() override { closing = true; }
    std::vector<std::string> sounds, boardPictures;
    std::string shownBody, caption;
    int shownCharacters = 0, bodyClears = 0;
    std::vector<lesson::LessonSprite> sprites;
    lesson::StepButtonLooks stepButtons;
    int characterPose = -1, mouthPhase = -1, characterSetups = 0;
    std::vector<int> windowModes;
    bool closing = false;
};

}  // namespace lessontest
