// TFAbout, the About box (modeless, always on top, hidden again by Close,
// Enter or Esc), and the Help menu's commands. Everything they open is
// handed to the shell; only a missing help file is reported.
#pragma once
#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TFAbout : public TForm {
public:
    bool Create();

    void FormCreate();
    void Label3Click(TControl* sender);
    void Button1Click();

    TPanel StripPanel;
    TImage Image1;
    TButton Button1;
    TPanel LogoPanel;
    TImage Image2;
    TLabel Label1;
    TLabel Label3;
    TLabel Label4;
    TLabel Label5;
    TLabel Notice;

private:
    void BuildLink(TLabel& label, int id, const std::string& address, int top);
};

extern TFAbout* FAbout;

// The maker's addresses, set by the build.
extern const char* const HomePageAddress;
extern const char* const SupportMailAddress;
extern const char* const AuthorsMailAddress;

// The Help menu's commands; owner is the manager window.
void ShowHelpFile();
void OpenHomePage(HWND owner);
void OpenSupportMail(HWND owner);
