#pragma once

#include <cstdint>

#include "Lib/lyt/drawable.h"

class CGObj;
class CxPicture;

// Lets a pane draw one of the framework's drawing objects (picture or text): the pane's
// computed rectangle, anchor, colour and alpha are handed to the object, then it draws.
class CTSObjDrawable : public LYRALib::lytmgr::Drawable {
public:
    explicit CTSObjDrawable(CGObj* object) : m_pObject(object) {}
    // Places, colours and draws the object; nothing without one.
    void Draw(const LYRALib::lytmgr::DrawRequest& request) override;
    // The wrapped object (not owned).
    CGObj* Object() const { return m_pObject; }

private:
    CGObj* m_pObject;
};

// The picture form also takes new image bytes from texture pattern animation.
class CTSPictureDrawable : public CTSObjDrawable {
public:
    explicit CTSPictureDrawable(CxPicture* picture);
    // Replaces the picture's image with the given bytes; ignored when empty.
    void LoadImageData(const void* data, uint32_t size) override;

private:
    CxPicture* m_pPicture;
};
