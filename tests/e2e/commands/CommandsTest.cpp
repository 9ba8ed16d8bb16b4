// The control commands of vtlock.exe as another program sees them: each
// posts its registered message to every top-level window, in argument order,
// and the process ends with exit code 0 whether anyone listens or not.
#include <gtest/gtest.h>
#include "VtTest.h"
#include "vrcmd.h"
#include <cstring>

namespace {

// Posted by the test after a command has ended: everything heard before it
// came from the command.
const char* const Sentinel = "Vantrel.Saved";
const LPARAM SentinelValue = 0x5E17;

struct Expected {
    std::string name;
    DWORD lParam;
};

std::string Vtlock(const std::string& dir)
{
    return QuoteArgument(dir + "vtlock.exe");
}

// Runs vtlock.exe with the arguments and returns what the listener heard from it.
std::vector<HeardMessage> HeardFromCommand(MessageListener& listener, const std::string& dir,
                                           const std::string& arguments)
{
    size_t before = listener.Heard().size();
    ProcessResult run = RunAndWait(Vtlock(dir) + " " + arguments);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(Sentinel), 0, SentinelValue);
    std::vector<HeardMessage> heard;
    WaitFor([&] {
        heard = listener.Heard();
        return !heard.empty() && heard.back().name == Sentinel && heard.back().lParam == SentinelValue;
    });
    if (heard.empty() || heard.back().name != Sentinel) return {{"(sentinel never arrived)", 0, 0}};
    return std::vector<HeardMessage>(heard.begin() + before, heard.end() - 1);
}

struct CommandCase {
    const char* arguments;
    std::vector<Expected> messages;
};

TEST(Commands, PostTheirMessagesInArgumentOrder)
{
    const std::string dir = InstallCopy();
    MessageListener listener;
    const CommandCase cases[] = {
        {"/TOGGLE", {{"Vantrel.Ask", 0}}},
        {"/toggle", {{"Vantrel.Ask", 0}}},
        {"/STOPAGENT", {{"Vantrel.StopAgent", 0}}},
        {"/E", {{"Vantrel.Enable", 0}}},
        {"/D:secret", {{"Vantrel.Disable", Command18("secret")}}},
        {"/d:Secret", {{"Vantrel.Disable", Command18("Secret")}}},
        {"/D:", {{"Vantrel.Disable", Command18("")}}},
        {"\"/D:two words\"", {{"Vantrel.Disable", Command18("two words")}}},
        {"/E /TOGGLE /D:pw /STOPAGENT",
         {{"Vantrel.Enable", 0}, {"Vantrel.Ask", 0}, {"Vantrel.Disable", Command18("pw")}, {"Vantrel.StopAgent", 0}}},
        {"/STOPAGENT /E", {{"Vantrel.StopAgent", 0}, {"Vantrel.Enable", 0}}},
        {"unknown /EX /AGENTS /E", {{"Vantrel.Enable", 0}}},
        {"/LOAD:x.vtp /NOTIFY:5 /TOGGLE", {{"Vantrel.Ask", 0}}},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::vector<HeardMessage> heard = HeardFromCommand(listener, dir, c.arguments);
        ASSERT_EQ(c.messages.size(), heard.size());
        for (size_t i = 0; i < heard.size(); ++i) {
            EXPECT_EQ(c.messages[i].name, heard[i].name);
            EXPECT_EQ(0u, heard[i].wParam);
            // Only the low 32 bits carry the value; the upper ones are not defined.
            EXPECT_EQ(c.messages[i].lParam, static_cast<DWORD>(heard[i].lParam));
        }
    }
}

TEST(Commands, PasswordNeverLeavesTheProcess)
{
    const std::string dir = InstallCopy();
    MessageListener listener;
    // One message, carrying the digest of the password as typed, nothing else.
    std::vector<HeardMessage> heard = HeardFromCommand(listener, dir, "/D:secret");
    ASSERT_EQ(1u, heard.size());
    EXPECT_EQ("Vantrel.Disable", heard[0].name);
    EXPECT_EQ(0u, heard[0].wParam);
    EXPECT_EQ(Command18("secret"), static_cast<DWORD>(heard[0].lParam));
    EXPECT_NE(Command18("Secret"), static_cast<DWORD>(heard[0].lParam));
    const std::string password = "secr";
    EXPECT_NE(0, std::memcmp(&heard[0].lParam, password.data(), password.size()));
}

TEST(Commands, NothingFailsWithoutAListener)
{
    const std::string dir = InstallCopy();
    BoxAnswerer answerer("ok");
    for (const char* arguments : {"/TOGGLE", "/STOPAGENT", "/E", "/D:secret", "/D:", "/E /TOGGLE"}) {
        SCOPED_TRACE(arguments);
        ProcessResult run = RunAndWait(Vtlock(dir) + " " + arguments);
        EXPECT_TRUE(run.started);
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
    }
    EXPECT_TRUE(answerer.Seen().empty());
}

// Any visible top-level window of the process.
HWND VisibleWindowOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search = {processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(Commands, NoActionSwitchOpensTheManager)
{
    const std::string dir = InstallCopy();
    for (const char* arguments : {"", "unknown", "/EX", "/AGENTS", "/LOAD:x.vtp /NOTIFY:3"}) {
        SCOPED_TRACE(arguments);
        DWORD processId = 0;
        HANDLE process = StartProcess(Vtlock(dir) + " " + arguments, &processId);
        ASSERT_NE(nullptr, process);
        EXPECT_TRUE(WaitFor([&] { return VisibleWindowOf(processId) != nullptr; }));
        // Still running: the window's message loop keeps it alive.
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process, 0));
        StopProcess(process);
    }
}

}  // namespace
