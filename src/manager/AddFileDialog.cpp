#include "AddFileDialog.h"
#include "AccessKinds.h"
#include "FileNames.h"
#include "FileRules.h"
#include "ManagerIds.h"

TAddFileDlg* AddFileDlg = nullptr;

bool TAddFileDlg::Create()
{
    if (!CreateForm("TAddFileDlg", "Add a file", 362, 152, TBorderStyle::Dialog, false, true)) return false;
    Label1.Create(this, AddFileDlgId::Label1, "Filename:", 8, 8, 60, 13, TAlignment::Left, false);
    Edit1.Create(this, AddFileDlgId::Edit1, "", 8, 24, 265);
    // Several chosen files make a long text.
    Edit1.SetMaxLength(0);
    Button1.Create(this, AddFileDlgId::Button1, "Browse...", 281, 22, 73, 25);
    Button1.OnClick = [this](TControl* sender) { Button1Click(sender); };
    CheckBox1.Create(this, AddFileDlgId::CheckBox1, "All files of the given type", 8, 50, 200, 17);
    CheckBox1.OnClick = [this](TControl* sender) { CheckBox1Click(sender); };
    RadioGroup1.Create(this, AddFileDlgId::RadioGroup1, "Access:", 8, 70, 346, 42,
                       {"Full access", "Read-only access", "Access denied"}, 3);
    Button2.Create(this, AddFileDlgId::Button2, "Add", 198, 120, 75, 25);
    Button2.SetDefault();
    Button2.OnClick = [this](TControl* sender) { Button2Click(sender); };
    Button3.Create(this, AddFileDlgId::Button3, "Cancel", 279, 120, 75, 25);
    Button3.SetCancel();
    Button3.OnClick = [this](TControl* sender) { Button3Click(sender); };
    OpenDialog1.Filter = "All files (*.*)|*.*";
    OpenDialog1.MultiSelect = true;
    OpenDialog1.HideReadOnly = true;
    FormCreate();
    return true;
}

void TAddFileDlg::FormCreate()
{
    AddedFileRules.clear();
}

int TAddFileDlg::AddFileDialog()
{
    MultipleFiles = false;
    Edit1.SetText("");
    CheckBox1.SetChecked(false);
    RadioGroup1.SetItemIndex(0);
    return ShowModal();
}

int TAddFileDlg::EditFileDialog(const std::string& name, const std::string& code)
{
    MultipleFiles = false;
    Edit1.SetText(name);
    const int radio = FileRadioIndex(code);
    if (radio >= 0) RadioGroup1.SetItemIndex(radio);
    CheckBox1.SetChecked(!name.empty() && name[0] == '.');
    return ShowModal();
}

void TAddFileDlg::Button1Click(TControl*)
{
    if (!OpenDialog1.Execute(handle_)) return;
    const BrowsedFiles browsed = BrowsedFileText(OpenDialog1.Files(), CheckBox1.Checked());
    if (browsed.Multiple) CheckBox1.SetChecked(false);
    Edit1.SetText(browsed.Text);
    MultipleFiles = browsed.Multiple;
}

void TAddFileDlg::CheckBox1Click(TControl*)
{
    if (MultipleFiles) {
        CheckBox1.SetChecked(false);
        return;
    }
    if (CheckBox1.Checked()) Edit1.SetText(TextFromLastDot(Edit1.Text()));
}

void TAddFileDlg::Button2Click(TControl*)
{
    const std::string text = Edit1.Text();
    if (text.empty()) {
        MessageBoxA(handle_, "Specify the filename or file type, which you wish to protect.", "Warning",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AddedFileRules = AddedFileRuleEntries(text, RadioGroup1.ItemIndex());
    SetModalResult(mrOk);
}

void TAddFileDlg::Button3Click(TControl*)
{
    SetModalResult(mrCancel);
}
