// Command20's toggle password dialog, answered as a user would by the
// boxanswer tool in another process.
#include "VrcmdTest.h"
#include "VtTest.h"
#include <cstring>

namespace {

const char Prompt[] = "Type the password to switch protection off:";

struct DialogCase {
    const char* name;
    const char* button;
    std::string typed;
    DWORD size;
    std::string expected;
};

TEST(VrcmdDialog, AnswersFillTheBufferWithinItsSize) {
    const DialogCase cases[] = {
        {"OK", "ok", "open sesame", 256, "open sesame"},
        {"OK with nothing typed", "ok", "", 256, ""},
        {"Cancel after typing", "cancel", "open sesame", 256, ""},
        {"small buffer", "ok", "abcdefgh", 5, "abcd"},
        {"one byte", "ok", "abc", 1, ""},
        {"typed more than the system's 256", "ok", std::string(400, 'k'), 256, std::string(255, 'k')},
        {"8-bit text", "ok", "\xE9t\xE9", 256, "\xE9t\xE9"},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[300];
        memset(buffer, '#', sizeof buffer);
        DWORD length;
        std::vector<SeenBox> seen;
        {
            BoxAnswerer answerer(c.button, c.typed, true);
            length = Command20(buffer, c.size);
            seen = answerer.WaitSeen(1);
        }
        EXPECT_EQ(c.expected, std::string(buffer));
        EXPECT_EQ(c.expected.size(), length);
        // Nothing written beyond the size given.
        for (size_t i = c.size; i < sizeof buffer; ++i) ASSERT_EQ('#', buffer[i]) << i;
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ("Vantrel", seen[0].caption);
        EXPECT_EQ(Prompt, seen[0].text);
        EXPECT_EQ("ok,cancel", seen[0].buttons);
    }
}

TEST(VrcmdDialog, NoBufferMeansNoDialog) {
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(0u, Command20(nullptr, 256));
    EXPECT_EQ(0u, Command20(buffer, 0));
    EXPECT_EQ('#', buffer[0]);
}

// Checked from a thread while the dialog is up: the agent calling Command20
// has no window of its own, so the dialog must come to the front by itself.
TEST(VrcmdDialog, MaskedAndInFront) {
    struct Probe {
        bool found = false;
        bool masked = false;
        bool inFront = false;
    } probe;
    HANDLE watcher = CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            Probe* p = static_cast<Probe*>(param);
            for (int i = 0; i < 500 && !p->found; ++i, Sleep(10)) {
                HWND box = FindWindowA("#32770", "Vantrel");
                HWND edit = box ? FindWindowExA(box, nullptr, "Edit", nullptr) : nullptr;
                if (!edit) continue;
                p->found = true;
                p->masked = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) != 0 &&
                            SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0) != 0;
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
    EXPECT_STREQ("", buffer);
}

}  // namespace
