// The manager's forms in the test process, created as the program creates
// them, with helpers to set up the passwords and settings they look at.
#pragma once
#include "Application.h"
#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "Unit1.h"

#include <gtest/gtest.h>

class ManagerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitRuntimeEnvironment();
        Application.Initialize();
    }
    void SetUp() override
    {
        SetPasswords(nullptr, nullptr);
        GlobalSettings = TGlobalSettings();
        Profile = TProfile();
        LoadSettings();
        ASSERT_TRUE(CreateManagerForms());
    }
    void TearDown() override
    {
        DestroyManagerForms();
        QuitRequested();
    }
};

