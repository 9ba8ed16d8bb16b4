// The command library through the real DLL and registry: the two passwords and their digests, and the toggle
// password dialog answered by the boxanswer tool as a user would (the agent's use: tests/e2e/agent_toggle).
#include <gtest/gtest.h>
#include "PasswordDialogIds.h"
#include "VtTest.h"
#include "vrcmd.h"
#include <sddl.h>
#include <cstring>
#include <thread>
namespace {
bool Yes(DWORD result) { return (result & 0xFF) != 0; }  // the system reads the low byte
// Stores a password as the Settings dialog does: Command15/16, then 10/11.
bool SetAdministrator(const char* password) { return Yes(Command15(password)) && Yes(Command10()); }
bool SetToggle(const char* password) { return Yes(Command16(password)) && Yes(Command11()); }
bool DigestTaken(const char* password) { return Yes(Command21(Command18(password))); }
struct VrcmdStore : ::testing::Test {  // no password stored and none waiting
    void SetUp() override {
        Command12();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), RegDeleteKeyA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY);
        ASSERT_TRUE(Yes(Command9()));
    }
    void TearDown() override { Command12(); }
};
// Worked out independently of the library: the digest travels in broadcasts and profile files.
TEST(VrcmdDigest, KnownValues) {
    const std::pair<const char*, DWORD> known[] = {
        {"", 0x74141C20u}, {nullptr, 0x74141C20u}, {"a", 0x6C4E37EBu}, {"Password1", 0x1BB51599u}, {"\xE9t\xE9", 0xF736F3EEu}};
    for (const auto& k : known) EXPECT_EQ(k.second, Command18(k.first)) << (k.first ? k.first : "(null)");
}
// Only SYSTEM and Administrators may open the key: a user who read a digest there could switch protection off.
TEST_F(VrcmdStore, KeyForAdministratorsOnlyAndRepairedWhenWeakened) {
    ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
    ASSERT_TRUE(SetToggle("kept"));
    for (const char* sddl : {"D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;WD)",  // everyone may read
                             "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)",                 // inherits from above
                             "D:P(A;CI;KA;;;SY)(A;CI;KA;;;AU)"}) {             // users instead of administrators
        PSECURITY_DESCRIPTOR weak = nullptr;
        HKEY key;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &weak, nullptr));
        ASSERT_EQ(0, RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, WRITE_DAC, &key));
        EXPECT_EQ(0, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, weak)) << sddl;
        RegCloseKey(key), LocalFree(weak);
        EXPECT_TRUE(Yes(Command9()));
        ExpectOnlyAdministrators(KeyDacl(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY), KEY_ALL_ACCESS, true);
        EXPECT_TRUE(Yes(Command19("kept"))) << sddl;
    }
}
TEST_F(VrcmdStore, EachPasswordMatchesItselfOnly) {
    const struct { bool (*set)(const char*); DWORD(WINAPI *check)(const char*), (WINAPI *other)(const char*);
                   DWORD(WINAPI *isSet)(), (WINAPI *otherIsSet)(); } kinds[] = {
        {SetAdministrator, Command14, Command19, Command13, Command17}, {SetToggle, Command19, Command14, Command17, Command13}};
    for (const auto& kind : kinds) {
        SetUp();
        EXPECT_FALSE(Yes(kind.check("Open Sesame")));
        ASSERT_TRUE(kind.set("Open Sesame"));
        EXPECT_TRUE(Yes(kind.isSet()) && !Yes(kind.otherIsSet()));
        EXPECT_TRUE(Yes(kind.check("Open Sesame")) && !Yes(kind.other("Open Sesame")));
        for (const char* wrong : {static_cast<const char*>(nullptr), "", "open sesame", "Open Sesame "})
            EXPECT_FALSE(Yes(kind.check(wrong)) || DigestTaken(wrong)) << (wrong ? wrong : "(null)");
        // A new text of any length replaces the old one, and is taken whole.
        std::string previous = "Open Sesame";
        for (size_t length : {256, 5000}) {
            const std::string text = std::string(length - 1, 'n') + "\xE9", cut = text.substr(0, length - 1);
            ASSERT_TRUE(kind.set(text.c_str())) << length;
            EXPECT_TRUE(Yes(kind.check(text.c_str())) && DigestTaken(text.c_str())) << length;
            for (const std::string& wrong : {previous, cut, cut + "\xC9"}) EXPECT_FALSE(Yes(kind.check(wrong.c_str())));
            previous = text;
        }
        EXPECT_FALSE(DigestTaken("Open Sesame"));
    }
    ASSERT_TRUE(SetAdministrator("admin"));  // with both set, either digest is accepted
    EXPECT_TRUE(DigestTaken("admin") && DigestTaken((std::string(4999, 'n') + "\xE9").c_str()));
}
TEST_F(VrcmdStore, NewPasswordWaitsUntilStoredOnce) {
    EXPECT_FALSE(Yes(Command10()));
    ASSERT_TRUE(Yes(Command15("once")));
    EXPECT_FALSE(Yes(Command13()));
    EXPECT_TRUE(Yes(Command10()) && !Yes(Command10()) && Yes(Command14("once")));
    // Forgotten by Command12 and by a refused text; stored passwords stay.
    EXPECT_TRUE(Yes(Command15("dropped")) && Yes(Command16("dropped")));
    Command12();
    EXPECT_FALSE(Yes(Command10()) || Yes(Command11()));
    for (const char* refused : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_TRUE(Yes(Command15("waiting")) && Yes(Command16("waiting")));
        EXPECT_FALSE(Yes(Command15(refused)) || Yes(Command16(refused)) || Yes(Command10()) || Yes(Command11()));
    }
    EXPECT_TRUE(Yes(Command14("once")));
}
// A record holds neither the text nor a salt used before; a damaged one counts as set, and neither the text
// nor the digest kept in it matches.
TEST_F(VrcmdStore, RecordsAndDamagedRecords) {
    auto stored = [] {  // the administrator's record as a peer reading the registry sees it
        char data[256];
        DWORD type = 0, size = sizeof data;
        EXPECT_EQ(0, RegGetValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", RRF_RT_ANY, &type, data, &size));
        return std::to_string(type) + ":" + std::string(data, size);
    };
    ASSERT_TRUE(SetAdministrator("AdminSecret42"));
    const std::string record = stored(), good = record.substr(2);
    ASSERT_TRUE(SetAdministrator("AdminSecret42"));
    EXPECT_NE(record, stored());
    ASSERT_EQ("3:60", record.substr(0, 2) + std::to_string(good.size()));  // REG_BINARY, 60 bytes
    EXPECT_EQ(std::string::npos, good.find("AdminSecret42"));
    EXPECT_EQ(std::string::npos, good.find(std::string("A\0d\0m\0i\0n", 9)));  // nor in UTF-16
    auto with = [&](size_t at, const std::string& bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    const std::pair<DWORD, std::string> damaged[] = {
        {REG_NONE, good}, {REG_BINARY, with(0, "X")} /* another mark */, {REG_BINARY, good + "x"},
        {REG_BINARY, good.substr(0, 59)}, {REG_BINARY, ""}, {REG_BINARY, with(4, std::string(4, '\0'))},  // no iterations
        {REG_BINARY, with(4, std::string("\x81\x96\x98\0", 4))},  // 10000001 of them
    };
    for (const auto& d : damaged) {
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", d.first, d.second.data(),
                                     DWORD(d.second.size())));
        EXPECT_TRUE(Yes(Command13()) && !Yes(Command14("AdminSecret42")) && !DigestTaken("AdminSecret42")) << &d - damaged;
    }
    for (size_t at : {24, 55}) {  // every byte of the stored hash (24 to 55) counts: one changed bit refuses it
        const std::string changed = with(at, std::string(1, good[at] ^ 1));
        ASSERT_EQ(0, RegSetKeyValueA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, "Administrator", REG_BINARY, changed.data(),
                                     DWORD(changed.size())));
        EXPECT_FALSE(Yes(Command14("AdminSecret42"))) << at;
    }
    ASSERT_TRUE(SetAdministrator("mended"));
    EXPECT_TRUE(Yes(Command14("mended")));
}
TEST(VrcmdDialog, AnswersFillTheBufferWithinItsSize) {
    const struct { const char* button; std::string typed; DWORD size; std::string expected; } cases[] = {
        {"cancel", "open sesame", 256, ""}, {"ok", "abcdefgh", 5, "abcd"}, {"ok", "abc", 1, ""}};
    std::vector<BoxReply> replies;
    for (const auto& c : cases) replies.push_back(BoxReply("Vantrel").Keys(IDC_PASSWORD_EDIT, c.typed).Press(c.button));
    BoxAnswerer answerer(replies, "cancel");
    char buffer[300];
    for (const auto& c : cases) {
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(c.expected.size(), Command20(buffer, c.size)) << c.typed;
        EXPECT_EQ(c.expected + "|" + std::string(sizeof buffer - c.size, '#'),
                  std::string(buffer) + "|" + std::string(buffer + c.size, sizeof buffer - c.size));
    }
    // Without a buffer no dialog is shown.
    buffer[0] = '#';
    EXPECT_EQ(0u, Command20(nullptr, 256) + Command20(buffer, 0));
    EXPECT_EQ('#', buffer[0]);
    std::vector<SeenBox> seen = answerer.WaitSeen(3);
    ASSERT_EQ(3u, seen.size());
    for (const SeenBox& b : seen) EXPECT_EQ("Type the password to switch protection off:|ok,cancel", b.text + "|" + b.buttons);
}
// The agent calling Command20 has no window of its own, so the dialog must come to the front by itself.
TEST(VrcmdDialog, MaskedAndInFront) {
    bool found = false, masked = false, inFront = false;
    std::thread watcher([&] {
        for (int i = 0; i < 500 && !found; ++i, Sleep(10)) {
            HWND box = FindWindowA("#32770", "Vantrel"), edit = box ? GetDlgItem(box, IDC_PASSWORD_EDIT) : nullptr;
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
