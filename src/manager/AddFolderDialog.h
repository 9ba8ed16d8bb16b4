// TFAddFolder, the "Add folder" dialog of the folder rule list: a path,
// typed or picked with the shell's folder picker, and one of six accesses.
#pragma once
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "RadioGroup.h"

#include <string>

class TFAddFolder : public TForm {
public:
    bool Create();

    // Empty path, Full access; true when closed with "Add", giving back
    // the path and the radio index.
    bool AddFolderDialog(std::string& path, int& radioIndex);
    // The same, starting from the given path and radio index.
    bool ChangeFolderDialog(std::string& path, int& radioIndex);

    void Button1Click(TControl* sender);  // "Browse..."
    void Button2Click(TControl* sender);  // "Add"
    void Button3Click(TControl* sender);  // "Cancel"
    // The shell's folder picker over the whole namespace; the folder's path,
    // empty when the user cancels.
    std::string BrowseForFolder(const std::string& title, UINT flags);

    TLabel Label1;
    TEdit Edit1;
    TButton Button1;
    TRadioGroup RadioGroup1;
    TButton Button2;
    TButton Button3;

private:
    bool Run(std::string& path, int& radioIndex);
};

extern TFAddFolder* FAddFolder;
