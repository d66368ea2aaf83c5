#pragma once

#include <span>
#include <string>

#include "lesson/LessonSprites.h"
#include "progress/SoundFiles.h"

namespace lesson {

// Sound effects that playback uses.
inline constexpr const char* kStoneSound = sound_files::kSeStone;
inline constexpr const char* kCursorSound = sound_files::kSeCursor;
inline constexpr const char* kCancelSound = sound_files::kSeCancel;

// How the two step buttons look.
struct StepButtonLooks {
    // The grey step-back and step-forward pictures are shown.
    bool greyShown = false;
    // The step-back button is shown and usable.
    bool backUsable = false;
    // The step-forward button is shown and usable.
    bool forwardUsable = false;
    friend bool operator==(const StepButtonLooks&, const StepButtonLooks&) = default;
};

// What playback needs from the lesson screen. Playback decides; the screen draws and plays.
class LessonView {
public:
    virtual ~LessonView() = default;

    // Plays a sound effect once (path, -1, 0 in the screen's sound call).
    virtual void PlaySe(const std::string& path) = 0;
    // Shows the first `characters` characters of the wrapped body in the body text box.
    virtual void ShowBodyText(const std::string& body, int characters) = 0;
    // Empties the body text box.
    virtual void ClearBodyText() = 0;
    // Sets the caption text box.
    virtual void ShowCaption(const std::string& caption) = 0;
    // Puts the board picture for a new board size on the board pane.
    virtual void SetBoardPicture(const std::string& texture) = 0;
    // The pictures over the board changed: draw these, in order, from the next frame on.
    virtual void ShowSprites(std::span<const LessonSprite> sprites) = 0;
    virtual void SetStepButtons(const StepButtonLooks& looks) = 0;
    // Sets the character's pictures for the pose; mouth phase 1 runs its talking animation.
    virtual void SetupCharacter(int characterPose, int mouthPhase) = 0;
    // Applies a page's text window mode.
    virtual void ApplyWindowMode(TextWindowMode mode) = 0;
    // True while the screen fades out; page changes are refused then.
    virtual bool IsClosing() const = 0;
    // The lesson is over: fade out towards the main menu.
    virtual void BeginClosing() = 0;
};

}  // namespace lesson
