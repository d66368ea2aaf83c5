#pragma once

#include <string>

#include "Lib/ZIRur/Wnd/TSWnd.h"

// A screen window with music and effects under two switches.
class CTSBgmWnd : public CTSWnd {
public:
    void DispatchEvent(uint32_t code, uint32_t p1, uint32_t p2) override;
    void PlaySe(const char* path, int arg1 = 0, int arg2 = 0) override;
    void PlayBgm(const char* path, int arg = 0) override;
    void StopSe() override;

    void SetBgmEnabled(int flag);
    void SetSeEnabled(int flag) { m_seEnabled = flag; }
    // Sets both switches from the saved options (done at the start of every load).
    void ApplySoundSettings();

    int32_t m_bgmEnabled = 1;
    int32_t m_seEnabled = 1;
};

// Where the saved music and effect switches come from; installed by the application.
struct TSSoundSettings {
    int music = 1;
    int effects = 1;
};
using SoundSettingsSource = TSSoundSettings (*)();
void SetSoundSettingsSource(SoundSettingsSource source);

// The music track that is playing across screens ("" when none).
const std::string& CurrentBgmPath();
