// Every message box of the system: no owner window; the caption is the
// system's default ("Error") when none is given.
#pragma once
#include <windows.h>
#include <string>

int ShowMessage(const std::string& text, const char* caption, UINT flags);

// Where ShowMessage sends its texts: a message box unless a console program
// has put a routine of its own in place (which returns the answer).
using MessageOutput = int (*)(const std::string& text, const char* caption, UINT flags);
void SetMessageOutput(MessageOutput output);

// prefix followed by the system's text for the error code, default caption,
// error icon. The one-argument form reads the thread's last error first.
void ShowSystemError(const std::string& prefix);
void ShowSystemError(const std::string& prefix, DWORD code);
