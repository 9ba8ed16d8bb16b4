#include "AddFileDialog.h"
#include "AccessKinds.h"
#include "FileNames.h"
#include "FileRules.h"
#include "ManagerIds.h"

TAddFileDialog* AddFileDialog = nullptr;

bool TAddFileDialog::Create()
{
    if (!CreateForm(AddFileDialogClass, "Add a file", 362, 152, TBorderStyle::Dialog, false, true)) return false;
    FileNameLabel.Create(this, AddFileDialogId::FileNameLabel, "Filename:", 8, 8, 60, 13, TAlignment::Left, false);
    FileNameEdit.Create(this, AddFileDialogId::FileNameEdit, "", 8, 24, 265);
    // Several chosen files make a long text.
    FileNameEdit.SetMaxLength(0);
    BrowseButton.Create(this, AddFileDialogId::BrowseButton, "Browse...", 281, 22, 73, 25);
    BrowseButton.OnClick = [this](TControl*) { OnBrowse(); };
    FileTypeCheckBox.Create(this, AddFileDialogId::FileTypeCheckBox, "All files of the given type", 8, 50, 200, 17);
    FileTypeCheckBox.OnClick = [this](TControl*) { OnFileTypeToggled(); };
    AccessGroup.Create(this, AddFileDialogId::AccessGroup, "Access:", 8, 70, 346, 42,
                       {"Full access", "Read-only access", "Access denied"}, 3);
    AddButton.Create(this, AddFileDialogId::AddButton, "Add", 198, 120, 75, 25);
    AddButton.SetDefault();
    AddButton.OnClick = [this](TControl*) { OnAdd(); };
    CancelButton.Create(this, AddFileDialogId::CancelButton, "Cancel", 279, 120, 75, 25);
    CancelButton.SetCancel();
    CancelButton.OnClick = [this](TControl*) { OnCancel(); };
    BrowseDialog.Filter = "All files (*.*)|*.*";
    BrowseDialog.MultiSelect = true;
    BrowseDialog.HideReadOnly = true;
    return true;
}

int TAddFileDialog::QueryNewRules()
{
    MultipleFiles = false;
    FileNameEdit.SetText("");
    FileTypeCheckBox.SetChecked(false);
    AccessGroup.SetItemIndex(0);
    return ShowModal();
}

int TAddFileDialog::QueryChangedRule(const std::string& name, const std::string& code)
{
    MultipleFiles = false;
    FileNameEdit.SetText(name);
    const int radio = FileRadioIndex(code);
    if (radio >= 0) AccessGroup.SetItemIndex(radio);
    FileTypeCheckBox.SetChecked(!name.empty() && name[0] == '.');
    return ShowModal();
}

void TAddFileDialog::OnBrowse()
{
    if (!BrowseDialog.Execute(handle_)) return;
    const BrowsedFiles browsed = BrowsedFileText(BrowseDialog.Files(), FileTypeCheckBox.Checked());
    if (browsed.Multiple) FileTypeCheckBox.SetChecked(false);
    FileNameEdit.SetText(browsed.Text);
    MultipleFiles = browsed.Multiple;
}

void TAddFileDialog::OnFileTypeToggled()
{
    if (MultipleFiles) {
        FileTypeCheckBox.SetChecked(false);
        return;
    }
    if (FileTypeCheckBox.Checked()) FileNameEdit.SetText(TextFromLastDot(FileNameEdit.Text()));
}

void TAddFileDialog::OnAdd()
{
    const std::string text = FileNameEdit.Text();
    if (text.empty()) {
        MessageBoxA(handle_, "Specify the filename or file type, which you wish to protect.", "Warning",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AddedFileRules = AddedFileRuleEntries(text, AccessGroup.ItemIndex());
    SetModalResult(mrOk);
}

void TAddFileDialog::OnCancel()
{
    SetModalResult(mrCancel);
}
