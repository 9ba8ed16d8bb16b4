// Command20's toggle password dialog, answered as a user would by the
// boxanswer tool in another process. A password typed and confirmed is
// checked where the agent asks for it (tests/e2e/agent_toggle).
#include "PasswordDialogIds.h"
#include "VtTest.h"
#include "vrcmd.h"
#include <gtest/gtest.h>
#include <cstring>
#include <thread>

namespace {

struct DialogCase {
    const char* button;
    std::string typed;
    DWORD size;
    std::string expected;
};

TEST(VrcmdDialog, AnswersFillTheBufferWithinItsSize)
{
    const DialogCase cases[] = {
        {"cancel", "open sesame", 256, ""},
        {"ok", "abcdefgh", 5, "abcd"},
        {"ok", "abc", 1, ""},
    };
    std::vector<BoxReply> replies;
    for (const DialogCase& c : cases) replies.push_back(BoxReply("Vantrel").Keys(IDC_PASSWORD_EDIT, c.typed).Press(c.button));
    BoxAnswerer answerer(replies, "cancel");
    char buffer[300];
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.button + (" " + c.typed) + ", size " + std::to_string(c.size));
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(c.expected.size(), Command20(buffer, c.size));
        EXPECT_EQ(c.expected, std::string(buffer));
        EXPECT_EQ(std::string(sizeof buffer - c.size, '#'), std::string(buffer + c.size, sizeof buffer - c.size));
    }
    // Without a buffer no dialog is shown.
    buffer[0] = '#';
    EXPECT_EQ(0u, Command20(nullptr, 256));
    EXPECT_EQ(0u, Command20(buffer, 0));
    EXPECT_EQ('#', buffer[0]);
    std::vector<SeenBox> seen = answerer.WaitSeen(3);
    ASSERT_EQ(3u, seen.size());
    for (const SeenBox& box : seen) {
        EXPECT_EQ("Type the password to switch protection off:", box.text);
        EXPECT_EQ("ok,cancel", box.buttons);
    }
}

// Checked from a thread while the dialog is up: the agent calling Command20
// has no window of its own, so the dialog must come to the front by itself.
TEST(VrcmdDialog, MaskedAndInFront)
{
    bool found = false, masked = false, inFront = false;
    std::thread watcher([&] {
        for (int i = 0; i < 500 && !found; ++i, Sleep(10)) {
            HWND box = FindWindowA("#32770", "Vantrel");
            HWND edit = box ? GetDlgItem(box, IDC_PASSWORD_EDIT) : nullptr;
            if (!edit) continue;
            found = true;
            masked = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) && SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0);
            inFront = GetForegroundWindow() == box;
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        }
    });
    char buffer[257];
    EXPECT_EQ(0u, Command20(buffer, 256));
    watcher.join();
    EXPECT_TRUE(found);
    EXPECT_TRUE(masked);
    EXPECT_TRUE(inFront);
}

}  // namespace
