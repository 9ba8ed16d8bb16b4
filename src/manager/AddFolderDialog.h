// TAddFolderDialog, the "Add folder" dialog of the folder rule list: a path,
// typed or picked with the shell's folder picker, and one of six accesses.
#pragma once
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "RadioGroup.h"

#include <string>

class TAddFolderDialog : public TForm {
public:
    bool Create();

    // Empty path, Full access; true when closed with "Add", giving back
    // the path and the radio index.
    bool QueryNewRule(std::string& path, int& radioIndex);
    // The same, starting from the given path and radio index.
    bool QueryChangedRule(std::string& path, int& radioIndex);

    void OnBrowse();
    void OnAdd();
    void OnCancel();
    // The shell's folder picker over the whole namespace; the folder's path,
    // empty when the user cancels.
    std::string BrowseForFolder(const std::string& title, UINT flags);

    TLabel PathLabel;
    TEdit PathEdit;
    TButton BrowseButton;
    TRadioGroup AccessGroup;
    TButton AddButton;
    TButton CancelButton;

private:
    bool Run(std::string& path, int& radioIndex);
};

extern TAddFolderDialog* AddFolderDialog;
