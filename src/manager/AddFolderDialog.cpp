#include "AddFolderDialog.h"
#include "ManagerIds.h"

#include <shlobj.h>

TAddFolderDialog* AddFolderDialog = nullptr;

bool TAddFolderDialog::Create()
{
    if (!CreateForm(AddFolderDialogClass, "Add folder", 362, 165, TBorderStyle::Dialog, false, true)) return false;
    PathLabel.Create(this, AddFolderDialogId::PathLabel, "Path:", 8, 8, 60, 13, TAlignment::Left, false);
    PathEdit.Create(this, AddFolderDialogId::PathEdit, "", 8, 24, 265);
    BrowseButton.Create(this, AddFolderDialogId::BrowseButton, "Browse...", 281, 22, 73, 25);
    BrowseButton.OnClick = [this](TControl*) { OnBrowse(); };
    AccessGroup.Create(this, AddFolderDialogId::AccessGroup, "Access:", 8, 52, 346, 72,
                       {"Full access", "Read-only", "Hidden", "No access", "Read-only and Hidden",
                        "Hidden and No access"},
                       2);
    AddButton.Create(this, AddFolderDialogId::AddButton, "Add", 198, 132, 75, 25);
    AddButton.SetDefault();
    AddButton.OnClick = [this](TControl*) { OnAdd(); };
    CancelButton.Create(this, AddFolderDialogId::CancelButton, "Cancel", 279, 132, 75, 25);
    CancelButton.SetCancel();
    CancelButton.OnClick = [this](TControl*) { OnCancel(); };
    return true;
}

bool TAddFolderDialog::QueryNewRule(std::string& path, int& radioIndex)
{
    path.clear();
    radioIndex = 0;
    return Run(path, radioIndex);
}

bool TAddFolderDialog::QueryChangedRule(std::string& path, int& radioIndex)
{
    return Run(path, radioIndex);
}

bool TAddFolderDialog::Run(std::string& path, int& radioIndex)
{
    PathEdit.SetText(path);
    AccessGroup.SetItemIndex(radioIndex);
    if (ShowModal() != mrOk) return false;
    path = PathEdit.Text();
    radioIndex = AccessGroup.ItemIndex();
    return true;
}

void TAddFolderDialog::OnBrowse()
{
    std::string path = BrowseForFolder("Choose folder", BIF_RETURNONLYFSDIRS);
    if (path.empty()) return;
    if (path.size() >= 2 && path.compare(path.size() - 2, 2, ":\\") == 0) path.pop_back();
    PathEdit.SetText(path);
}

void TAddFolderDialog::OnAdd()
{
    SetModalResult(mrOk);
}

void TAddFolderDialog::OnCancel()
{
    SetModalResult(mrCancel);
}

std::string TAddFolderDialog::BrowseForFolder(const std::string& title, UINT flags)
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
