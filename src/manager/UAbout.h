// TFAbout, the About box (modeless, always on top), and the help commands.
// For now only its window; the About and help work fills them.
#pragma once
#include "Form.h"

class TFAbout : public TForm {
public:
    bool Create() { return CreateForm("TFAbout", "About Vantrel", 380, 235, TBorderStyle::Dialog, true, true); }
};

extern TFAbout* FAbout;

// The Help menu's commands; owner is the manager window.
void ShowHelpFile();
void OpenHomePage(HWND owner);
void OpenSupportMail(HWND owner);
