// The "Disabled programs" tab: the programs the user may not start while
// protection is on, each named with what its version information says of it.
#pragma once
#include "Button.h"
#include "Label.h"
#include "ListPage.h"
#include "OpenDialog.h"

class TProgramsPage : public TListPage {
public:
    TProgramsPage();

    void OnAddProgram(TControl* sender);  // "Add program"
    void OnDeleteProgram(TControl* sender);  // "Delete from list"
    void OnProgramListKey(TControl* sender, WORD& key, unsigned shift);
    // ProgramList refilled from the profile's disabled programs.
    void ShowPrograms();

    TPanel ProgramsPanel;
    TButton AddProgramButton;
    TButton DeleteProgramButton;
    TLabel ProgramsLabel;
    TListBox ProgramList;
    TPanel ProgramsHelpPanel;
    TStaticText ProgramsHelpBox;
    TOpenDialog OpenProgramDialog;

protected:
    void CreateContents(int width, int height) override;
};
