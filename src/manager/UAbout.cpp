#include "UAbout.h"

TFAbout* FAbout = nullptr;

void ShowHelpFile() {}
void OpenHomePage(HWND) {}
void OpenSupportMail(HWND) {}
