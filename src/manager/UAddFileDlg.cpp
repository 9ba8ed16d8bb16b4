#include "UAddFileDlg.h"

TAddFileDlg* AddFileDlg = nullptr;
