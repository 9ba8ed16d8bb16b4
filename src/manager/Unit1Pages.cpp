// The places in TForm1 of the editing tabs and of the profile commands.
// Until their own work fills them, each does the least.
#include "Unit1.h"

void TForm1::SetUpProfilePages()
{
    InitProfilePages();
    FolderPage.SpeedButton13.SetGlyph(&ImageList1, 0);
    FolderPage.ComboBox1.SetItemIndex(FillDriveList());
    ComboBox1Change(nullptr);
}
