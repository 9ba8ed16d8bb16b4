// Resource ids of the toggle password dialog, shared by vrcmd.rc and the code.
#pragma once
#define IDD_TOGGLE_PASSWORD 100
#define IDC_PASSWORD_EDIT 101
// The prompt has the id message boxes give their text, so tools read both alike.
#define IDC_PROMPT 0xFFFF
