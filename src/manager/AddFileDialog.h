// TAddFileDlg, the "Add a file" dialog of the file rules: a file name, or a
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

class TAddFileDlg : public TForm {
public:
    bool Create();

    // An empty dialog; the modal result.
    int AddFileDialog();
    // The dialog for an existing rule's name and access code; the modal result.
    int EditFileDialog(const std::string& name, const std::string& code);

    void FormCreate();
    void Button1Click(TControl* sender);  // "Browse..."
    void CheckBox1Click(TControl* sender);
    void Button2Click(TControl* sender);  // "Add"
    void Button3Click(TControl* sender);  // "Cancel"

    // The entries (access code and name) of the last confirmed "Add".
    TextList AddedFileRules;
    // Browse put several quoted names into the edit box.
    bool MultipleFiles = false;

    TLabel Label1;
    TEdit Edit1;
    TCheckBox CheckBox1;
    TButton Button1;
    TRadioGroup RadioGroup1;
    TButton Button2;
    TButton Button3;
    TOpenDialog OpenDialog1;
};

extern TAddFileDlg* AddFileDlg;
