#include "MsgBox.h"
#include "RuntimeEnv.h"

int ShowMessage(const std::string& text, const char* caption, UINT flags)
{
    return MessageBoxA(nullptr, text.c_str(), caption, flags);
}

void ShowSystemError(const std::string& prefix)
{
    ShowSystemError(prefix, GetLastError());
}

void ShowSystemError(const std::string& prefix, DWORD code)
{
    ShowMessage(prefix + SystemErrorText(code), nullptr, MB_OK | MB_ICONERROR);
}
