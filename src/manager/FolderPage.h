// The "Folder protection" tab: the drive list and the folder tree that
// shows each folder with the access the profile's folder rules give it, the
// "Special folder" menu, the four access buttons that give the selected
// folder a rule, and the rule list with its dialog. The tab's handlers are
// split by concern: FolderTree.cpp, FolderButtons.cpp, FolderRuleList.cpp.
#pragma once
#include "ComboBox.h"
#include "EditingPage.h"
#include "FolderAccess.h"
#include "GroupBox.h"
#include "Label.h"
#include "ListBox.h"
#include "PopupMenu.h"
#include "SpeedButton.h"
#include "TreeView.h"

#include <string>
#include <unordered_map>

// The tree's image of the own-rule mark, shown as a state image.
constexpr int OwnRuleMark = 6;
// The rule group's height while docked at the foot of the tab.
constexpr int RuleGroupHeight = 89;

class TFolderPage : public TEditingPage {
public:
    void Create(TTabSheet& sheet);
    // FolderImages of the window: the six access images and the own-rule mark.
    void SetImages(const TImageList* images);

    // The drive list and the tree.
    int FillDriveList();
    // The tree built anew for the drive chosen in the drive list.
    void RebuildFolderTree();
    void OnDriveChosen() { RebuildFolderTree(); }
    void OnFolderExpanding(TControl* sender, HTREEITEM node, bool& allowExpansion);
    void OnFolderSelected(TControl* sender, HTREEITEM node);
    void FillFolderNode(HTREEITEM node, const std::string& path);
    std::string NodePath(HTREEITEM node) const;
    void SetNodeAccess(HTREEITEM node, int imageIndex, bool ownRule);
    void SetNodeAccess(HTREEITEM node, const FolderAccess& access);
    void SelectFolderInTree(const std::string& path);
    void OnSpecialFolderButton(TControl* sender);
    void OnSpecialFolderChosen(TMenuItem* sender);

    // The access buttons.
    void OnAccessButton(TControl* sender);
    void ShowNodeAccess();
    bool ConfirmRestriction(const std::string& path, bool noAccess, bool hidden);
    void PropagateAccess(HTREEITEM node, int imageIndex);

    // The rule list.
    void AddFolderRule(const std::string& path, bool readOnly, bool hidden, bool noAccess);
    void DeleteFolderRule(const std::string& path);
    void ShowFolderRules();
    void OnAddRule(TControl* sender);
    void OnDeleteRule(TControl* sender);
    void OnChangeRule(TControl* sender);
    void OnEnlargeRuleList(TControl* sender);
    void OnRuleListKey(TControl* sender, WORD& key, unsigned shift);
    bool RuleListEnlarged = false;

    TPanel AccessPanel;
    TSpeedButton ReadOnlyButton;  // "Read Only"
    TSpeedButton HiddenButton;  // "Hidden"
    TSpeedButton NoAccessButton;  // "No Access"
    TSpeedButton FullAccessButton;  // "Full access"
    TPanel TreePanel;
    TLabel DriveLabel;
    TComboBox DriveBox;
    TSpeedButton SpecialFolderButton;  // "Special folder"
    TTreeView FolderTree;
    TGroupBox RuleGroup;
    TListBox FolderRuleList;
    TSpeedButton AddRuleButton;   // "Add rule"
    TSpeedButton DeleteRuleButton;  // "Delete rule"
    TSpeedButton ChangeRuleButton;  // "Change rule"
    TSpeedButton EnlargeButton;  // enlarge or restore
    TPanel FolderHelpPanel;
    TStaticText FolderHelpBox;
    TPopupMenu SpecialFolderMenu;

private:
    // The children a node has so far, by their exact texts.
    using ChildIndex = std::unordered_map<std::string, HTREEITEM>;
    ChildIndex IndexChildren(HTREEITEM node) const;
    HTREEITEM FindChildNode(HTREEITEM node, const std::string& name, const ChildIndex& known);
    // The first child whose upper-cased text is name; null for none.
    HTREEITEM FindChildUpper(HTREEITEM node, const std::string& name) const;
    void ExpandOnce(HTREEITEM node);
    void CreateAccessButtons();
    void CreateTreePanel();
    void CreateRuleGroup();
    void CreateSpecialFolderMenu();
    void ShowCaptionColours();
    // The tree rebuilt for the drive, unless the rule list fills the tab.
    void RuleListEdited();

    TTabSheet* sheet_ = nullptr;
};
