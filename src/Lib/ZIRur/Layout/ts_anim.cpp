#include "Lib/ZIRur/Layout/ts_anim.h"

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"

void StepAnimFrame(int32_t& playing, int32_t loop, int32_t startFrame, int32_t endFrame,
                   int32_t& currentFrame, int32_t mode) {
    if (playing == 0) return;
    ++currentFrame;
    if (currentFrame <= endFrame) return;
    if (loop != 0) {
        currentFrame = startFrame;
    } else {
        playing = 0;
        currentFrame = mode == 0 ? startFrame : endFrame;
    }
}

void AnimTransInfo::Step() {
    if (m_pAnimTrans == nullptr) return;
    StepAnimFrame(m_playing, m_loop, m_startFrame, m_endFrame, m_currentFrame, m_mode);
}

void AnimTransInfo::SetAnimationProp(int start, int end, int mode) {
    if (m_pAnimTrans == nullptr) {
        LYRA_POINTER_ERROR("pAnimTrans", static_cast<const void*>(m_pAnimTrans));
        return;
    }
    const int frames = m_pAnimTrans->GetFrameSize();
    m_loop = m_pAnimTrans->IsLoopData() && frames > 1 ? 1 : 0;
    m_playing = 1;
    m_startFrame = start < 1 ? 0 : start;
    m_endFrame = end < 1 ? frames - 1 : end;
    m_mode = m_loop == 0 ? 1 : mode;
    dbglog::Printf("AnimTransInfo::SetAnimationProp() (s=%3d, e=%3d, c=%3d) loop=%d, mode=%d, %s\n",
                   m_startFrame, m_endFrame, m_currentFrame, m_loop, m_mode, m_szName);
}
