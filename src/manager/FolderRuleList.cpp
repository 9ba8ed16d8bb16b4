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
    FolderRuleList.SetLines(lines);
}

void TFolderPage::RuleListEdited()
{
    ProfileEdited();
    ShowFolderRules();
    if (!RuleListEnlarged) RebuildFolderTree();
}

void TFolderPage::OnAddRule(TControl*)
{
    std::string path;
    int radio = 0;
    if (!AddFolderDialog->QueryNewRule(path, radio)) return;
    SetFolderRule(path, FolderRadioFlags(radio));
    RuleListEdited();
}

void TFolderPage::OnChangeRule(TControl*)
{
    const int line = FolderRuleList.ItemIndex();
    if (line < 0) return;
    RemoveFolderRuleAt(static_cast<size_t>(line));
    RuleListEdited();
}

void TFolderPage::OnDeleteRule(TControl*)
{
    const int line = FolderRuleList.ItemIndex();
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

void TFolderPage::OnEnlargeRuleList(TControl*)
{
    RECT client = {};
    GetClientRect(sheet_->Handle(), &client);
    const int height = client.bottom - HelpPanelHeight;
    RuleListEnlarged = !RuleListEnlarged;
    AccessPanel.SetVisible(!RuleListEnlarged);
    TreePanel.SetVisible(!RuleListEnlarged);
    if (RuleListEnlarged) {
        RuleGroup.SetBounds(0, 0, client.right, height);
        RuleGroup.SetAnchors(akLeft | akTop | akRight | akBottom);
    } else {
        RuleGroup.SetBounds(0, height - RuleGroupHeight, client.right, RuleGroupHeight);
        RuleGroup.SetAnchors(akLeft | akRight | akBottom);
    }
}

void TFolderPage::OnRuleListKey(TControl*, WORD& key, unsigned)
{
    HandleListKey(FolderRuleList, key,
                  {[this] { OnChangeRule(&DeleteRuleButton); }, [this] { OnAddRule(&AddRuleButton); },
                   [this] { OnDeleteRule(&ChangeRuleButton); }});
}
