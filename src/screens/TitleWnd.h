#pragma once

#include <cstdint>

#include "screens/FadeScreen.h"

// The title screen: the title, the teacher blinking now and then, and three buttons — start
// (fades out to the main menu), options and help.
class CTitleWnd : public CFadeScreen {
public:
    static constexpr uint16_t kStart = 2;
    static constexpr uint16_t kOption = 3;
    static constexpr uint16_t kHelp = 4;

    CTitleWnd();

    void OnStart() override;
    void OnButton(uint16_t id) override;

private:
    void OnTick() override;
    void ApplyAlpha(uint8_t alpha) override;
    void Blink(int phase);
    void RunOptions();
    void OpenHelp();
};
