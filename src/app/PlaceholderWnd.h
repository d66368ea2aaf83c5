#pragma once

#include <memory>

#include "Lib/ZIRur/Graphics/GpuTexture.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"

// Stand-in screen for a scene whose real screen is not built yet: a coloured field split into
// one band per next scene; a click on a band ends the screen with that scene.
class CPlaceholderWnd : public CTSBgmWnd {
public:
    explicit CPlaceholderWnd(int scene);

    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnPointerUp(TSPoint point, int device) override;
    void OnKeyDown(uint16_t key, int device) override;

    int Scene() const { return m_scene; }

private:
    int ChoiceAt(int x) const;

    int m_scene;
    TSPoint m_lastPress{-1, -1};
    std::unique_ptr<gfx::GpuTexture> m_band;
    std::unique_ptr<gfx::GpuTexture> m_marker;
};
