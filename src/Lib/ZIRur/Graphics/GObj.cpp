#include "Lib/ZIRur/Graphics/GObj.h"

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Util/DebugLog.h"

void CGObj::SetBox(int x, int y, int width, int height, int align) {
    m_x = x;
    m_y = y;
    if (width != -1) m_width = width;
    if (height != -1) m_height = height;
    SetAlign(align);
}

void CGObj::SetRectLayout(int x, int y, int width, int height, int align) {
    SetBox(x + 512, 384 - y, width, height, align);
}

void CGObj::SetColor(int red, int green, int blue) {
    m_red = int16_t(red);
    m_green = int16_t(green);
    m_blue = int16_t(blue);
}

void CGObj::PrintProp() {
    dbglog::Printf("pos(%d, %d) size(%d, %d) scale(%3.1f, %3.1f) alpha(%d)\n", m_x, m_y, m_width,
                   m_height, double(m_scaleX), double(m_scaleY), int(m_alpha));
}

uint32_t CGObj::ColorARGB() const {
    return gfx::PackColor(m_red, m_green, m_blue, m_alpha);
}
