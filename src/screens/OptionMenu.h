#pragma once

#include "screens/DialogFade.h"

// The options dialog of the title screen: music and effect switches edited as working
// copies, written into the settings only on OK.
class COptionMenu : public CFadeDialog {
public:
    // Takes the working copies from the settings as they are now.
    COptionMenu();

    void OnInit() override;
    void OnButton(uint16_t id) override;

    int WorkingBgm() const { return m_workBgm; }
    int WorkingSe() const { return m_workSe; }

private:
    // Gives the switch button `id` its on or off looks.
    void ShowSwitch(uint16_t id, int on);

    int m_workBgm;
    int m_workSe;
};

// Runs the options dialog modally over `parent` (the current window when null): 1 when the
// learner chose OK (settings written), 0 otherwise or when the dialog cannot be made.
int RunOptionsDialog(CTSEventWnd* parent = nullptr);
