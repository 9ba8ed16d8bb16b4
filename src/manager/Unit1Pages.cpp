// The places in TForm1 of the editing tabs and of the profile commands.
// Until their own work fills them, each does the least.
#include "DataFiles.h"
#include "UProfiles.h"
#include "Unit1.h"

void TForm1::SetUpProfilePages()
{
    InitProfilePages();
    FillDriveList();
    ComboBox1Change(nullptr);
}

void TForm1::InitProfilePages()
{
    LoadFolderImages(ImageList1);
    CreateProfileLists();
}

int TForm1::FillDriveList()
{
    return 0;
}

void TForm1::ComboBox1Change(TControl*) {}
void TForm1::RefreshProfilePages() {}
void TForm1::Newprofile1Click() {}
void TForm1::Openprofile1Click() {}
void TForm1::Saveprofile1Click() {}
void TForm1::Saveprofileasdefault1Click() {}
void TForm1::BuildProfileTemplate() {}
