// The command library through the real DLL and the real registry: setting,
// checking and replacing the two passwords and their digests, and the toggle
// password dialog answered as a user would by the boxanswer tool in another
// process (a password typed and confirmed is checked where the agent asks for
// it, tests/e2e/agent_toggle).
#include <gtest/gtest.h>
#include "PasswordDialogIds.h"
#include "VtTest.h"
#include "vrcmd.h"
#include <sddl.h>
#include <cstring>
#include <thread>

namespace {

// The library's booleans as the system reads them (low byte).
bool Yes(DWORD result) { return (result & 0xFF) != 0; }

// Stores a password as the Settings dialog does: Command15/16, then 10/11.
bool SetAdministrator(const char* password) { return Yes(Command15(password)) && Yes(Command10()); }
bool SetToggle(const char* password) { return Yes(Command16(password)) && Yes(Command11()); }

// Each case starts with no password stored and none waiting.
class VrcmdStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        Command12();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
        ASSERT_TRUE(Yes(Command9()));
    }
    void TearDown() override { Command12(); }
};

// Values of the documented digest, worked out independently of the library:
// the digest travels in broadcasts and profile files.
TEST(VrcmdDigest, KnownValues)
{
    const std::pair<const char*, DWORD> known[] = {
        {"", 0x74141C20u}, {"a", 0x6C4E37EBu}, {"Password1", 0x1BB51599u}, {"\xE9t\xE9", 0xF736F3EEu}};
    for (const auto& k : known) EXPECT_EQ(k.second, Command18(k.first)) << k.first;
    EXPECT_EQ(Command18(""), Command18(nullptr));
}

// Only SYSTEM and Administrators may open the key: a user who read a digest
// there could switch protection off with it. Command9 made it in SetUp.
TEST_F(VrcmdStore, KeyForAdministratorsOnlyAndRepairedWhenWeakened)
{
    ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
    ASSERT_TRUE(SetToggle("kept"));
    for (const char* sddl : {"D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;WD)",  // everyone may read
                             "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)",                 // inherits from above
                             "D:P(A;CI;KA;;;SY)(A;CI;KA;;;AU)"}) {             // users instead of administrators
        SCOPED_TRACE(sddl);
        PSECURITY_DESCRIPTOR weak = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &weak, nullptr));
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, WRITE_DAC, &key));
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, weak));
        RegCloseKey(key);
        LocalFree(weak);
        EXPECT_TRUE(Yes(Command9()));
        ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
        EXPECT_TRUE(Yes(Command19("kept")));
    }
}

struct Kind {
    const char* name;
    bool (*set)(const char*);
    DWORD(WINAPI *check)(const char*), (WINAPI *other)(const char*);
    DWORD(WINAPI *isSet)(), (WINAPI *otherIsSet)();
};

TEST_F(VrcmdStore, EachPasswordMatchesItselfOnly)
{
    const Kind kinds[] = {{"administrator", SetAdministrator, Command14, Command19, Command13, Command17},
                          {"toggle", SetToggle, Command19, Command14, Command17, Command13}};
    const std::string longText = std::string(4999, 'n') + "\xE9";  // the last text each kind takes below
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        SetUp();
        EXPECT_FALSE(Yes(kind.check("Open Sesame")));
        ASSERT_TRUE(kind.set("Open Sesame"));
        EXPECT_TRUE(Yes(kind.isSet()));
        EXPECT_FALSE(Yes(kind.otherIsSet()));
        EXPECT_TRUE(Yes(kind.check("Open Sesame")));
        EXPECT_FALSE(Yes(kind.other("Open Sesame")));
        for (const char* wrong : {static_cast<const char*>(nullptr), "", "open sesame", "Open Sesame "}) {
            EXPECT_FALSE(Yes(kind.check(wrong))) << (wrong ? wrong : "(null)");
            EXPECT_FALSE(Yes(Command21(Command18(wrong)))) << (wrong ? wrong : "(null)");
        }
        // A new text of any length replaces the old one, and is taken whole.
        std::string previous = "Open Sesame";
        for (size_t length : {255, 256, 257, 5000}) {
            const std::string text = std::string(length - 1, 'n') + "\xE9";
            ASSERT_TRUE(kind.set(text.c_str())) << length;
            EXPECT_TRUE(Yes(kind.check(text.c_str()))) << length;
            EXPECT_FALSE(Yes(kind.check(previous.c_str()))) << length;
            EXPECT_FALSE(Yes(kind.check(text.substr(0, length - 1).c_str()))) << length;
            EXPECT_FALSE(Yes(kind.check((text.substr(0, length - 1) + "\xC9").c_str()))) << length;
            EXPECT_TRUE(Yes(Command21(Command18(text.c_str())))) << length;
            previous = text;
        }
        EXPECT_FALSE(Yes(Command21(Command18("Open Sesame"))));
    }
    // With both set, either digest is accepted.
    ASSERT_TRUE(SetAdministrator("admin"));
    EXPECT_TRUE(Yes(Command21(Command18("admin"))));
    EXPECT_TRUE(Yes(Command21(Command18(longText.c_str()))));
}

TEST_F(VrcmdStore, NewPasswordWaitsUntilStoredOnce)
{
    EXPECT_FALSE(Yes(Command10()));
    ASSERT_TRUE(Yes(Command15("once")));
    EXPECT_FALSE(Yes(Command13()));
    EXPECT_TRUE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_TRUE(Yes(Command14("once")));
    // Forgotten by Command12 and by a refused text; stored passwords stay.
    EXPECT_TRUE(Yes(Command15("dropped")));
    EXPECT_TRUE(Yes(Command16("dropped")));
    Command12();
    EXPECT_FALSE(Yes(Command10()));
    EXPECT_FALSE(Yes(Command11()));
    for (const char* refused : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_TRUE(Yes(Command15("waiting")));
        EXPECT_TRUE(Yes(Command16("waiting")));
        EXPECT_FALSE(Yes(Command15(refused)));
        EXPECT_FALSE(Yes(Command16(refused)));
        EXPECT_FALSE(Yes(Command10()));
        EXPECT_FALSE(Yes(Command11()));
    }
}

// The administrator's record as a peer reading the registry sees it.
std::string StoredRecord()
{
    char data[256];
    DWORD type = 0, size = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", RRF_RT_ANY, &type, data, &size)) return "";
    EXPECT_EQ(DWORD(REG_BINARY), type);
    return std::string(data, size);
}

// A record holds neither the text nor a salt used before; a damaged one
// counts as set, and neither the text nor the digest kept in it matches.
TEST_F(VrcmdStore, RecordsAndDamagedRecords)
{
    ASSERT_TRUE(SetAdministrator("AdminSecret42"));
    const std::string good = StoredRecord();
    ASSERT_TRUE(SetAdministrator("AdminSecret42"));
    EXPECT_NE(good, StoredRecord());
    EXPECT_EQ(std::string::npos, good.find("AdminSecret42"));
    EXPECT_EQ(std::string::npos, good.find(std::string("A\0d\0m\0i\0n\0S\0e\0c", 16)));
    ASSERT_EQ(60u, good.size());
    auto with = [&](size_t at, const std::string& bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    const std::pair<DWORD, std::string> damaged[] = {
        {REG_NONE, good},
        {REG_BINARY, with(0, "X")},  // another mark
        {REG_BINARY, good + "x"},
        {REG_BINARY, good.substr(0, 59)},
        {REG_BINARY, with(4, std::string(4, '\0'))},              // no iterations
        {REG_BINARY, with(4, std::string("\x81\x96\x98\0", 4))},  // 10000001 of them
        {REG_BINARY, ""},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(testing::Message() << d.first << ": " << d.second.size() << " bytes");
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", d.first,
                                                 d.second.data(), DWORD(d.second.size())));
        EXPECT_TRUE(Yes(Command13()));
        EXPECT_FALSE(Yes(Command14("AdminSecret42")));
        EXPECT_FALSE(Yes(Command21(Command18("AdminSecret42"))));
    }
    ASSERT_TRUE(SetAdministrator("mended"));
    EXPECT_TRUE(Yes(Command14("mended")));
}

TEST(VrcmdDialog, AnswersFillTheBufferWithinItsSize)
{
    const struct {
        const char* button;
        std::string typed;
        DWORD size;
        std::string expected;
    } cases[] = {
        {"cancel", "open sesame", 256, ""},
        {"ok", "abcdefgh", 5, "abcd"},
        {"ok", "abc", 1, ""},
    };
    std::vector<BoxReply> replies;
    for (const auto& c : cases) replies.push_back(BoxReply("Vantrel").Keys(IDC_PASSWORD_EDIT, c.typed).Press(c.button));
    BoxAnswerer answerer(replies, "cancel");
    char buffer[300];
    for (const auto& c : cases) {
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
    EXPECT_TRUE(found && masked && inFront) << "found " << found << ", masked " << masked << ", in front " << inFront;
}

}  // namespace
