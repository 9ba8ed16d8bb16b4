// The manager window: the close sequence, the tabs, the Profile options, the
// restriction list, the owner-drawn menu's pixels, the protection keys.
#include "ManagerForms.h"
#include "SettingsDialog.h"
#include <commctrl.h>
#include <utility>
// Unsaved edits asked about once, also through Exit; settings and passwords
// checked; the settings verified byte for byte; protection enabled or not.
TEST_F(ManagerForms, TheCloseSequenceFollowsTheSettingsAndTheAnswers) {
    const std::string save = "Save|Profile was changed, but not saved. Save it now?|question|yes,no",
                      verify = "Settings|IMPORTANT! Please verify your settings:\r\n\n  - protection WILL",
                      on = verify + " BE ENABLED at Windows startup;\r\n",
                      off = verify + " NOT BE enabled at Windows startup;\r\n",
                      byUser = "  - program will load profiles depending on logged user;\r\n",
                      notByUser = "  - program will load default profile (not depending on logged user);\r\n",
                      useDefault = "  - program will use a default profile, when profile for current logged user "
                                   "was not prepared.\r\n",
                      noDefault = "  - program will not load any profiles, when profile for current logged user "
                                  "will not be found.\r\n",
                      tail = "\r\nAdministrator's password is installed, default user password is installed."
                             "\r\n\nIf there is something wrong, click NO button, otherwise click YES button."
                             "\r\n\nRemember, if anything will work wrong after enabling protection, you can restore "
                             "access settings, rebooting computer in the \"safe mode\".|information|yes,no",
                      enable = "Protection|Enable protection at exit from the program?|question|yes,no";
    // settings: stored, AutoStart, UserControl, UseDefault; command 0: the close box;
    // page: the one the Settings dialog opens on, -1 when it does not open.
    const struct {
        const char *settings, *administrator, *toggle; int command; const char *answer, *enable;
        std::vector<std::string> boxes; int page;
    } cases[] = {
        {"0000", "a", "t", 0, "ok", "ok",
         {"Warning|You have not specified required start parameters. Please verify settings.|warning|ok"},
         StartupPage},
        {"1000", nullptr, "t", 0, "ok", "ok",
         {"Warning|You have not specified an administrator password. This password will be used for access to "
          "this Profile manager.|warning|ok"}, PasswordsPage},
        {"1000", "a", nullptr, 0, "ok", "ok",
         {"Warning|You have not specified a default toggle protection password. This password will be used for "
          "disabling protection.|warning|ok"}, PasswordsPage},
        {"1000", "a", "t", IDM_Exit, "no", "ok", {save, off + notByUser + tail}, -1},
        {"1101", "a", "t", 0, "no", "yes", {on + notByUser + tail}, -1},
        {"1011", "a", "t", 0, "no", "yes", {save, off + byUser + useDefault + tail}, -1},
        {"1010", "a", "t", IDM_Exit, "yes", "yes", {off + byUser + noDefault + tail, enable}, -1},
        {"1110", "a", "t", 0, "yes", "no", {on + byUser + noDefault + tail, enable}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        SetPasswords(c.administrator, c.toggle);
        GlobalSettings = {c.settings[1] == '1', c.settings[2] == '1', c.settings[3] == '1', c.settings[0] == '1'};
        ManagerWindow->ProfileChanged = c.boxes[0] == save;
        MessageListener listener;
        BoxAnswerer answerer({BoxReply("Protection").Press(c.enable)}, c.answer);
        int page = -1;
        FormScript script;
        if (c.page >= 0)
            script.WaitShown(SettingsDialog->Handle()).Do([&] {
                page = static_cast<int>(SendMessageA(SettingsDialog->Pages.Handle(), TCM_GETCURSEL, 0, 0));
                Click(SettingsDialog->CancelButton.Handle());
            });
        script.Start();
        if (c.command) Command(c.command);
        else SendMessageA(ManagerWindow->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        const std::vector<std::string> shown = ShownBoxes(answerer, c.boxes.size(), 15000);
        EXPECT_TRUE(shown == c.boxes && page == c.page) << shown.back() << " page " << page;
        const bool closes = c.boxes.back() == enable;
        EXPECT_EQ(IsWindowVisible(ManagerWindow->Handle()) && !QuitRequested(), !closes);
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        EXPECT_EQ(!heard.empty() && heard[0].name == "Vantrel.Start", closes && c.enable[0] == 'y');
        ShowWindow(ManagerWindow->Handle(), SW_SHOW);
    }
}
// It opens on Disabled programs; the Components menu shows each tab's page only; the Profile
// options switch the name field and the own password's controls.
TEST_F(ManagerForms, TheTabsTheProfileOptionsAndTheRestrictionList) {
    HWND tabs = Control(ManagerWindowId::Tabs);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
    for (int k = 0; k < 5; ++k) {  // the items, and the sheets, are numbered in the tabs' order
        Command(IDM_FolderProtection + k);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), k);
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(IsWindowVisible(Control(ManagerWindowId::FolderTab + s)) != FALSE, s == k);
    }
    EXPECT_EQ(ManagerWindow->FolderImages.Count(), 7);  // the folder pictures, found
    // Each edit of the options marks the profile changed.
    HWND radio = Control(ManagerWindowId::ProfileUserChoice), name = Control(ManagerWindowId::UserNameEdit),
         box = Control(ManagerWindowId::OtherPasswordBox);
    auto edited = [] { return std::exchange(ManagerWindow->ProfileChanged, false); };
    SetWindowTextA(name, "alice");
    EXPECT_TRUE(edited());
    SendMessageA(GetDlgItem(radio, ManagerWindowId::ProfileUserChoice + 1), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(name) && GetFocus() == name && edited());
    SendMessageA(GetDlgItem(radio, ManagerWindowId::ProfileUserChoice + 2), BM_CLICK, 0, 0);
    EXPECT_TRUE(!IsWindowEnabled(name) && WindowText(name) == "alice" && edited());
    Profile.PasswordHash = 1234;
    for (bool own : {true, false}) {
        SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_TRUE((IsWindowEnabled(Control(ManagerWindowId::OtherPasswordLabel)) != FALSE) == own &&
                    (IsWindowEnabled(Control(ManagerWindowId::ChangePasswordButton)) != FALSE) == own);
        EXPECT_TRUE(Profile.OwnPassword == own && edited());
    }
    EXPECT_EQ(Profile.PasswordHash, 1234u);
    // The restriction buttons set every line and mark the profile changed; a click on a box cycles
    // unchecked, grayed, checked and marks it changed; a click on the text only selects, and the
    // space bar then moves that line on.
    const struct { int button, state;
    } buttons[] = {{ManagerWindowId::CheckAllButton, cbChecked},
                   {ManagerWindowId::UncheckAllButton, cbUnchecked},
                   {ManagerWindowId::GrayAllButton, cbGrayed}};
    for (const auto& b : buttons) {
        SendMessageA(Control(b.button), BM_CLICK, 0, 0);
        EXPECT_EQ(RestrictionStates(), std::vector<int>(32, b.state)) << b.button;
        EXPECT_TRUE(edited()) << b.button;
    }
    ManagerWindow->ProfileChanged = false;
    std::vector<int> seen, after(32, cbGrayed);
    for (int click = 0; click < 4; ++click, seen.push_back(RestrictionStates()[1])) ClickRestriction(1);
    EXPECT_TRUE(seen == (std::vector<int>{cbChecked, cbUnchecked, cbGrayed, cbChecked}) &&
                ManagerWindow->ProfileChanged);
    ClickRestriction(1, false);
    after[1] = cbChecked;
    EXPECT_TRUE(RestrictionStates() == after &&
                SendMessageA(Control(ManagerWindowId::RestrictionList), LB_GETCURSEL, 0, 0) == 1);
    edited();
    SendMessageA(Control(ManagerWindowId::RestrictionList), WM_CHAR, ' ', 0);  // the space bar moves it on
    after[1] = cbUnchecked;
    EXPECT_TRUE(RestrictionStates() == after && edited());
}
// Items drawn by the window's own handler on a magenta canvas: the white strip with the
// icon, the grey line, the outlined selection on both levels, the separator, the captions.
TEST_F(ManagerForms, TheMenuIsDrawnWithItsStripIconLineSelectionAndSeparator) {
    constexpr int W = 200, H = 20;
    const COLORREF line = RGB(96, 96, 96), selection = RGB(182, 189, 210), face = GetSysColor(COLOR_BTNFACE);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen), icon = CreateCompatibleDC(screen);
    HGDIOBJ old[] = {SelectObject(dc, CreateCompatibleBitmap(screen, W, H)),
                     SelectObject(icon, CreateCompatibleBitmap(screen, W, H))};
    ReleaseDC(nullptr, screen);
    RECT all = {0, 0, W, H};
    FillRect(icon, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ManagerWindow->ImageMenu.Draw(icon, 2, 2, 0);  // the first picture of the strip, as "New profile" shows it
    // The item drawn by the window's own handler on a canvas of the colour.
    auto draw = [&](int id, UINT state, COLORREF canvas) {
        SetDCBrushColor(dc, canvas);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        DRAWITEMSTRUCT item = {ODT_MENU, 0, static_cast<UINT>(id), ODA_DRAWENTIRE, state,
                               reinterpret_cast<HWND>(ManagerWindow->MenuBar.Handle()), dc, all,
                               reinterpret_cast<ULONG_PTR>(ManagerWindow->MenuBar.Find(id))};
        SendMessageA(ManagerWindow->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    };
    const struct { int id; UINT state; int x0, x1, y; COLORREF colour; } rows[] = {  // x1 < 0: as the icon shows
        {IDM_NewProfile, 0, 0, -20, 5, 0},        {IDM_NewProfile, 0, 0, -20, 9, 0},
        {IDM_NewProfile, 0, 20, 21, 0, line},     {IDM_NewProfile, 0, 20, 21, H - 1, line},
        {IDM_NewProfile, 0, 21, 22, 10, face},      {IDM_NewProfile, ODS_SELECTED, 0, W, 0, line},
        {IDM_NewProfile, ODS_SELECTED, 1, W - 1, 1, selection}, {IDM_NewProfile, ODS_SELECTED, 0, 1, 1, line},
        {IDM_FileMenu, ODS_SELECTED, 0, W, H - 1, line},
        {IDM_FileMenu, ODS_SELECTED, 1, W - 1, H - 2, selection},  {IDM_FileSeparator1, 0, 0, W, 5, line},
        {IDM_FileSeparator1, 0, 21, W, 4, face},
    };
    for (const auto& r : rows) {
        draw(r.id, r.state, RGB(255, 0, 255));
        int differing = 0;
        for (int x = r.x0; x < std::abs(r.x1); ++x)
            differing += GetPixel(dc, x, r.y) != (r.x1 < 0 ? GetPixel(icon, x, r.y) : r.colour);
        EXPECT_EQ(differing, 0) << r.id << " " << r.state << " row " << r.y << " from " << r.x0;
    }
    // A caption's letters stand where one run of its text puts them, the marked one underlined.
    TEXTMETRICA font = {};
    GetTextMetricsA(dc, &font);
    const int base = 4 + font.tmAscent;
    SetBkMode(icon, TRANSPARENT);
    SetTextColor(icon, GetSysColor(COLOR_MENUTEXT));
    SetDCBrushColor(icon, face);
    for (int id : {IDM_SaveProfileAsDefault, IDM_Settings, IDM_About}) {
        std::string plain = ManagerWindow->MenuBar.Find(id)->Caption;
        const size_t amp = plain.find('&'), marked = amp == std::string::npos ? 0 : amp;
        if (amp != std::string::npos) plain.erase(amp, 1);
        draw(id, 0, RGB(255, 0, 255));  // the item paints its own background
        FillRect(icon, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        TextOutA(icon, 25, 4, plain.c_str(), static_cast<int>(plain.size()));
        int differing = 0;
        for (int y = 4; y < base; ++y)
            for (int x = 25; x < W; ++x) differing += GetPixel(dc, x, y) != GetPixel(icon, x, y);
        SIZE left = {}, letter = {};
        GetTextExtentPoint32A(dc, plain.c_str(), static_cast<int>(marked), &left);
        GetTextExtentPoint32A(dc, plain.c_str() + marked, 1, &letter);
        bool underlined = false;
        for (int y = base; y < H && !underlined; ++y) {
            underlined = true;
            for (int x = 25 + left.cx; x < 25 + left.cx + letter.cx - 1; ++x) underlined &= GetPixel(dc, x, y) != face;
        }
        EXPECT_TRUE(differing == 0 && underlined) << plain << ": " << differing << " pixels differ";
    }
    EXPECT_EQ(ManagerWindow->ImageMenu.Count(), 8);
    DeleteObject(SelectObject(dc, old[0]));
    DeleteObject(SelectObject(icon, old[1]));
    DeleteDC(dc);
    DeleteDC(icon);
}
// F6 and Ctrl+F6 through the program's accelerator table, then a click on the toolbar's "Disable protection".
TEST_F(ManagerForms, TheProtectionKeysAndTheToolbarButtonAskTheAgent) {
    HACCEL keys = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MainAccelerators));
    for (const BYTE control : {0, 0x80, 1}) {  // 1: the click
        MessageListener listener;
        BYTE state[256] = {};
        state[VK_CONTROL] = control & 0x80;
        SetKeyboardState(state);
        MSG key = {ManagerWindow->Handle(), WM_KEYDOWN, VK_F6, 0x00400001, 0, {}};
        if (control == 1) PostClick(Control(ManagerWindowId::StopButton), POINT{8, 8});
        else EXPECT_TRUE(Application.HandleMessage(key, keys)) << int(control);
        ASSERT_TRUE(PumpUntil([&] { return !listener.Heard().empty(); }));
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        EXPECT_EQ(heard.size() == 1 ? heard[0].name : "", control ? "Vantrel.Stop" : "Vantrel.Start") << int(control);
    }
}
