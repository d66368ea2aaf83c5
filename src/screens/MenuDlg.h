#pragma once

#include "screens/DialogFade.h"

// The in-screen menu of the lesson (variant 0) and problem (variant 1) screens: three
// choices ending the dialog with 0, 1 or 2.
class CMenuDlg : public CFadeDialog {
public:
    // Variant 1 shows the problem screen's first choice instead of the lesson's.
    explicit CMenuDlg(int variant);

    // Binds the table, then the first button's other looks in variant 1.
    void OnInit() override;
    void OnButton(uint16_t id) override;

    int Variant() const { return m_variant; }

private:
    int m_variant;
};

// Runs the menu modally over `parent` (the current window when null): 0 first choice, 1 back
// to the main menu, 2 close; 2 also when the dialog cannot be made.
int RunMenuDialog(int variant, CTSEventWnd* parent = nullptr);
