#include "Lib/ZIRur/Layout/ts_anim.h"

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"

void AnimTransInfo::Step() {
    if (m_pAnimTrans == nullptr || m_playing == 0) return;
    ++m_currentFrame;
    if (m_currentFrame <= m_endFrame) return;
    if (m_loop != 0) {
        m_currentFrame = m_startFrame;
    } else {
        m_playing = 0;
        m_currentFrame = m_mode == 0 ? m_startFrame : m_endFrame;
    }
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
