// The manager's forms, created and shown for each test as the program does,
// with no password, no settings and a profiles folder of the test's own.
#pragma once
#include "Application.h"
#include "CheckListBox.h"
#include "CommandLine.h"
#include "FormScript.h"
#include "ManagerIds.h"
#include "ManagerSupport.h"
#include "ManagerWindow.h"
#include "RemoteWindows.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include <gtest/gtest.h>
class ManagerForms : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitRuntimeEnvironment();
        Application.Initialize();
    }
    void SetUp() override {
        SetPasswords(nullptr, nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, SettingsKey);
        CreateProfileLists();
        SaveNotifyValue = 0;
        ASSERT_TRUE(CreateManagerForms());
        ManagerWindow->Show();  // the start sequence: no password asked, no profile found
        ProfilesDir = profiles = NewTempDir("profiles");
    }
    void TearDown() override {
        DestroyManagerForms();
        QuitRequested();
        RemoveTree(profiles);
    }
    std::string profiles;
};
// A profile as a file holds it, written to path with the profile writer.
struct ProfileText { TextList folders, files, tasks, policies; uint32_t passwordHash = 0; };
inline std::string WriteProfile(const std::string& path, const ProfileText& text) {
    Profile = {text.folders, text.files, text.policies, text.tasks, {}, false, 0};
    EXPECT_TRUE(SaveProfileFile(path, text.passwordHash)) << path;
    return path;
}
// The lines "i=state", i from 0, as a profile holds the restrictions.
inline TextList PolicyLines(const std::vector<int>& states) {
    TextList lines;
    for (size_t i = 0; i < states.size(); ++i) lines.push_back(std::to_string(i) + "=" + std::to_string(states[i]));
    return lines;
}
inline bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline HWND Control(int id) { return ManagerWindow->FindById(id)->Handle(); }
inline size_t LineCount(int listId) { return ListLines(Control(listId)).size(); }
inline void Command(int menuId) { SendMessageA(ManagerWindow->Handle(), WM_COMMAND, MAKEWPARAM(menuId, 0), 0); }
// A box as the user saw it: "caption|text|icon|buttons".
inline std::string Shown(const SeenBox& b) { return b.caption + "|" + b.text + "|" + b.icon + "|" + b.buttons; }
using Texts = std::vector<std::string>;
// The boxes answered so far as shown, once there are count (or at the timeout).
inline std::vector<std::string> ShownBoxes(BoxAnswerer& answerer, size_t count = 0, DWORD timeoutMs = 0) {
    std::vector<std::string> shown;
    for (const SeenBox& box : answerer.WaitSeen(count, timeoutMs)) shown.push_back(Shown(box));
    return shown;
}
// The restriction check list's states as the list holds them: 0, 1 or 2.
inline std::vector<int> RestrictionStates() {
    std::vector<int> states;
    for (int i = 0; i < ManagerWindow->RestrictionsPage.RestrictionList.Count(); ++i)
        states.push_back(
            static_cast<int>(SendMessageA(Control(ManagerWindowId::RestrictionList), LB_GETITEMDATA, i, 0)));
    return states;
}
// A click on restriction line index: on its box, or on its text.
inline void ClickRestriction(int index, bool onTheBox = true) {
    TCheckListBox& list = ManagerWindow->RestrictionsPage.RestrictionList;
    ManagerWindow->Tabs.SetActivePageIndex(2);
    SendMessageA(list.Handle(), LB_SETTOPINDEX, index, 0);
    RECT box = list.BoxRect(index);
    LPARAM at = MAKELPARAM(onTheBox ? (box.left + box.right) / 2 : box.right + 40, (box.top + box.bottom) / 2);
    SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list.Handle(), WM_LBUTTONUP, 0, at);
}
// Pumps this thread's messages as the program's loop does, dialog keys included.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 10000) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(10)) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Application.HandleMessage(msg, nullptr);
    }
    return true;
}
