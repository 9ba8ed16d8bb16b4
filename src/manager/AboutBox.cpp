#include "AboutBox.h"
#include "ImageList.h"
#include "ManagerIds.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"

#include <shellapi.h>

TAboutBox* AboutBox = nullptr;

const char* const HomePageAddress = VT_HOME_PAGE;
const char* const SupportMailAddress = VT_SUPPORT_MAIL;
const char* const AuthorsMailAddress = VT_AUTHORS_MAIL;

namespace {

const char* const VersionText = "version 1.0";
const char* const ProductName = "Vantrel";
const char* const NoticeText = "Icons: famfamfam Silk, Creative Commons Attribution 2.5";

const COLORREF BoxColor = RGB(222, 235, 250);
const COLORREF StripColor = RGB(48, 113, 184);
const COLORREF LightSkyBlue = RGB(135, 206, 250);
const COLORREF LinkColor = RGB(0, 0, 255);

// The shell's results up to 32 are errors.
bool ShellOpen(HWND owner, const std::string& target, int show)
{
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, nullptr, target.c_str(), nullptr, nullptr, show));
    return result > 32;
}

// path with the extension of its file name replaced, or added when it has none.
std::string WithExtension(const std::string& path, const char* extension)
{
    size_t name = path.find_last_of("\\/:");
    size_t dot = path.find_last_of('.');
    bool hasExtension = dot != std::string::npos && (name == std::string::npos || dot > name);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

// Spaces written as "%20", as a mail link's subject needs them.
std::string EscapeSpaces(const std::string& text)
{
    std::string escaped;
    for (char c : text) escaped += c == ' ' ? std::string("%20") : std::string(1, c);
    return escaped;
}

}  // namespace

bool TAboutBox::Create()
{
    if (!CreateForm(AboutBoxClass, "About Vantrel", 380, 235, TBorderStyle::Dialog, true, true)) return false;
    SetColor(BoxColor);
    StripPanel.Create(this, AboutBoxId::StripPanel, 0, 0, 97, 235, TBevel::None);
    StripPanel.SetColor(StripColor);
    ProgramImage.Create(&StripPanel, AboutBoxId::ProgramImage, 16, 8, 64, 64);
    ProgramImage.SetBitmap(LoadBitmapResource("ABOUT"));
    CloseButton.Create(&StripPanel, AboutBoxId::CloseButton, "Close", 8, 200, 81, 25);
    CloseButton.SetDefault();
    CloseButton.SetCancel();
    CloseButton.OnClick = [this](TControl*) { OnClose(); };

    LogoPanel.Create(this, AboutBoxId::LogoPanel, 96, 0, 281, 73, TBevel::None);
    LogoPanel.SetColor(LightSkyBlue);
    LogoImage.Create(&LogoPanel, AboutBoxId::LogoImage, 40, 8, 202, 37);
    LogoImage.SetBitmap(LoadBitmapResource("LOGO"));
    VersionLabel.Create(&LogoPanel, AboutBoxId::VersionLabel, VersionText, 0, 50, 281, 13, TAlignment::Center);

    BuildLink(HomePageLink, AboutBoxId::HomePageLink, HomePageAddress, 112);
    BuildLink(SupportMailLink, AboutBoxId::SupportMailLink, SupportMailAddress, 132);
    BuildLink(AuthorsMailLink, AboutBoxId::AuthorsMailLink, AuthorsMailAddress, 152);
    // Fine print, so that the whole credit fits on its one line.
    Notice.Create(this, AboutBoxId::Notice, NoticeText, 102, 208, 274, 12, TAlignment::Left, false);
    Notice.SetFont("Tahoma", -9);
    return true;
}

void TAboutBox::BuildLink(TLabel& label, int id, const std::string& address, int top)
{
    label.Create(this, id, address, 112, top, 250, 13, TAlignment::Left, false);
    label.SetFont("MS Sans Serif", -11, FW_NORMAL, true);
    label.SetFontColor(LinkColor);
    label.SetHandCursor();
    label.OnClick = [this](TControl* sender) { OnOpenLink(sender); };
}

void TAboutBox::OnOpenLink(TControl* sender)
{
    std::string target = sender->Text();
    if (target.find('@') != std::string::npos) target = "mailto:" + target;
    ShellOpen(nullptr, target, SW_SHOW);
}

void TAboutBox::OnClose()
{
    Hide();
}

// A ".hlp" file no longer opens on current Windows, so the same name with
// ".chm" is tried before the file counts as missing.
void ShowHelpFile()
{
    std::string program = ExePath();
    if (ShellOpen(nullptr, WithExtension(program, ".hlp"), SW_SHOWMAXIMIZED)) return;
    if (ShellOpen(nullptr, WithExtension(program, ".chm"), SW_SHOWMAXIMIZED)) return;
    ShowMessage("Help file not found", "Help", MB_OK | MB_ICONWARNING);
}

void OpenHomePage(HWND owner)
{
    ShellOpen(owner, HomePageAddress, SW_SHOW);
}

void OpenSupportMail(HWND owner)
{
    ShellOpen(owner, std::string("mailto:") + SupportMailAddress + "?subject=" + EscapeSpaces(ProductName), SW_SHOW);
}
