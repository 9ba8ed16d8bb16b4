// TAddFileDlg, the "Add a file" dialog of the file rules. For now only its
// window; the file rules' work gives it its controls.
#pragma once
#include "Form.h"

class TAddFileDlg : public TForm {
public:
    bool Create() { return CreateForm("TAddFileDlg", "Add a file", 362, 152, TBorderStyle::Dialog, false, true); }
};

extern TAddFileDlg* AddFileDlg;
