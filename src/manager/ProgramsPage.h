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

    void Button13Click(TControl* sender);  // "Add program"
    void Button14Click(TControl* sender);  // "Delete from list"
    void ListBox3KeyDown(TControl* sender, WORD& key, unsigned shift);
    // ListBox3 refilled from the profile's disabled programs.
    void ShowPrograms();

    TPanel Panel4;
    TButton Button13;
    TButton Button14;
    TLabel ProgramsLabel;
    TListBox ListBox3;
    TPanel Panel12;
    TStaticText StaticText4;
    TOpenDialog OpenDialog1;

protected:
    void CreateContents(int width, int height) override;
};
