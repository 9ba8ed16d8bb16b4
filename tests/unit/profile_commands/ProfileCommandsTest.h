// Shared by the profile command tests: the manager's forms created as the
// program creates them and shown (the start sequence runs), a profiles
// folder of the test's own, profile files written with the profile writer,
// and what the window shows read back from its controls by identifier.
#pragma once
#include "Application.h"
#include "CommandLine.h"
#include "ManagerIds.h"
#include "UProfiles.h"
#include "UWizard.h"
#include "Unit1.h"
#include "VtTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A profile as a file holds it.
struct ProfileSpec {
    TextList folders;
    TextList files;
    TextList tasks;
    TextList policies;
    uint32_t passwordHash = 0;
};

class ProfileCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application.Initialize(); }
    void SetUp() override;
    void TearDown() override;

    // Writes spec into dir as baseName + ".vtp" and returns the path.
    std::string WriteProfile(const std::string& dir, const std::string& baseName, const ProfileSpec& spec);
    // The profile file at path as LoadProfile reads it.
    ProfileSpec ReadProfile(const std::string& path);

    // A menu command, as the menu or its shortcut gives it.
    void Command(int menuId);
    HWND Control(int id);
    std::vector<std::string> Lines(int listId);
    // The restriction check list's states as another program reads them: 0, 1, 2.
    std::vector<int> RestrictionStates();
    // A click on the box of restriction line index, as the user clicks it.
    void ClickRestriction(int index);

    std::string profiles;  // ProfilesDir of the test, with its backslash
};

// n lines "i=state", i from 0.
TextList PolicyLines(const std::vector<int>& states);
