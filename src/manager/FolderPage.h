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
    // ImageList1 of the window: the six access images and the own-rule mark.
    void SetImages(const TImageList* images);

    // The drive list and the tree.
    int FillDriveList();
    void ComboBox1Change(TControl* sender);
    void TreeView1Expanding(TControl* sender, HTREEITEM node, bool& allowExpansion);
    void TreeView1Change(TControl* sender, HTREEITEM node);
    void FillFolderNode(HTREEITEM node, const std::string& path);
    std::string NodePath(HTREEITEM node) const;
    void SetNodeAccess(HTREEITEM node, int imageIndex, bool ownRule);
    void SetNodeAccess(HTREEITEM node, const FolderAccess& access);
    void SelectFolderInTree(const std::string& path);
    void Button5Click(TControl* sender);
    void Startupdirectorycurrentuser1Click(TMenuItem* sender);

    // The access buttons.
    void SpeedButton1Click(TControl* sender);
    void ShowNodeAccess();
    bool ConfirmRestriction(const std::string& path, bool noAccess, bool hidden);
    void PropagateAccess(HTREEITEM node, int imageIndex);

    // The rule list.
    void AddFolderRule(const std::string& path, bool readOnly, bool hidden, bool noAccess);
    void DeleteFolderRule(const std::string& path);
    void ShowFolderRules();
    void SpeedButton9Click(TControl* sender);
    void SpeedButton10Click(TControl* sender);
    void SpeedButton11Click(TControl* sender);
    void SpeedButton12Click(TControl* sender);
    void ListBox1KeyDown(TControl* sender, WORD& key, unsigned shift);
    bool RuleListEnlarged = false;

    TPanel Panel1;
    TSpeedButton SpeedButton1;  // "Read Only"
    TSpeedButton SpeedButton2;  // "Hidden"
    TSpeedButton SpeedButton3;  // "No Access"
    TSpeedButton SpeedButton4;  // "Full access"
    TPanel Panel2;
    TLabel DriveLabel;
    TComboBox ComboBox1;
    TSpeedButton SpeedButton13;  // "Special folder"
    TTreeView TreeView1;
    TGroupBox GroupBox1;
    TListBox ListBox1;
    TSpeedButton SpeedButton9;   // "Add rule"
    TSpeedButton SpeedButton10;  // "Delete rule"
    TSpeedButton SpeedButton11;  // "Change rule"
    TSpeedButton SpeedButton12;  // enlarge or restore
    TPanel Panel9;
    TStaticText StaticText1;
    TPopupMenu PopupMenu1;

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
