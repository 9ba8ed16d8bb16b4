// TAboutBox, the About box (modeless, always on top, hidden again by Close,
// Enter or Esc), and the Help menu's commands. Everything they open is
// handed to the shell; only a missing help file is reported.
#pragma once
#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "Panel.h"

#include <string>

class TAboutBox : public TForm {
public:
    bool Create();

    void OnOpenLink(TControl* sender);
    void OnClose();

    TPanel StripPanel;
    TImage ProgramImage;
    TButton CloseButton;
    TPanel LogoPanel;
    TImage LogoImage;
    TLabel VersionLabel;
    TLabel HomePageLink;
    TLabel SupportMailLink;
    TLabel AuthorsMailLink;
    TLabel Notice;

private:
    void BuildLink(TLabel& label, int id, const std::string& address, int top);
};

extern TAboutBox* AboutBox;

// The maker's addresses, set by the build.
extern const char* const HomePageAddress;
extern const char* const SupportMailAddress;
extern const char* const AuthorsMailAddress;

// The Help menu's commands; owner is the manager window.
void ShowHelpFile();
void OpenHomePage(HWND owner);
void OpenSupportMail(HWND owner);
