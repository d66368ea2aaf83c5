// Feeds arbitrary lesson data and text files to the page loader and to playback: nothing may
// read or write outside a buffer, however the files lie about their sizes.
//
// Input: byte 0 the page to load, byte 1 picks the lesson (odd: 2-4-1, which mirrors rows),
// bytes 2-3 the data file's length (little-endian), then the data file, then the text file.
#include <span>

#include "FuzzSupport.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonPlayback.h"
#include "lesson/LessonSprites.h"
#include "progress/ProgressState.h"

namespace {

class QuietView : public lesson::LessonView {
public:
    void PlaySe(const std::string&) override {}
    void ShowBodyText(const std::string& body, int characters) override {
        if (characters < 0 || size_t(characters) * 2 > body.size() + 1) __builtin_trap();
    }
    void ClearBodyText() override {}
    void ShowCaption(const std::string&) override {}
    void SetBoardPicture(const std::string&) override {}
    void ShowSprites(std::span<const lesson::LessonSprite> sprites) override {
        if (sprites.size() > lesson::kMaxSprites) __builtin_trap();
    }
    void SetStepButtons(const lesson::StepButtonLooks&) override {}
    void SetupCharacter(int, int) override {}
    void ApplyWindowMode(lesson::TextWindowMode) override {}
    bool IsClosing() const override { return closing; }
    void BeginClosing() override { closing = true; }
    bool closing = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int pageIndex = data[0];
    const lesson::LessonId id = (data[1] & 1) ? lesson::LessonId{1, 3, 0} : lesson::LessonId{};
    size_t dataSize = size_t(data[2] | data[3] << 8);
    data += 4;
    size -= 4;
    if (dataSize > size) dataSize = size;
    const std::string& dir = fuzz::ScratchFolder();
    fuzz::WriteFile(lesson::LessonDataFileName(dir, id), data, dataSize);
    fuzz::WriteFile(lesson::LessonTextFileName(dir, id), data + dataSize, size - dataSize);

    lesson::LessonPage page;
    page.currentPage = pageIndex;
    lesson::LoadLessonPage(page, id, dir);
    for (int blink = 0; blink < 2; ++blink) {
        auto sprites = lesson::BuildSprites({&page.board, page.boardSize, blink, id, pageIndex});
        if (sprites.size() > lesson::kMaxSprites) __builtin_trap();
    }

    // Play the lesson for a while, pressing every button now and then.
    QuietView view;
    ProgressState progress;
    progress.m_course = id.course;
    progress.m_chapter = id.chapter;
    progress.m_section = id.section;
    lesson::LessonPlayback playback(view, progress, dir);
    playback.Start();
    playback.Enter();
    for (int tick = 0; tick < 400 && !view.closing; ++tick) {
        playback.Tick();
        const int at = tick % 97;
        if (at == 40) playback.StepBack();
        if (at == 50) playback.StepForward();
        if (at == 60) playback.Advance();
        if (at == 90) playback.PreviousPage();
    }
    return 0;
}
