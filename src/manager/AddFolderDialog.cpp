#include "AddFolderDialog.h"
#include "ManagerIds.h"

#include <shlobj.h>

TFAddFolder* FAddFolder = nullptr;

bool TFAddFolder::Create()
{
    if (!CreateForm("TFAddFolder", "Add folder", 362, 165, TBorderStyle::Dialog, false, true)) return false;
    Label1.Create(this, AddFolderId::Label1, "Path:", 8, 8, 60, 13, TAlignment::Left, false);
    Edit1.Create(this, AddFolderId::Edit1, "", 8, 24, 265);
    Button1.Create(this, AddFolderId::Button1, "Browse...", 281, 22, 73, 25);
    Button1.OnClick = [this](TControl* sender) { Button1Click(sender); };
    RadioGroup1.Create(this, AddFolderId::RadioGroup1, "Access:", 8, 52, 346, 72,
                       {"Full access", "Read-only", "Hidden", "No access", "Read-only and Hidden",
                        "Hidden and No access"},
                       2);
    Button2.Create(this, AddFolderId::Button2, "Add", 198, 132, 75, 25);
    Button2.SetDefault();
    Button2.OnClick = [this](TControl* sender) { Button2Click(sender); };
    Button3.Create(this, AddFolderId::Button3, "Cancel", 279, 132, 75, 25);
    Button3.SetCancel();
    Button3.OnClick = [this](TControl* sender) { Button3Click(sender); };
    return true;
}

bool TFAddFolder::AddFolderDialog(std::string& path, int& radioIndex)
{
    path.clear();
    radioIndex = 0;
    return Run(path, radioIndex);
}

bool TFAddFolder::ChangeFolderDialog(std::string& path, int& radioIndex)
{
    return Run(path, radioIndex);
}

bool TFAddFolder::Run(std::string& path, int& radioIndex)
{
    Edit1.SetText(path);
    RadioGroup1.SetItemIndex(radioIndex);
    if (ShowModal() != mrOk) return false;
    path = Edit1.Text();
    radioIndex = RadioGroup1.ItemIndex();
    return true;
}

void TFAddFolder::Button1Click(TControl*)
{
    std::string path = BrowseForFolder("Choose folder", BIF_RETURNONLYFSDIRS);
    if (path.empty()) return;
    if (path.size() >= 2 && path.compare(path.size() - 2, 2, ":\\") == 0) path.pop_back();
    Edit1.SetText(path);
}

void TFAddFolder::Button2Click(TControl*)
{
    SetModalResult(mrOk);
}

void TFAddFolder::Button3Click(TControl*)
{
    SetModalResult(mrCancel);
}

std::string TFAddFolder::BrowseForFolder(const std::string& title, UINT flags)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char name[MAX_PATH + 1] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = handle_;
    info.pszDisplayName = name;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    std::string path;
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&info)) {
        char folder[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListA(chosen, folder)) path = folder;
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return path;
}
