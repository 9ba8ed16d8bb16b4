// Command20's toggle password dialog, answered as a user would by the
// boxanswer tool in another process.
#include "PasswordDialogIds.h"
#include "VrcmdTest.h"
#include "VtTest.h"
#include <cstring>

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
        {"ok", "open sesame", 256, "open sesame"},
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
    std::vector<SeenBox> seen = answerer.WaitSeen(4);
    ASSERT_EQ(4u, seen.size());
    for (const SeenBox& box : seen) {
        EXPECT_EQ("Type the password to switch protection off:", box.text);
        EXPECT_EQ("ok,cancel", box.buttons);
    }
}

// Checked from a thread while the dialog is up: the agent calling Command20
// has no window of its own, so the dialog must come to the front by itself.
TEST(VrcmdDialog, MaskedAndInFront)
{
    struct Probe {
        bool found = false, masked = false, inFront = false;
    } probe;
    HANDLE watcher = CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            Probe* p = static_cast<Probe*>(param);
            for (int i = 0; i < 500 && !p->found; ++i, Sleep(10)) {
                HWND box = FindWindowA("#32770", "Vantrel");
                HWND edit = box ? GetDlgItem(box, IDC_PASSWORD_EDIT) : nullptr;
                if (!edit) continue;
                p->found = true;
                p->masked = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) && SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0);
                p->inFront = GetForegroundWindow() == box;
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            }
            return 0;
        },
        &probe, 0, nullptr);
    char buffer[257];
    EXPECT_EQ(0u, Command20(buffer, 256));
    WaitForSingleObject(watcher, 10000);
    CloseHandle(watcher);
    EXPECT_TRUE(probe.found);
    EXPECT_TRUE(probe.masked);
    EXPECT_TRUE(probe.inFront);
}

}  // namespace
