// The toggle password dialog of Command20.
#pragma once
#include <windows.h>

// Shows the modal dialog and copies the typed text into buffer, truncated to
// size - 1 characters and NUL-terminated; empty on Cancel. Returns the
// length of the text given back.
DWORD AskTogglePassword(char* buffer, DWORD size);
