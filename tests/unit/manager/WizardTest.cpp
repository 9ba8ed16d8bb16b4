// The profile creation wizard: its pages walked with its buttons and keys,
// what it shows read back from its controls and pixels, and the template
// its Finish adds to the profile in the window.
#include "ManagerForms.h"
#include "UWizard.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

HWND Window(int id) { return Wizard->FindById(id)->Handle(); }
void ClickWizard(int id) { SendMessageA(Window(id), BM_CLICK, 0, 0); }
bool Shown() { return IsWindowVisible(Wizard->Handle()) != FALSE; }
RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
TextList Sorted(TextList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// The boxes of the page in their order, each row of the page shown inside
// the window below the one above it.
std::vector<int> ShownBoxes(int page)
{
    RECT client = {};
    GetClientRect(Wizard->Handle(), &client);
    MapWindowPoints(Wizard->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    HWND panel = Window(WizardId::PagePanel0 + page);
    RECT area = ScreenRect(panel);
    IntersectRect(&area, &area, &client);
    area.bottom = std::min(area.bottom, ScreenRect(Window(WizardId::Button1)).top);
    std::vector<int> boxes;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = ScreenRect(child);
        EXPECT_TRUE(IsWindowVisible(child) && r.left >= area.left && r.right <= area.right && r.top >= area.top &&
                    r.bottom <= area.bottom)
            << "page " << page << " control " << GetDlgCtrlID(child);
        area.top = r.bottom;
        const int id = GetDlgCtrlID(child);
        if (id >= WizardId::CheckBox1 && id <= WizardId::CheckBox14) boxes.push_back(id - WizardId::CheckBox1 + 1);
    }
    return boxes;
}

// How many of the numeral's pixels show its face and its shadow colour.
std::pair<int, int> NumeralPixels()
{
    HWND numerals = Window(WizardId::Numerals);
    RedrawWindow(numerals, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r = {};
    GetClientRect(numerals, &r);
    HDC dc = GetDC(numerals);
    std::pair<int, int> seen;
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 2) {
            seen.first += GetPixel(dc, x, y) == RGB(222, 235, 250);
            seen.second += GetPixel(dc, x, y) == RGB(128, 160, 208);
        }
    ReleaseDC(numerals, dc);
    return seen;
}

// Through the wizard from its first page: the boxes clicked on their pages, then Finish.
void RunWizard(const std::vector<int>& boxes)
{
    while (Wizard->PageIndex() > 0) ClickWizard(WizardId::Button1);
    for (int page = 0; page < WizardPageCount; ++page, ClickWizard(WizardId::Button2))
        for (int box : boxes)
            if (IsWindowVisible(Window(WizardId::CheckBox1 + box - 1))) ClickWizard(WizardId::CheckBox1 + box - 1);
}

}  // namespace

// A fixed window on top whose header strip lies over the tabs, so that
// only Back and Next change its pages; and the keys.
TEST_F(ManagerForms, TheWizardsPagesChangeOnlyWithItsButtons)
{
    Command(IDM_ProfileCreationWizard1);
    ASSERT_TRUE(Shown());
    RECT client = {};
    GetClientRect(Wizard->Handle(), &client);
    EXPECT_EQ(WindowText(Wizard->Handle()), "Quick start Wizard");
    EXPECT_TRUE(client.right == 474 && client.bottom == 326) << client.right << "x" << client.bottom;
    EXPECT_TRUE(GetWindowLongA(Wizard->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(Wizard->Handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    HWND tabs = Window(WizardId::PageControl1);
    EXPECT_FALSE(GetWindowLongA(tabs, GWL_STYLE) & WS_TABSTOP);
    int covered = 0;
    for (int page = 0; page < WizardPageCount; ++page) {
        RECT item = {};
        SendMessageA(tabs, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&item));
        MapWindowPoints(tabs, Wizard->Handle(), reinterpret_cast<POINT*>(&item), 2);
        if (!IntersectRect(&item, &item, &client)) continue;
        POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        EXPECT_LE(item.bottom, 41) << page;
        covered += ChildWindowFromPointEx(Wizard->Handle(), centre, CWP_SKIPINVISIBLE) == Window(WizardId::Header);
    }
    EXPECT_GT(covered, 0);

    const int back = WizardId::Button1, next = WizardId::Button2;
    const struct {
        int button;  // 0: none, the wizard as it opens
        int page;
        const char *title, *numeral, *nextCaption;
        bool backEnabled;
        std::vector<int> boxes;
    } steps[] = {
        {0, 0, "Profile Creation Wizard", "", "&Next>", false, {}},
        {next, 1, "Most important folders", "1", "&Next>", true, {1, 2, 3, 4, 5}},
        {next, 2, "Protect file types", "2", "&Next>", true, {7, 6, 8, 9, 10, 11}},
        {next, 3, "System restrictions", "3", "&Next>", true, {13, 12, 14}},
        {next, 4, "Profile template is ready", "4", "&Finish", true, {}},
        {back, 3, "System restrictions", "3", "&Next>", true, {13, 12, 14}},
        {back, 2, "Protect file types", "2", "&Next>", true, {7, 6, 8, 9, 10, 11}},
        {back, 1, "Most important folders", "1", "&Next>", true, {1, 2, 3, 4, 5}},
        {back, 0, "Profile Creation Wizard", "", "&Next>", false, {}},
        {back, 0, "Profile Creation Wizard", "", "&Next>", false, {}},  // disabled: nothing happens
    };
    for (const auto& step : steps) {
        if (step.button) ClickWizard(step.button);
        SCOPED_TRACE(step.title);
        EXPECT_TRUE(IsWindowVisible(Window(WizardId::Page0 + step.page)) && Wizard->PageIndex() == step.page);
        EXPECT_EQ(WindowText(Window(WizardId::HeaderTitle)) + "|" + WindowText(Window(WizardId::Numerals)) + "|" +
                      WindowText(Window(next)),
                  std::string(step.title) + "|" + step.numeral + "|" + step.nextCaption);
        EXPECT_EQ(IsWindowEnabled(Window(back)) != FALSE, step.backEnabled);
        EXPECT_EQ(ShownBoxes(step.page), step.boxes);
        // The numeral is drawn twice, in its face and shadow colours, from page one on.
        std::pair<int, int> pixels = NumeralPixels();
        EXPECT_TRUE(step.page ? pixels.first > 50 && pixels.second > 10 : pixels == std::make_pair(0, 0));
    }
    // Enter clicks Next; Back from the keyboard, disabled by its own click, gives the focus to Next.
    ClickWizard(next);
    std::vector<int> pages;
    for (int focus : {static_cast<int>(WizardId::CheckBox1), back}) {
        if (focus == back) ClickWizard(back);
        SetFocus(Window(focus));
        PressKey(VK_RETURN);
        PumpUntil([] { return false; }, 100);
        pages.push_back(Wizard->PageIndex());
    }
    EXPECT_EQ(pages, (std::vector<int>{2, 0}));
    EXPECT_TRUE(Shown() && GetFocus() == Window(next));
}

// New profile shows the wizard first, then asks about unsaved edits and
// empties everything but whom the profile is for. Finish adds the template
// of the boxes, again each time, but one rule per folder and without
// marking the profile changed; Cancel, Esc and the close box add nothing.
TEST_F(ManagerForms, NewProfileAndTheWizardsTemplate)
{
    ProfileSpec spec = {{"-C:\\WINDOWS"}, {"-.TXT"}, {"NOTEPAD.EXE"}, PolicyLines(std::vector<int>(32, 0)), 77};
    ASSERT_TRUE(Form1->LoadProfileIntoWindow(WriteProfile(profiles + "alice.vtp", spec)));
    ClickRestriction(4);
    std::atomic<int> wizardAtQuestion{-1};
    std::thread watch([&] {
        for (int i = 0; i < 500 && wizardAtQuestion < 0; ++i, Sleep(10))
            if (FindWindowA("#32770", "Save")) wizardAtQuestion = Shown();
    });
    BoxAnswerer answerer("no");
    for (int time = 0; time < 2; ++time) Command(IDM_Newprofile1);  // the second time: nothing to ask
    watch.join();
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Shown(answerer.Seen()[0]), "Save|Profile was changed, but not saved. Save it now?|question|yes,no");
    EXPECT_EQ(wizardAtQuestion, 1);
    EXPECT_TRUE(!LineCount(Form1Id::ListBox1) && !LineCount(Form1Id::ListBox2) && !LineCount(Form1Id::ListBox3));
    std::vector<int> states(32, 2);
    EXPECT_EQ(RestrictionStates(), states);
    EXPECT_EQ(Profile.Policies, PolicyLines(states));
    EXPECT_TRUE(Profile.Folders.empty() && Profile.Files.empty() && Profile.Tasks.empty() && Profile.Options.empty());
    EXPECT_TRUE(!Profile.OwnPassword && Profile.PasswordHash == 0 && !Form1->ProfileChanged);
    EXPECT_EQ(Form1->Edit1.Text() + "|" + Form1->Text(), "alice| Vantrel  - alice");
    EXPECT_FALSE(Form1->CheckBox1.Checked());

    RunWizard({2, 6, 7, 10, 13});
    const TextList programs = {"-.EXE", "-.COM", "-.BAT", "-.PIF", "-.SCR", "-.DLL", "-.OCX",
                               "-.AX",  "-.SYS", "-.VXD", "-.386", "-.HTM", "-.HTML"};
    EXPECT_TRUE(!Shown() && Sorted(Profile.Files) == Sorted(programs));
    Command(IDM_ProfileCreationWizard1);  // where it was left
    EXPECT_TRUE(Wizard->PageIndex() == 4 && WindowText(Window(WizardId::Button2)) == "&Finish");
    ClickWizard(WizardId::Button2);
    TextList files = Sorted(programs);
    files.insert(files.end(), programs.begin(), programs.end());
    EXPECT_EQ(Sorted(Profile.Files), Sorted(files));
    EXPECT_EQ(Profile.Folders, TextList{"-%PROGRAMFILES%"});
    states[0] = 1;
    EXPECT_EQ(RestrictionStates(), states);
    // Every box the other way round: the other half of the template.
    Command(IDM_ProfileCreationWizard1);
    RunWizard({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    files.insert(files.end(), {"-.TXT", "-.DOC", "-.PDF", "-.RTF", "-.CHM", "-.HLP", "-.JPG", "-.JPEG", "-.GIF",
                               "-.PNG", "-.TIF", "-NTLDR", "-AUTOEXEC.BAT", "-BOOTFONT.BIN", "-NTDETECT.COM",
                               "-BOOT.INI", "-BOOTSECT.DOS", "-CONFIG.SYS", "-IO.SYS", "-MSDOS.SYS", "-DRVSPACE.BIN",
                               "-COMMAND.COM"});
    EXPECT_EQ(Sorted(Profile.Files), Sorted(files));
    EXPECT_EQ(Sorted(Profile.Folders), (TextList{"-%DESKTOP%", "-%LOCALDESKTOP%", "-%LOCALSTART%", "-%PROGRAMFILES%",
                                                 "-%QLAUNCH%", "-%START%", "-%WINDIR%"}));
    for (int item : {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 15, 21, 29, 30, 31}) states[item] = 1;
    EXPECT_EQ(RestrictionStates(), states);
    EXPECT_TRUE(LineCount(Form1Id::ListBox1) == 7 && LineCount(Form1Id::ListBox2) == files.size());
    EXPECT_FALSE(Form1->ProfileChanged);

    Command(IDM_ProfileCreationWizard1);
    ClickWizard(WizardId::Button1);
    ClickWizard(WizardId::Button1);
    const std::function<void()> closes[] = {
        [] { ClickWizard(WizardId::Button3); },
        [] { SetFocus(Window(WizardId::CheckBox1 + 7)); PressKey(VK_ESCAPE); },
        [] { PostMessageA(Wizard->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& close : closes) {
        Command(IDM_ProfileCreationWizard1);
        close();
        EXPECT_TRUE(PumpUntil([] { return !Shown(); }));
        EXPECT_TRUE(Wizard->PageIndex() == 2 && Wizard->CheckBox(8).Checked());
        EXPECT_EQ(Profile.Files.size(), files.size());
    }
}
