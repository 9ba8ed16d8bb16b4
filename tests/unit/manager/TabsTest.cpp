// The editing tabs through their real controls: the folder tree, its access buttons and
// warnings, the folder rule list's keys and dialog, the file rules, the disabled programs.
#include "ManagerForms.h"
#include "RuntimeEnv.h"
#include <commctrl.h>
namespace {
const std::string Top = "C:\\VtTabs", Sub = Top + "\\Sub", Deep = Sub + "\\Deep";
HWND Tree() { return Control(ManagerWindowId::FolderTree); }
// A node as drawn: "text image/state image", or its text alone.
std::string Look(HTREEITEM node, bool textOnly = false) {
    char text[MAX_PATH] = {};
    TVITEMA item = {TVIF_TEXT | TVIF_IMAGE | TVIF_STATE, node, 0, TVIS_STATEIMAGEMASK, text, sizeof text, 0, 0, 0, 0};
    TreeView_GetItem(Tree(), &item);
    const unsigned state = (item.state & TVIS_STATEIMAGEMASK) >> 12;
    return textOnly ? text : std::string(text) + " " + std::to_string(item.iImage) + "/" + std::to_string(state);
}
// Each folder of the path opened in the tree as the user opens it, the last selected.
HTREEITEM SelectFolder(const std::string& path) {
    HTREEITEM node = TreeView_GetRoot(Tree());
    for (size_t at = path.find('\\'); node && at != std::string::npos;) {
        const size_t next = path.find('\\', at + 1);
        SendMessageA(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
        node = TreeView_GetChild(Tree(), node);
        while (node && lstrcmpiA(Look(node, true).c_str(), path.substr(at + 1, next - at - 1).c_str()) != 0)
            node = TreeView_GetNextSibling(Tree(), node);
        at = next;
    }
    EXPECT_TRUE(node) << path;
    if (node) TreeView_SelectItem(Tree(), node);
    return node;
}
class Tabs : public ManagerForms {
protected:
    void SetUp() override {
        ManagerForms::SetUp();
        for (const std::string& dir : {Top, Sub, Deep}) ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    }
    void TearDown() override {
        ManagerForms::TearDown();
        RemoveTree(Top + "\\");
    }
    // A profile of these rules loaded as the Open command loads it.
    void Load(const ProfileText& text) {
        ASSERT_TRUE(ManagerWindow->LoadProfileIntoWindow(WriteProfile(profiles + "tabs.vtp", text)));
    }
};
}  // namespace
// Clicks on the access buttons of folders selected in the tree: the buttons
// left pressed, the rules, their lines and their images, and the one warning asked.
TEST_F(Tabs, AccessButtonsGiveTheSelectedFolderItsRuleAfterTheWarnings) {
    const int RO = ManagerWindowId::ReadOnlyButton, Hid = ManagerWindowId::HiddenButton,
              No = ManagerWindowId::NoAccessButton, Full = ManagerWindowId::FullAccessButton;
    const std::string up = "C:\\VTTABS", sys = SystemDir, wholeDisk =
        "Warning|You are about restricting access to whole disk content. This may prevent all programs/system, "
        "placed on this disk from running.\r\nWe recommend to use read-only access instead.\r\n"
        "Are you sure to continue?|warning|yes,no", windowsFolder =
        "Warning|You are about restricting access to Windows folder or one of its subfolders. This may cause "
        "disabling of access to important system files and folders, so your computer may not reboots.\r\n"
        "We recommend do not use hiding or disabling of access on this folder.\r\nAre you sure to continue?"
        "|warning|yes,no";
    const struct {
        const char* name; std::vector<std::pair<std::string, int>> clicks; const char* answer;
        TextList folders, lines; std::string pressed, box;
    } cases[] = {
        {"No Access releases Read Only", {{Top, RO}, {Top, No}}, "yes", {"&" + up},
         {up + "   (Access denied)"}, "--N", ""},
        {"Hidden then No Access", {{Top, Hid}, {Top, No}}, "yes", {"#" + up},
         {up + "   (Access denied, invisible in the Explorer)"}, "-HN", ""},
        {"the parent's access takes the subfolder's rule away", {{Top, RO}, {Sub, No}, {Sub, RO}}, "yes",
         {"-" + up}, {up + "   (Read only access)"}, "R--", ""},
        {"Full access on the drive", {{"C:", Full}}, "yes", {"+C:"}, {"C:   (Full access (read/write))"}, "---", ""},
        {"hiding the drive, answered No", {{"C:", Full}, {"C:", Hid}}, "no", {"+C:"},
         {"C:   (Full access (read/write))"}, "---", wholeDisk},
        {"Read only on Windows, Hidden on system", {{WindowsDir, RO}, {sys, Hid}}, "yes",
         {"-" + WindowsDir, "@" + sys},
         {WindowsDir + "   (Read only access)", sys + "   (Read only access, invisible in the Explorer)"}, "RH-",
         windowsFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load({});
        BoxAnswerer answerer(c.answer);
        for (const auto& click : c.clicks) {
            SelectFolder(click.first);
            SendMessageA(Control(click.second), BM_CLICK, 0, 0);
        }
        EXPECT_TRUE(Profile.Folders == c.folders && ListLines(Control(ManagerWindowId::FolderRuleList)) == c.lines);
        std::string pressed;  // "R" Read Only, "H" Hidden, "N" No Access, "-" released
        for (int i = 0; i < 3; ++i) pressed += Checked(Control(ManagerWindowId::ReadOnlyButton + i)) ? "RHN"[i] : '-';
        EXPECT_EQ(pressed, c.pressed);
        const std::vector<SeenBox> seen = answerer.WaitSeen(c.box.empty() ? 0 : 1, 3000);
        EXPECT_EQ(seen.empty() ? "" : Shown(seen[0]), c.box);
    }
    // The rule's image goes down the tree to a folder with a rule of its own, the mark only on
    // the rule's folder; opening a folder again adds no second node for a subfolder.
    Load({{"&C:\\VTTABS\\SUB\\DEEP"}});
    const HTREEITEM deep = SelectFolder(Deep), top = SelectFolder(Top);
    SendMessageA(Control(RO), BM_CLICK, 0, 0);
    EXPECT_EQ(Look(top) + " " + Look(TreeView_GetParent(Tree(), deep)) + " " + Look(deep),
              "VtTabs 1/6 Sub 1/0 Deep 2/6");
    SendMessageA(Tree(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(top));
    TreeView_SelectItem(Tree(), top);
    SendMessageA(Tree(), WM_KEYDOWN, VK_ADD, 0);
    std::vector<std::string> children;
    for (HTREEITEM child = TreeView_GetChild(Tree(), top); child; child = TreeView_GetNextSibling(Tree(), child))
        children.push_back(Look(child));
    EXPECT_TRUE(TreeView_GetItemState(Tree(), top, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(children, (std::vector<std::string>{"Sub 1/0"}));
}
// Delete, Insert and Enter in the rule list: the Add folder dialog answered
// as the user fills it in.
TEST_F(Tabs, TheRuleListKeysDeleteAddAndChangeRules) {
    const struct { WORD key; int line; std::vector<BoxReply> replies; TextList folders; } cases[] = {
        {VK_DELETE, 1, {}, {"-C:\\VTTABS"}},
        {VK_INSERT, -1, {BoxReply("Add folder").Keys(AddFolderDialogId::PathEdit, Deep).Press(AddFolderDialogId::AddButton)},
         {"-C:\\VTTABS", "&C:\\VTTABS\\SUB", "+C:\\VTTABS\\SUB\\DEEP"}},
        {VK_RETURN, 0,
         {BoxReply("Add folder").Text(AddFolderDialogId::PathEdit, "C:\\VtTabs\\Sub\\Deep").Press(AddFolderDialogId::AddButton)},
         {"&C:\\VTTABS\\SUB", "-C:\\VTTABS\\SUB\\DEEP"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Load({{"-C:\\VTTABS", "&C:\\VTTABS\\SUB"}});
        BoxAnswerer answerer(c.replies, "cancel");
        SendMessageA(Control(ManagerWindowId::FolderRuleList), LB_SETCURSEL, c.line, 0);
        SendMessageA(Control(ManagerWindowId::FolderRuleList), WM_KEYDOWN, c.key, 0);
        EXPECT_TRUE(Profile.Folders == c.folders && LineCount(ManagerWindowId::FolderRuleList) == c.folders.size());
        EXPECT_EQ(answerer.Seen().size(), c.replies.size());
    }
}
// Files chosen at once: file rules by name, programs by version information. Enter edits a rule;
// Remove takes one of two entries of the same file; Delete every selected program, only those.
TEST_F(Tabs, FilesAndProgramsComeFromTheOpenDialogAndGo) {
    for (const char* name : {"one.txt", "Two.doc", "three.Bin"}) ASSERT_TRUE(WriteWholeFile(Top + "\\" + name, "x"));
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(Top.c_str());  // where the open dialog starts
    {
        BoxAnswerer answerer({BoxReply("Add a file").Press(AddFileDialogId::BrowseButton),
                              OpenFileReply({"one.txt", "Two.doc", "three.Bin"}),
                              BoxReply("Add a file").Press(AddFileDialogId::AddButton)});
        SendMessageA(Control(ManagerWindowId::AddFileButton), BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(Profile.Files == (TextList{"+ONE.TXT", "+THREE.BIN", "+TWO.DOC"}) &&
                LineCount(ManagerWindowId::FileRuleList) == 3);
    Load({{}, {"-C:\\A.TXT", "&C:\\B.TXT", "-C:\\A.TXT"}, {"A.EXE", "B.EXE", "C.EXE"}});
    HWND files = Control(ManagerWindowId::FileRuleList), programs = Control(ManagerWindowId::ProgramList);
    auto select = [files](const char* name) {
        SendMessageA(files, LB_SETCURSEL, SendMessageA(files, LB_FINDSTRING, -1, reinterpret_cast<LPARAM>(name)), 0);
    };
    select("C:\\B.TXT");
    {
        BoxAnswerer answerer({BoxReply("Add a file").Press(AddFileDialogId::AddButton)});
        SendMessageA(files, WM_KEYDOWN, VK_RETURN, 0);  // Enter edits the rule, and the profile is changed
    }
    EXPECT_TRUE(ManagerWindow->ProfileChanged && Profile.Files.size() == 3);
    select("C:\\A.TXT");
    SendMessageA(Control(ManagerWindowId::RemoveFileButton), BM_CLICK, 0, 0);
    EXPECT_TRUE(Profile.Files == (TextList{"&C:\\B.TXT", "-C:\\A.TXT"}) &&
                LineCount(ManagerWindowId::FileRuleList) == 2);
    SetCurrentDirectoryA(BinDir().c_str());
    {
        BoxAnswerer answerer({OpenFileReply({"verinfo_full.exe", "verinfo_long.exe"})});
        SendMessageA(Control(ManagerWindowId::AddProgramButton), BM_CLICK, 0, 0);
    }
    SetCurrentDirectoryA(before);
    const std::string full = "VERINFO_FULL.EXE      // Vantrel test program  (Vantrel Test Makers)";
    ASSERT_EQ(Profile.Tasks.size(), 5u);
    EXPECT_TRUE(Profile.Tasks[3] == full && Profile.Tasks[4].rfind("VERINFO_LONG.EXE      // 0123", 0) == 0);
    for (int line : {0, 2, 3}) SendMessageA(programs, LB_SETSEL, TRUE, line);
    SendMessageA(programs, LB_SETCARETINDEX, 1, 0);  // the focus on a line not selected
    SendMessageA(programs, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(Profile.Tasks, (TextList{"B.EXE", Profile.Tasks.back()}));
    EXPECT_EQ(ListLines(programs), Profile.Tasks);
}
