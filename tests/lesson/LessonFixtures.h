#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lesson/LessonTypes.h"
#include "lesson/LessonView.h"

// Lesson files written byte by byte from the format tables, into a temporary directory.
namespace lessontest {

struct Entry {
    uint8_t x = 0;
    uint8_t y = 0;
    uint16_t code = 0;
};

// One page record: header fields in file order, then the steps.
struct PageRecord {
    int32_t characterPose = 0;
    int32_t windowMode = 0;
    int32_t boardSize = 9;
    // Written as stored; when unset, the number of steps below.
    std::optional<int32_t> stepCount;
    int32_t autoAdvance = 0;
    int32_t showFinal = 0;
    int32_t textFirst = 0;
    std::vector<std::vector<Entry>> steps;
};

void PutS32(std::vector<uint8_t>& out, int32_t value);
void PutEntry(std::vector<uint8_t>& out, const Entry& entry);
// The 28-byte header and the steps of one record.
void PutRecord(std::vector<uint8_t>& out, const PageRecord& page);
// Page count (the number of pages unless given) and the records.
std::vector<uint8_t> DataFile(const std::vector<PageRecord>& pages,
                              std::optional<int32_t> pageCount = std::nullopt);
// Caption and body lines of each page, each ended by CR LF.
std::string TextFile(const std::vector<std::pair<std::string, std::string>>& pages);

// A fresh directory that is removed again with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory with a trailing slash, as the file names expect.
    std::string Prefix() const { return m_path.string() + "/"; }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    void Write(const std::string& name, const std::string& text) const;
    void Remove(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// Records everything playback asks the screen to do.
class RecordingView : public lesson::LessonView {
public:
    void PlaySe(const std::string& path) override { sounds.push_back(path); }
    void ShowBodyText(const std::string& body, int characters) override {
        shownBody = body;
        shownCharacters = characters;
        ++bodyUpdates;
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
        ++redraws;
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

    std::vector<std::string> sounds;
    std::string shownBody;
    int shownCharacters = 0;
    int bodyUpdates = 0;
    int bodyClears = 0;
    std::string caption;
    std::vector<std::string> boardPictures;
    std::vector<lesson::LessonSprite> sprites;
    int redraws = 0;
    lesson::StepButtonLooks stepButtons;
    int characterPose = -1;
    int mouthPhase = -1;
    int characterSetups = 0;
    std::vector<int> windowModes;
    bool closing = false;
};

// Shift_JIS text of n double-byte characters ("あ" repeated).
std::string Kana(int characters);

}  // namespace lessontest
