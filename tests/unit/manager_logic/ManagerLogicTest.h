// Shared by the manager logic tests: a fixture that starts each test with an
// empty profile and fixed macro folders, and gives both back afterwards.
#pragma once
#include "FolderAccess.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class ManagerLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const PathMacro& macro : PathMacros) saved_.push_back(*macro.variable);
        WindowsDir = "C:\\WINDOWS";
        SystemDir = "C:\\WINDOWS\\SYSTEM32";
        ProgramFilesDir = "C:\\PROGRAM FILES";
        CommonDesktopDir = "C:\\USERS\\PUBLIC\\DESKTOP";
        DesktopDir = "C:\\USERS\\ME\\DESKTOP";
        CommonProgramsDir = "C:\\PROGRAMDATA\\START MENU\\PROGRAMS";
        ProgramsDir = "C:\\USERS\\ME\\START MENU\\PROGRAMS";
        QuickLaunchDir = "C:\\USERS\\ME\\QUICK LAUNCH";
        TempDir = "C:\\TEMP\\";
        CreateProfileLists();
        FolderRulesChanged();
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved_.size(); ++i) *PathMacros[i].variable = saved_[i];
        CreateProfileLists();
        FolderRulesChanged();
    }

private:
    std::vector<std::string> saved_;
};
