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
    ComboBox1.Clear();
    for (const DriveEntry& drive : drives) ComboBox1.Add(drive.Text);
    return FirstFixedDrive(drives);
}

void TFolderPage::ComboBox1Change(TControl*)
{
    const std::string entry = ComboBox1.Item(ComboBox1.ItemIndex());
    const std::string drive = entry.size() > 2 ? entry.substr(2, 2) : std::string();
    if (drive.empty()) return;
    // The rules are expanded once for the whole rebuild.
    FolderRulesChanged();
    TreeView1.BeginUpdate();
    TreeView1.Clear();
    HTREEITEM root = TreeView1.AddChild(nullptr, drive);
    SetNodeAccess(root, FindFolderAccess(drive));
    // The expansion reads the drive's folders, once.
    TreeView1.SetHasChildren(root, true);
    TreeView1.Expand(root);
    TreeView1.SetHasChildren(root, TreeView1.FirstChild(root) != nullptr);
    TreeView1.EndUpdate();
    TreeView1.SetVisible(true);
    TreeView1.SetFocus();
}

void TFolderPage::TreeView1Expanding(TControl*, HTREEITEM node, bool& allowExpansion)
{
    allowExpansion = true;
    if (TreeView1.HasChildren(node)) FillFolderNode(node, NodePath(node));
}

void TFolderPage::TreeView1Change(TControl*, HTREEITEM)
{
    ShowNodeAccess();
}

void TFolderPage::FillFolderNode(HTREEITEM node, const std::string& path)
{
    const ChildIndex known = IndexChildren(node);
    for (const std::string& name : ListSubfolders(path)) {
        HTREEITEM child = FindChildNode(node, name, known);
        const std::string childPath = path + "\\" + name;
        TreeView1.SetHasChildren(child, HasSubfolders(childPath));
        SetNodeAccess(child, FindFolderAccess(childPath));
    }
}

TFolderPage::ChildIndex TFolderPage::IndexChildren(HTREEITEM node) const
{
    ChildIndex children;
    for (HTREEITEM child = TreeView1.FirstChild(node); child; child = TreeView1.NextSibling(child))
        children.emplace(TreeView1.NodeText(child), child);
    return children;
}

HTREEITEM TFolderPage::FindChildNode(HTREEITEM node, const std::string& name, const ChildIndex& known)
{
    auto found = known.find(name);
    return found != known.end() ? found->second : TreeView1.AddChild(node, name);
}

HTREEITEM TFolderPage::FindChildUpper(HTREEITEM node, const std::string& name) const
{
    for (HTREEITEM child = TreeView1.FirstChild(node); child; child = TreeView1.NextSibling(child))
        if (UpperCase(TreeView1.NodeText(child)) == name) return child;
    return nullptr;
}

std::string TFolderPage::NodePath(HTREEITEM node) const
{
    std::string path = TreeView1.NodeText(node);
    for (HTREEITEM parent = TreeView1.Parent(node); parent; parent = TreeView1.Parent(parent))
        path = TreeView1.NodeText(parent) + "\\" + path;
    return path;
}

void TFolderPage::SetNodeAccess(HTREEITEM node, int imageIndex, bool ownRule)
{
    TreeView1.SetImageIndex(node, imageIndex, imageIndex);
    TreeView1.SetStateIndex(node, ownRule ? OwnRuleMark : 0);
}

void TFolderPage::SetNodeAccess(HTREEITEM node, const FolderAccess& access)
{
    SetNodeAccess(node, access.ImageIndex, access.OwnRule);
}

void TFolderPage::ExpandOnce(HTREEITEM node)
{
    if (!TreeView1.Expanded(node)) TreeView1.Expand(node);
}

void TFolderPage::SelectFolderInTree(const std::string& path)
{
    size_t slash = path.find('\\');
    std::string head = path.substr(0, slash);
    std::string rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    const std::string drivePrefix = "[ " + head;
    for (int i = 0; i < ComboBox1.Count(); ++i) {
        if (ComboBox1.Item(i).substr(0, 4) != drivePrefix) continue;
        ComboBox1.SetItemIndex(i);
        ComboBox1Change(&ComboBox1);
    }
    HTREEITEM current = TreeView1.Root();
    if (!current || UpperCase(TreeView1.NodeText(current)) != head) return;
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
    TreeView1.Select(current);
    TreeView1.SetFocus();
}

void TFolderPage::Button5Click(TControl*)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    TForm* form = Panel2.Form();
    PopupMenu1.Popup(cursor.x, cursor.y, form ? form->Handle() : Panel2.Handle());
}

namespace {

// The folder an item of the "Special folder" menu stands for, upper case;
// empty when there is none.
std::string SpecialFolder(int item)
{
    switch (item) {
    case Form1Id::Vantrelfolder1: {
        std::string folder = ExeFolder();
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        return UpperCase(folder);
    }
    case Form1Id::Desktopallusers1: return CommonDesktopDir;
    case Form1Id::Desktopcurrentuser1: return DesktopDir;
    case Form1Id::Programsmenuallusers1: return CommonProgramsDir;
    case Form1Id::Programsmenucurrentuser1: return ProgramsDir;
    case Form1Id::ProgramFilesfolder1: return ProgramFilesDir;
    case Form1Id::Windowsfolder1: return WindowsDir;
    case Form1Id::WindowsSystemfolder1: return SystemDir;
    case Form1Id::Startupdirectorycurrentuser1: {
        char folder[MAX_PATH + 1] = {};
        if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE)) return std::string();
        return UpperCase(folder);
    }
    default: return std::string();
    }
}

}  // namespace

void TFolderPage::Startupdirectorycurrentuser1Click(TMenuItem* sender)
{
    const std::string folder = SpecialFolder(sender->Id);
    if (!folder.empty()) SelectFolderInTree(folder);
}
