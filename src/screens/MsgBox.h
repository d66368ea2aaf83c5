#pragma once

#include <string>

#include "screens/DialogFade.h"

// A yes/no question: OK ends with 0, No with 1.
class CMsgBox : public CFadeDialog {
public:
    // `message` is Shift_JIS text shown in the "txt_message" box.
    explicit CMsgBox(const char* message);

    void OnInit() override;
    void OnButton(uint16_t id) override;

    const std::string& Message() const { return m_message; }

private:
    std::string m_message;
};

// Asks `question` (Shift_JIS) modally over `parent` (the current window when null): 0 OK,
// 1 No; 1 also when the box cannot be made, so nothing is done without a yes.
int RunMessageBox(const char* question, CTSEventWnd* parent = nullptr);
