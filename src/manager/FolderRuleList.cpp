// The folder tab's rule list: one line per folder rule, the "Add folder"
// dialog behind its buttons and keys, and the view that lets it fill the tab.
#include "AddFolderDialog.h"
#include "FolderPage.h"
#include "FolderRules.h"
#include "UProfiles.h"

void TFolderPage::AddFolderRule(const std::string& path, bool readOnly, bool hidden, bool noAccess)
{
    AccessFlags flags;
    flags.ReadOnly = readOnly;
    flags.Hidden = hidden;
    flags.NoAccess = noAccess;
    SetFolderRule(path, flags);
    ShowFolderRules();
}

void TFolderPage::DeleteFolderRule(const std::string& path)
{
    RemoveFolderRule(path);
    ShowFolderRules();
}

void TFolderPage::ShowFolderRules()
{
    TextList lines;
    lines.reserve(Profile.Folders.size());
    for (const std::string& entry : Profile.Folders) lines.push_back(FolderRuleLine(entry));
    ListBox1.SetLines(lines);
}

void TFolderPage::RuleListEdited()
{
    ProfileEdited();
    ShowFolderRules();
    if (!RuleListEnlarged) ComboBox1Change(&ComboBox1);
}

void TFolderPage::SpeedButton9Click(TControl*)
{
    std::string path;
    int radio = 0;
    if (!AddFolderDialog->QueryNewRule(path, radio)) return;
    SetFolderRule(path, FolderRadioFlags(radio));
    RuleListEdited();
}

void TFolderPage::SpeedButton11Click(TControl*)
{
    const int line = ListBox1.ItemIndex();
    if (line < 0) return;
    RemoveFolderRuleAt(static_cast<size_t>(line));
    RuleListEdited();
}

void TFolderPage::SpeedButton10Click(TControl*)
{
    const int line = ListBox1.ItemIndex();
    if (line < 0 || static_cast<size_t>(line) >= Profile.Folders.size()) return;
    const std::string entry = Profile.Folders[static_cast<size_t>(line)];
    const std::string oldPath = EntryText(entry);
    std::string path = oldPath;
    int radio = FolderRadioIndex(EntryCode(entry));
    if (!AddFolderDialog->QueryChangedRule(path, radio)) return;
    RemoveFolderRule(oldPath);
    SetFolderRule(path, FolderRadioFlags(radio));
    RuleListEdited();
}

void TFolderPage::SpeedButton12Click(TControl*)
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int height = client.bottom - HelpPanelHeight;
    RuleListEnlarged = !RuleListEnlarged;
    Panel1.SetVisible(!RuleListEnlarged);
    Panel2.SetVisible(!RuleListEnlarged);
    if (RuleListEnlarged) {
        GroupBox1.SetBounds(0, 0, client.right, height);
        GroupBox1.SetAnchors(akLeft | akTop | akRight | akBottom);
    } else {
        GroupBox1.SetBounds(0, height - RuleGroupHeight, client.right, RuleGroupHeight);
        GroupBox1.SetAnchors(akLeft | akRight | akBottom);
    }
}

void TFolderPage::ListBox1KeyDown(TControl*, WORD& key, unsigned)
{
    HandleListKey(ListBox1, key,
                  {[this] { SpeedButton11Click(&SpeedButton10); }, [this] { SpeedButton9Click(&SpeedButton9); },
                   [this] { SpeedButton10Click(&SpeedButton11); }});
}
