// The folder tab's browsing half: the drive list, the tree read one level
// at a time, and the choice of a well-known folder.
#include "DriveList.h"
#include "FolderPage.h"
#include "FolderScan.h"
#include "Form.h"
#include "ManagerIds.h"
#include "RuntimeEnv.h"

#include <shlobj.h>

int TFolderPage::FillDriveList()
{
    const std::vector<DriveEntry> drives = ReadDriveEntries();
    DriveBox.Clear();
    for (const DriveEntry& drive : drives) DriveBox.Add(drive.Text);
    return FirstFixedDrive(drives);
}

void TFolderPage::RebuildFolderTree()
{
    const std::string entry = DriveBox.Item(DriveBox.ItemIndex());
    const std::string drive = entry.size() > 2 ? entry.substr(2, 2) : std::string();
    if (drive.empty()) return;
    // The rules are expanded once for the whole rebuild.
    FolderRulesChanged();
    FolderTree.BeginUpdate();
    FolderTree.Clear();
    HTREEITEM root = FolderTree.AddChild(nullptr, drive);
    SetNodeAccess(root, FindFolderAccess(drive));
    // The expansion reads the drive's folders, once.
    FolderTree.SetHasChildren(root, true);
    FolderTree.Expand(root);
    FolderTree.SetHasChildren(root, FolderTree.FirstChild(root) != nullptr);
    FolderTree.EndUpdate();
    FolderTree.SetVisible(true);
    FolderTree.SetFocus();
}

void TFolderPage::OnFolderExpanding(TControl*, HTREEITEM node, bool& allowExpansion)
{
    allowExpansion = true;
    if (FolderTree.HasChildren(node)) FillFolderNode(node, NodePath(node));
}

void TFolderPage::OnFolderSelected(TControl*, HTREEITEM)
{
    ShowNodeAccess();
}

void TFolderPage::FillFolderNode(HTREEITEM node, const std::string& path)
{
    const ChildIndex known = IndexChildren(node);
    for (const std::string& name : ListSubfolders(path)) {
        HTREEITEM child = FindChildNode(node, name, known);
        const std::string childPath = path + "\\" + name;
        FolderTree.SetHasChildren(child, HasSubfolders(childPath));
        SetNodeAccess(child, FindFolderAccess(childPath));
    }
}

TFolderPage::ChildIndex TFolderPage::IndexChildren(HTREEITEM node) const
{
    ChildIndex children;
    for (HTREEITEM child = FolderTree.FirstChild(node); child; child = FolderTree.NextSibling(child))
        children.emplace(FolderTree.NodeText(child), child);
    return children;
}

HTREEITEM TFolderPage::FindChildNode(HTREEITEM node, const std::string& name, const ChildIndex& known)
{
    auto found = known.find(name);
    return found != known.end() ? found->second : FolderTree.AddChild(node, name);
}

HTREEITEM TFolderPage::FindChildUpper(HTREEITEM node, const std::string& name) const
{
    for (HTREEITEM child = FolderTree.FirstChild(node); child; child = FolderTree.NextSibling(child))
        if (UpperCase(FolderTree.NodeText(child)) == name) return child;
    return nullptr;
}

std::string TFolderPage::NodePath(HTREEITEM node) const
{
    std::string path = FolderTree.NodeText(node);
    for (HTREEITEM parent = FolderTree.Parent(node); parent; parent = FolderTree.Parent(parent))
        path = FolderTree.NodeText(parent) + "\\" + path;
    return path;
}

void TFolderPage::SetNodeAccess(HTREEITEM node, int imageIndex, bool ownRule)
{
    FolderTree.SetImageIndex(node, imageIndex, imageIndex);
    FolderTree.SetStateIndex(node, ownRule ? OwnRuleMark : 0);
}

void TFolderPage::SetNodeAccess(HTREEITEM node, const FolderAccess& access)
{
    SetNodeAccess(node, access.ImageIndex, access.OwnRule);
}

void TFolderPage::ExpandOnce(HTREEITEM node)
{
    if (!FolderTree.Expanded(node)) FolderTree.Expand(node);
}

void TFolderPage::SelectFolderInTree(const std::string& path)
{
    size_t slash = path.find('\\');
    std::string head = path.substr(0, slash);
    std::string rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    const std::string drivePrefix = "[ " + head;
    for (int i = 0; i < DriveBox.Count(); ++i) {
        if (DriveBox.Item(i).substr(0, 4) != drivePrefix) continue;
        DriveBox.SetItemIndex(i);
        RebuildFolderTree();
    }
    HTREEITEM current = FolderTree.Root();
    if (!current || UpperCase(FolderTree.NodeText(current)) != head) return;
    for (;;) {
        slash = rest.find('\\');
        head = rest.substr(0, slash);
        const bool last = slash == std::string::npos;
        rest = last ? std::string() : rest.substr(slash + 1);
        ExpandOnce(current);
        current = FindChildUpper(current, head);
        if (!current) return;
        if (last) break;
    }
    FolderTree.Select(current);
    FolderTree.SetFocus();
}

void TFolderPage::OnSpecialFolderButton(TControl*)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    TForm* form = TreePanel.Form();
    SpecialFolderMenu.Popup(cursor.x, cursor.y, form ? form->Handle() : TreePanel.Handle());
}

namespace {

// The folder an item of the "Special folder" menu stands for, upper case;
// empty when there is none.
std::string SpecialFolder(int item)
{
    switch (item) {
    case ManagerWindowId::VantrelFolderItem: {
        std::string folder = ExeFolder();
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        return UpperCase(folder);
    }
    case ManagerWindowId::DesktopAllUsersItem: return CommonDesktopDir;
    case ManagerWindowId::DesktopCurrentUserItem: return DesktopDir;
    case ManagerWindowId::ProgramsMenuAllUsersItem: return CommonProgramsDir;
    case ManagerWindowId::ProgramsMenuCurrentUserItem: return ProgramsDir;
    case ManagerWindowId::ProgramFilesItem: return ProgramFilesDir;
    case ManagerWindowId::WindowsFolderItem: return WindowsDir;
    case ManagerWindowId::SystemFolderItem: return SystemDir;
    case ManagerWindowId::StartupFolderItem: {
        char folder[MAX_PATH + 1] = {};
        if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE)) return std::string();
        return UpperCase(folder);
    }
    default: return std::string();
    }
}

}  // namespace

void TFolderPage::OnSpecialFolderChosen(TMenuItem* sender)
{
    const std::string folder = SpecialFolder(sender->Id);
    if (!folder.empty()) SelectFolderInTree(folder);
}
