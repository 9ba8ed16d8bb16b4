// TFAddFolder, the "Add folder" dialog of the folder rules. For now only its
// window; the folder rules' work gives it its controls.
#pragma once
#include "Form.h"

class TFAddFolder : public TForm {
public:
    bool Create() { return CreateForm("TFAddFolder", "Add folder", 362, 165, TBorderStyle::Dialog, false, true); }
};

extern TFAddFolder* FAddFolder;
