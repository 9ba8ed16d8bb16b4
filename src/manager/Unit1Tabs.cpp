// TForm1's four editing tabs: built on their sheets, told how to mark the
// profile as changed, and set up when the window is first shown.
#include "DataFiles.h"
#include "UProfiles.h"
#include "Unit1.h"

void TForm1::CreateEditingPages()
{
    FolderPage.Create(TabSheet1);
    FilePage.Create(TabSheet2);
    RestrictionsPage.Create(TabSheet4);
    ProgramsPage.Create(TabSheet5);
    for (TEditingPage* page : {static_cast<TEditingPage*>(&FolderPage), static_cast<TEditingPage*>(&FilePage),
                               static_cast<TEditingPage*>(&RestrictionsPage), static_cast<TEditingPage*>(&ProgramsPage)})
        page->OnProfileEdited = [this] { ProfileChanged = true; };
}

void TForm1::InitProfilePages()
{
    // Without the pictures the tree shows no images and no marks.
    if (LoadFolderImages(ImageList1)) FolderPage.SetImages(&ImageList1);
    CreateProfileLists();
    GrayAllPolicies(RestrictionsPage.Policies());
}

int TForm1::FillDriveList()
{
    return FolderPage.FillDriveList();
}

void TForm1::ComboBox1Change(TControl* sender)
{
    FolderPage.ComboBox1Change(sender);
}
