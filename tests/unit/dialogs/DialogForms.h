// The dialogs' tests share the forms, created once as the program creates
// them, and start each test with no password and no settings stored.
#pragma once
#include "FormScript.h"
#include "VtTest.h"

#include <gtest/gtest.h>

#include <string>

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
};

// The text of a control of this process, as the user sees it.
std::string TextOf(HWND window);
// Selects the field's whole text and deletes it, as a user does.
void ClearField(HWND edit);
// Pumps this thread's messages as the program's loop does (dialog keys
// included) until the condition holds; false at the timeout.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
