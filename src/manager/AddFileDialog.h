// TAddFileDialog, the "Add a file" dialog of the file rules: a file name, or a
// file type, typed or browsed (several files at once give several rules),
// and one of three accesses.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "OpenDialog.h"
#include "RadioGroup.h"
#include "UProfiles.h"

#include <string>

class TAddFileDialog : public TForm {
public:
    bool Create();

    // An empty dialog; the modal result.
    int QueryNewRules();
    // The dialog for an existing rule's name and access code; the modal result.
    int QueryChangedRule(const std::string& name, const std::string& code);

    void OnBrowse();
    void OnFileTypeToggled();
    void OnAdd();
    void OnCancel();

    // The entries (access code and name) of the last confirmed "Add".
    TextList AddedFileRules;
    // Browse put several quoted names into the edit box.
    bool MultipleFiles = false;

    TLabel FileNameLabel;
    TEdit FileNameEdit;
    TCheckBox FileTypeCheckBox;
    TButton BrowseButton;
    TRadioGroup AccessGroup;
    TButton AddButton;
    TButton CancelButton;
    TOpenDialog BrowseDialog;
};

extern TAddFileDialog* AddFileDialog;
