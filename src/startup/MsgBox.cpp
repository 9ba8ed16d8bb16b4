#include "MsgBox.h"
#include "RuntimeEnv.h"

namespace {

int ShowMessageBox(const std::string& text, const char* caption, UINT flags)
{
    return MessageBoxA(nullptr, text.c_str(), caption, flags);
}

MessageOutput CurrentOutput = ShowMessageBox;

}  // namespace

int ShowMessage(const std::string& text, const char* caption, UINT flags)
{
    return CurrentOutput(text, caption, flags);
}

void SetMessageOutput(MessageOutput output)
{
    CurrentOutput = output ? output : ShowMessageBox;
}

void ShowSystemError(const std::string& prefix)
{
    ShowSystemError(prefix, GetLastError());
}

void ShowSystemError(const std::string& prefix, DWORD code)
{
    ShowMessage(prefix + SystemErrorText(code), nullptr, MB_OK | MB_ICONERROR);
}
