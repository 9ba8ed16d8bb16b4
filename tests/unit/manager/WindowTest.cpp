// The manager window: the close sequence, the tabs, the Profile options, the
// owner-drawn menu's pixels, the restriction list, anchors, data files.
#include "DataFiles.h"
#include "ManagerForms.h"
#include "USettings.h"

#include <commctrl.h>

namespace {

const std::string Verify = "Settings|IMPORTANT! Please verify your settings:\r\n\n";
const std::string AutoStartOn = "  - protection WILL BE ENABLED at Windows startup;\r\n";
const std::string AutoStartOff = "  - protection WILL NOT BE enabled at Windows startup;\r\n";
const std::string ByUser = "  - program will load profiles depending on logged user;\r\n";
const std::string NotByUser = "  - program will load default profile (not depending on logged user);\r\n";
const std::string UseDefaultOn =
    "  - program will use a default profile, when profile for current logged user was not prepared.\r\n";
const std::string UseDefaultOff =
    "  - program will not load any profiles, when profile for current logged user will not be found.\r\n";
const std::string Tail =
    "\r\nAdministrator's password is installed, default user password is installed."
    "\r\n\nIf there is something wrong, click NO button, otherwise click YES button."
    "\r\n\nRemember, if anything will work wrong after enabling protection, you can restore access settings, "
    "rebooting computer in the \"safe mode\".|information|yes,no";
const std::string EnableQuestion = "Protection|Enable protection at exit from the program?|question|yes,no";

}  // namespace

// Unsaved edits asked about once, also through Exit; settings and passwords
// checked; the settings verified byte for byte; protection enabled or not.
TEST_F(ManagerForms, TheCloseSequenceFollowsTheSettingsAndTheAnswers)
{
    const std::string save = "Save|Profile was changed, but not saved. Save it now?|question|yes,no";
    const struct {
        bool stored;
        const char *administrator, *toggle;
        bool autoStart, userControl, useDefault;
        int command;  // 0: the close box
        const char *answer, *enable;
        std::vector<std::string> boxes;
        int settingsPage;  // the page the Settings dialog opens on, -1: not opened
    } cases[] = {
        {false, "a", "t", 0, 0, 0, 0, "ok", "ok",
         {"Warning|You have not specified required start parameters. Please verify settings.|warning|ok"},
         StartupPage},
        {true, nullptr, "t", 0, 0, 0, 0, "ok", "ok",
         {"Warning|You have not specified an administrator password. This password will be used for access to "
          "this Profile manager.|warning|ok"},
         PasswordsPage},
        {true, "a", nullptr, 0, 0, 0, 0, "ok", "ok",
         {"Warning|You have not specified a default toggle protection password. This password will be used for "
          "disabling protection.|warning|ok"},
         PasswordsPage},
        {true, "a", "t", 0, 0, 0, IDM_Exit1, "no", "ok", {save, Verify + AutoStartOff + NotByUser + Tail}, -1},
        {true, "a", "t", 1, 0, 1, 0, "no", "yes", {Verify + AutoStartOn + NotByUser + Tail}, -1},
        {true, "a", "t", 0, 1, 1, 0, "no", "yes", {save, Verify + AutoStartOff + ByUser + UseDefaultOn + Tail}, -1},
        {true, "a", "t", 0, 1, 0, IDM_Exit1, "yes", "yes",
         {Verify + AutoStartOff + ByUser + UseDefaultOff + Tail, EnableQuestion}, -1},
        {true, "a", "t", 1, 1, 0, 0, "yes", "no",
         {Verify + AutoStartOn + ByUser + UseDefaultOff + Tail, EnableQuestion}, -1},
    };
    for (const auto& c : cases) {
        SetPasswords(c.administrator, c.toggle);
        GlobalSettings = {c.autoStart, c.userControl, c.useDefault, c.stored};
        if (c.boxes[0] == save) Form1->ProfileChanged = true;
        MessageListener listener;
        BoxAnswerer answerer({BoxReply("Protection").Press(c.enable)}, c.answer);
        int page = -1;
        FormScript script;
        if (c.settingsPage >= 0)
            script.WaitShown(Form3->Handle()).Do([&] {
                page = static_cast<int>(SendMessageA(Form3->PageControl1.Handle(), TCM_GETCURSEL, 0, 0));
                Click(Form3->Button2.Handle());
            });
        script.Start();
        if (c.command) Command(c.command);
        else SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        std::vector<std::string> shown;
        for (const SeenBox& box : answerer.WaitSeen(c.boxes.size())) shown.push_back(Shown(box));
        EXPECT_EQ(shown, c.boxes);
        EXPECT_EQ(page, c.settingsPage);
        const bool closes = c.boxes.back() == EnableQuestion;
        EXPECT_EQ(IsWindowVisible(Form1->Handle()) && !QuitRequested(), !closes);
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        EXPECT_EQ(!heard.empty() && heard[0].name == "Vantrel.Start", closes && c.enable[0] == 'y');
        ShowWindow(Form1->Handle(), SW_SHOW);
    }
}

// It opens on Disabled programs; the Components menu selects each tab; the
// Profile options switch the name field and the own password's controls.
TEST_F(ManagerForms, TheTabsAndTheProfileOptions)
{
    HWND tabs = Control(Form1Id::PageControl1);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
    for (int k = 0; k < 5; ++k) {  // the items, and the sheets, are numbered in the tabs' order
        Command(IDM_Folderprotection1 + k);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), k);
        for (int s = 0; s < 5; ++s) EXPECT_EQ(IsWindowVisible(Control(Form1Id::TabSheet1 + s)) != FALSE, s == k);
    }
    EXPECT_EQ(Form1->ImageList1.Count(), 7);  // the folder pictures, found
    HWND radio = Control(Form1Id::RadioGroup1), name = Control(Form1Id::Edit1), box = Control(Form1Id::CheckBox1);
    HWND user = GetDlgItem(radio, Form1Id::RadioGroup1 + 1), byDefault = GetDlgItem(radio, Form1Id::RadioGroup1 + 2);
    EXPECT_TRUE(Checked(byDefault) && !IsWindowEnabled(name));
    SetWindowTextA(name, "alice");
    SendMessageA(user, BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(name) && GetFocus() == name);
    SendMessageA(byDefault, BM_CLICK, 0, 0);
    EXPECT_TRUE(!IsWindowEnabled(name) && WindowText(name) == "alice");
    Profile.PasswordHash = 1234;
    EXPECT_TRUE(Checked(box));
    for (bool own : {true, false}) {
        SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_EQ(IsWindowEnabled(Control(Form1Id::Label4)) != FALSE, own);
        EXPECT_EQ(IsWindowEnabled(Control(Form1Id::Button4)) != FALSE, own);
        EXPECT_EQ(Profile.OwnPassword, own);
    }
    EXPECT_TRUE(Profile.PasswordHash == 1234 && !Form1->ProfileChanged);
}

namespace {

constexpr int Width = 200, Height = 20;
const COLORREF Line = RGB(96, 96, 96), Selection = RGB(182, 189, 210), White = RGB(255, 255, 255);

// A memory bitmap with a font, painted magenta before each item is drawn
// by the window's own handlers as the system asks it to.
struct MenuCanvas {
    MenuCanvas() : dc(CreateCompatibleDC(nullptr))
    {
        HDC screen = GetDC(nullptr);
        old = SelectObject(dc, CreateCompatibleBitmap(screen, Width, Height));
        ReleaseDC(nullptr, screen);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    }
    ~MenuCanvas()
    {
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
    }
    void Fill(COLORREF colour)
    {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) SetPixel(dc, x, y, colour);
    }
    void Draw(int id, UINT state)
    {
        Fill(RGB(255, 0, 255));
        DRAWITEMSTRUCT draw = {ODT_MENU, 0, static_cast<UINT>(id), ODA_DRAWENTIRE, state,
                               reinterpret_cast<HWND>(Form1->MainMenu1.Handle()), dc, {0, 0, Width, Height},
                               reinterpret_cast<ULONG_PTR>(Form1->MainMenu1.Find(id))};
        SendMessageA(Form1->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    int TextWidth(const std::string& text) const
    {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // How many pixels of row y from x0 to x1 (exclusive) have the colour.
    int Count(int y, int x0, int x1, COLORREF colour) const
    {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += At(x, y) == colour;
        return n;
    }
    HDC dc;
    HGDIOBJ old;
};

}  // namespace

TEST_F(ManagerForms, TheMenuIsDrawnWithItsStripLineIconSelectionSeparatorAndUnderline)
{
    MenuCanvas canvas, reference;
    const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_MENUTEXT);
    // A drop-down item: the white strip, the grey line, its icon (cell 0 of the strip) at (2, 2).
    canvas.Draw(IDM_Newprofile1, 0);
    reference.Fill(White);
    Form1->ImageMenu.Draw(reference.dc, 2, 2, 0);
    int differing = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < 20; ++x) differing += canvas.At(x, y) != reference.At(x, y);
        EXPECT_TRUE(canvas.At(20, y) == Line && canvas.At(21, y) == face) << y;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(Form1->ImageMenu.Count(), 8);
    // The selection is filled and outlined on both levels.
    for (int id : {IDM_Newprofile1, IDM_File1}) {
        canvas.Draw(id, ODS_SELECTED);
        EXPECT_EQ(canvas.Count(0, 0, Width, Line) + canvas.Count(Height - 1, 0, Width, Line), 2 * Width) << id;
        EXPECT_TRUE(canvas.At(0, 1) == Line && canvas.At(Width - 1, 1) == Line && canvas.At(1, 1) == Selection &&
                    canvas.At(Width - 2, Height - 2) == Selection)
            << id;
    }
    // A separator is a line at five pixels.
    canvas.Draw(IDM_N2, 0);
    EXPECT_EQ(canvas.Count(5, 0, Width, Line), Width);
    EXPECT_EQ(canvas.Count(4, 21, Width, face), Width - 21);
    // The character after the ampersand, or else the first, is underlined.
    const struct { int id, left; const char *before, *underlined, *rest; } captions[] = {
        {IDM_About1, 25, "", "A", "bout"}, {IDM_Settings1, 25, "S", "e", "ttings"}, {IDM_File1, 5, "", "F", "ile"}};
    for (const auto& c : captions) {
        canvas.Draw(c.id, 0);
        int x0 = c.left + canvas.TextWidth(c.before), x1 = x0 + canvas.TextWidth(c.underlined);
        int x2 = x1 + canvas.TextWidth(c.rest), row = -1;
        for (int y = 0; y < Height && row < 0; ++y)
            if (canvas.Count(y, x0, x1, text) == x1 - x0) row = y;
        ASSERT_GE(row, 0) << c.underlined;
        EXPECT_EQ(canvas.Count(row, c.left, x0, text) + canvas.Count(row, x1 + 1, x2, text), 0) << c.underlined;
    }
}

// The buttons set every line; a click on a box cycles unchecked, grayed,
// checked and marks the profile changed; a click on the text only selects.
TEST_F(ManagerForms, TheRestrictionsCheckListCyclesAtTheBoxAndTheButtonsSetEveryLine)
{
    const struct { int button, state; } buttons[] = {
        {Form1Id::Button10, cbChecked}, {Form1Id::Button11, cbUnchecked}, {Form1Id::Button12, cbGrayed}};
    for (const auto& b : buttons) {
        SendMessageA(Control(b.button), BM_CLICK, 0, 0);
        EXPECT_EQ(RestrictionStates(), std::vector<int>(32, b.state)) << b.button;
    }
    Form1->ProfileChanged = false;
    std::vector<int> seen;
    for (int click = 0; click < 4; ++click) {
        ClickRestriction(1);
        seen.push_back(RestrictionStates()[1]);
    }
    EXPECT_EQ(seen, (std::vector<int>{cbChecked, cbUnchecked, cbGrayed, cbChecked}));
    EXPECT_TRUE(Form1->ProfileChanged);
    ClickRestriction(1, false);
    std::vector<int> after(32, cbGrayed);
    after[1] = cbChecked;
    EXPECT_EQ(RestrictionStates(), after);
    EXPECT_EQ(SendMessageA(Control(Form1Id::CheckListBox1), LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ManagerForms, AnchoredControlsFollowTheClientAreaOthersStay)
{
    auto bounds = [](int id) {
        RECT r = Form1->FindById(id)->BoundsRect();
        return std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    // How far each moves and grows: left, top, width, height.
    const struct { int id; std::vector<LONG> moved; } controls[] = {
        {Form1Id::PageControl1, {0, 0, 100, 60}}, {Form1Id::ToolBar, {0, 0, 100, 0}},
        {Form1Id::Panel8, {100, 0, 0, 0}}, {Form1Id::RadioGroup1, {0, 0, 0, 0}}};
    std::vector<std::vector<LONG>> was;
    for (const auto& c : controls) was.push_back(bounds(c.id));
    RECT client = {};
    GetClientRect(Form1->Handle(), &client);
    Form1->SetClientSize(client.right + 100, client.bottom + 60);
    for (size_t i = 0; i < was.size(); ++i)
        for (size_t k = 0; k < 4; ++k) EXPECT_EQ(bounds(controls[i].id)[k] - was[i][k], controls[i].moved[k]) << i;
}

// The folder pictures are read from the current folder, else the program's.
TEST(DataFiles, ComeFromTheCurrentFolderElseFromTheProgramsFolder)
{
    char start[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, start);
    const std::string own = NewTempDir("own");
    ASSERT_TRUE(WriteWholeFile(own + "folders.bmp", "x"));
    SetCurrentDirectoryA(own.c_str());
    EXPECT_EQ(DataFilePath("folders.bmp") + "|" + DataFilePath("foldersmask.bmp"),
              own + "folders.bmp|" + ExeFolder() + "foldersmask.bmp");
    SetCurrentDirectoryA(start);
    RemoveTree(own);
}
