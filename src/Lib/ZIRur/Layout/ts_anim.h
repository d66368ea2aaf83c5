#pragma once

#include <cstdint>
#include <vector>

namespace LYRALib::lytmgr {
class AnimTransform;
}

// One frame of a playing animation: the next frame, wrapping when looping; past the end a
// non-looping animation stops on its start (mode 0) or its end frame. Shared by named layout
// animations and a pane handle's own animation.
void StepAnimFrame(int32_t& playing, int32_t loop, int32_t startFrame, int32_t endFrame,
                   int32_t& currentFrame, int32_t mode);

// A layout animation loaded by name, with its playing state.
struct AnimTransInfo {
    static constexpr int kNameLen = 48;

    // Advances one frame while playing: wraps when looping, else stops at start or end.
    void Step();
    // Plays from `start` to `end` (below 1: the whole range); the current frame is kept.
    void SetAnimationProp(int start, int end, int mode);

    LYRALib::lytmgr::AnimTransform* m_pAnimTrans = nullptr;
    char m_szName[kNameLen] = {};
    int32_t m_playing = 0;
    int32_t m_loop = 0;
    int32_t m_startFrame = 0;
    int32_t m_endFrame = 0;
    int32_t m_currentFrame = 0;
    int32_t m_mode = 1;
    // The converted animation file; the transform may point into it.
    std::vector<uint8_t> m_file;
};
