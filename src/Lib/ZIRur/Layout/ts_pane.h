#pragma once

#include <cstdint>

#include "Lib/ZIRur/Util/Geometry.h"

namespace LYRALib::lytmgr {
class AnimTransform;
class Pane;
}  // namespace LYRALib::lytmgr

class CTIGroup;
class CTSLayout;

// A handle on one pane of a loaded layout, found by name and copied by value. It owns
// nothing; an empty handle (pane not found) only logs a pointer error on each operation.
// Positions are logical screen pixels (origin top-left, y down).
class CTSPane {
public:
    static constexpr int kNameLen = 32;

    CTSPane() = default;
    CTSPane(CTSLayout* layout, LYRALib::lytmgr::Pane* pane, const char* name);
    virtual ~CTSPane() = default;

    // The pane's rectangle moved by its own and its ancestors' translations, on the screen;
    // (0, 0, 0, 0) for an empty handle.
    TSRect GetPaneRect() const;
    // Centre of GetPaneRect (integer halves).
    TSPoint GetCenter() const;
    // Moves the pane so that its centre lands on `point`.
    void MoveCenterTo(TSPoint point);
    // Moves the centre by (-dx, -dy).
    void ShiftBack(int dx, int dy);
    // Moves the pane onto `rect`; a rectangle of another size moves nothing and is logged.
    void SetPaneRect(const TSRect& rect);

    void SetVisible(bool visible);
    bool IsVisible() const;
    void SetAlpha(uint8_t alpha);
    uint8_t GetAlpha() const;
    // Whole pixels, stored as floats.
    void SetSize(int width, int height);
    // Truncated toward zero.
    void GetSize(int& width, int& height) const;
    // Truncated to 16-bit integers.
    void GetTranslate(int16_t& x, int16_t& y) const;
    void SetTranslate(float x, float y);
    void GetScale(float& x, float& y) const;
    void SetScale(float x, float y);

    // Evaluates the pane's animation at the handle's frame (if it has one), draws the pane
    // with its children, then advances the frame.
    void DrawAnimated();
    // Plays the pane's animation from `start` to `end`; -1 keeps the whole range.
    void SetAnimation(int start, int end, bool loop, int mode);

    bool IsValid() const { return m_pLayout != nullptr && m_pPane != nullptr; }
    LYRALib::lytmgr::Pane* GetLytPane() const { return m_pPane; }
    CTSLayout* GetLayout() const { return m_pLayout; }
    const char* Name() const { return m_szName; }
    int CurrentFrame() const { return m_currentFrame; }
    bool IsPlaying() const { return m_playing != 0; }

protected:
    // True with a pane; otherwise logs the pointer error.
    bool CheckPane() const;
    // One step of the frame counter while playing.
    void AdvanceFrame();

    CTSLayout* m_pLayout = nullptr;
    LYRALib::lytmgr::Pane* m_pPane = nullptr;
    LYRALib::lytmgr::AnimTransform* m_pAnimTrans = nullptr;
    int32_t m_playing = 0;
    int32_t m_loop = 0;
    int32_t m_startFrame = 0;
    int32_t m_endFrame = 0;
    int32_t m_currentFrame = 0;
    int32_t m_mode = 1;
    char m_szName[kNameLen + 1] = {};
};

// A picture pane handle: can switch the picture's texture.
class CTSPicturePane : public CTSPane {
public:
    using CTSPane::CTSPane;
    // Loads the image into the pane, or reloads the image it already shows. 1/0.
    int SetTexture(CTIGroup* group, const char* fileName);
};

// A text box pane handle.
class CTSTextPane : public CTSPane {
public:
    using CTSPane::CTSPane;
};
