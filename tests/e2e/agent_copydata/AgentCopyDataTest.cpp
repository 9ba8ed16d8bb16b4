// The logged-on user's folder and hive reported with WM_COPYDATA, by hand and
// by vtscc.exe. The temporary folder shows in the image ("+" and the folder),
// the hive in where the policy values land.
#include "../agent_shared/AgentTest.h"
#include "Agent.h"

using namespace agenttest;

namespace {

const char* const PolicySystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const char* const FakeSid = "21-77-88-99-4242";

bool SendCopyData(WPARAM code, const void* bytes, DWORD size)
{
    COPYDATASTRUCT data = {};
    data.cbData = size;
    data.lpData = const_cast<void*>(bytes);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(FindAgent(), WM_COPYDATA, code, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                               10000, &result) != 0;
}

bool SendText(WPARAM code, const std::string& text)
{
    return SendCopyData(code, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// -1 when the value cannot be read.
long long ReadDword(HKEY root, const std::string& subkey, const char* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(root, subkey.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

long long RegistryToolsPolicy(HKEY root, const std::string& prefix = std::string())
{
    return ReadDword(root, prefix + PolicySystemKey, "DisableRegistryTools");
}

class AgentCopyData : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSettings(false, false, false);
        ProfileText profile = RulesProfile(1);
        profile.policies = {"0=1"};  // no registry editor
        bed.WriteProfile("default.vtp", profile);
        HKEY fake;
        ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, (std::string("S-1-5-") + FakeSid).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &fake, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(fake);
        RegDeleteKeyValueA(HKEY_USERS, (std::string("S-1-5-") + FakeSid + "\\" + PolicySystemKey).c_str(),
                           "DisableRegistryTools");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, PolicySystemKey, "DisableRegistryTools");
    }

    // The image size after applying the default profile with the folder the
    // agent holds now.
    unsigned int AppliedImageBytes()
    {
        unsigned int loads = QueryDriverState().LoadRequests;
        Broadcast("Vantrel.Start");
        VTLOCK_STATE state = {};
        EXPECT_TRUE(WaitFor([&] { return (state = QueryDriverState()).LoadRequests > loads; }));
        EXPECT_EQ(state.LoadRefused, 0u);
        return state.ImageBytes;
    }

    AgentBed bed;
};

TEST_F(AgentCopyData, UserTempFolderReachesTheImage)
{
    bed.StartAgent();
    const std::string shortFolder = "C:\\VTNOWHERE\\TEMPA\\";
    const std::string longFolder = "C:\\VTNOWHERE\\TEMPA0123456789\\";

    ASSERT_TRUE(SendText(CopyDataUserTemp, shortFolder));
    unsigned int shortBytes = AppliedImageBytes();
    ASSERT_TRUE(SendText(CopyDataUserTemp, longFolder));
    unsigned int longBytes = AppliedImageBytes();
    ASSERT_GT(longBytes, shortBytes);
    EXPECT_EQ((longBytes - shortBytes) % 10, 0u) << "ten more characters in the folder string(s)";
    unsigned int perCharacter = (longBytes - shortBytes) / 10;

    struct Case {
        const char* name;
        std::string bytes;  // sent as they are, no 0 added
        unsigned int expected;
    };
    const Case cases[] = {
        {"empty text keeps the folder", std::string(1, '\0'), longBytes},
        {"no terminating 0", longFolder.substr(0, longFolder.size() - 1) + "ABCDE\\",
         longBytes + 5 * perCharacter},
        {"bytes after the 0 are not read", shortFolder + std::string(1, '\0') + "GARBAGE", shortBytes},
        {"an oversized block is ignored", std::string(40000, 'A'), shortBytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SendCopyData(CopyDataUserTemp, c.bytes.data(), static_cast<DWORD>(c.bytes.size())));
        EXPECT_EQ(AppliedImageBytes(), c.expected);
    }

    SCOPED_TRACE("a zero size is ignored");
    ASSERT_TRUE(SendCopyData(CopyDataUserTemp, longFolder.c_str(), 0));
    EXPECT_EQ(AppliedImageBytes(), shortBytes);
}

TEST_F(AgentCopyData, UserSidMovesThePoliciesToThatHive)
{
    bed.StartAgent();
    VTLOCK_STATE before = QueryDriverState();
    ASSERT_TRUE(SendText(CopyDataUserSid, FakeSid));
    VTLOCK_STATE after = QueryDriverState();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(after.Started, 1u);
    std::string hive = std::string("S-1-5-") + FakeSid + "\\";
    EXPECT_EQ(RegistryToolsPolicy(HKEY_USERS, hive), 1);
    EXPECT_NE(RegistryToolsPolicy(HKEY_CURRENT_USER), 1);

    bed.CloseAgent();
    EXPECT_EQ(RegistryToolsPolicy(HKEY_USERS, hive), 0) << "closing switches the policies off in that hive";
}

TEST_F(AgentCopyData, MalformedSidsKeepTheHiveButApplyAllTheSame)
{
    const std::string malformed[] = {
        "",
        "21-77-88-99-4242\\..\\x",
        "21-77-88-99-4242\\Software",
        "abc",
        "21--77",
        "-21-77",
        "21-77-88-99-9999",  // well formed, no such hive
        std::string(600, '7'),
    };
    for (const std::string& sid : malformed) {
        SCOPED_TRACE("SID suffix \"" + sid.substr(0, 40) + "\"");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, PolicySystemKey, "DisableRegistryTools");
        bed.StartAgent();
        VTLOCK_STATE before = QueryDriverState();
        ASSERT_TRUE(SendText(CopyDataUserSid, sid));
        EXPECT_EQ(QueryDriverState().LoadRequests, before.LoadRequests + 1);
        EXPECT_EQ(RegistryToolsPolicy(HKEY_CURRENT_USER), 1);
        EXPECT_EQ(RegistryToolsPolicy(HKEY_USERS, std::string("S-1-5-") + FakeSid + "\\"), -1);
        bed.CloseAgent();
    }
}

TEST_F(AgentCopyData, OtherCodesDoNothing)
{
    bed.StartAgent();
    for (WPARAM code : {WPARAM(0), WPARAM(1), WPARAM(23913), WPARAM(23915), WPARAM(23916), WPARAM(23918)}) {
        SCOPED_TRACE(code);
        VTLOCK_STATE before = QueryDriverState();
        ASSERT_TRUE(SendText(code, FakeSid));
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ(after.LoadRequests, before.LoadRequests);
        EXPECT_EQ(after.StopRequests, before.StopRequests);
    }
}

TEST_F(AgentCopyData, VtsccReportsTheLoggedOnUser)
{
    bed.StartAgent();
    VTLOCK_STATE before = QueryDriverState();
    ProcessResult plain = RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe"));
    EXPECT_TRUE(plain.finished);
    EXPECT_EQ(plain.exitCode, 0u);
    VTLOCK_STATE after = FenceAgent();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests) << "without /NTUSER it does nothing";

    before = after;
    ProcessResult reported = RunAndWait(QuoteArgument(bed.Dir() + "vtscc.exe") + " /NTUSER");
    EXPECT_TRUE(reported.finished);
    EXPECT_EQ(reported.exitCode, 0u);
    EXPECT_EQ(QueryDriverState().LoadRequests, before.LoadRequests + 1);
    EXPECT_EQ(RegistryToolsPolicy(HKEY_CURRENT_USER), 1) << "the user's own hive is this user's";
}

TEST_F(AgentCopyData, VtsccWaitsForALateAgent)
{
    ChildProcess vtscc(StartProcess(QuoteArgument(bed.Dir() + "vtscc.exe") + " /NTUSER"));
    ASSERT_NE(vtscc, nullptr);
    EXPECT_FALSE(ProcessEnded(vtscc, 1000)) << "it waits while there is no agent";
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    EXPECT_TRUE(ProcessEnded(vtscc, 15000));
    EXPECT_EQ(ExitCodeOf(vtscc), 0u);
    EXPECT_EQ(QueryDriverState().LoadRequests, before.LoadRequests + 1);
}

}  // namespace
