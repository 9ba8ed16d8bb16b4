// The command library's functions as the system uses them: booleans read
// from the low byte of the result.
#pragma once
#include <windows.h>
#include <string>
#include "vrcmd.h"

inline bool LibBool(DWORD result) { return (result & 0xFF) != 0; }
