#include "Lib/ZIRur/Layout/ts_drawable.h"

#include "Lib/ZIRur/Graphics/GObj.h"
#include "Lib/ZIRur/Graphics/Picture.h"

void CTSObjDrawable::Draw(const LYRALib::lytmgr::DrawRequest& request) {
    if (m_pObject == nullptr) return;
    if (request.hasColor) m_pObject->SetColor(request.red, request.green, request.blue);
    m_pObject->SetRectLayout(request.x, request.y, request.width, request.height, request.anchor);
    m_pObject->SetAlpha(request.alpha);
    m_pObject->Draw();
}

CTSPictureDrawable::CTSPictureDrawable(CxPicture* picture)
    : CTSObjDrawable(picture), m_pPicture(picture) {}

void CTSPictureDrawable::LoadImageData(const void* data, uint32_t size) {
    if (m_pPicture == nullptr || data == nullptr || size == 0) return;
    m_pPicture->LoadData(static_cast<const uint8_t*>(data), size);
}
