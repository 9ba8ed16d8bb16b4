// Switching protection on and off: the enable and start requests, the toggle
// with its password dialog and question, and "/D:" digests.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

const char* const OwnPassword = "own-secret";

class AgentToggle : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPasswords();
        SetSettings(false, false, false);
        bed.WriteProfile("default.vtp", RulesProfile(2));
    }

    void StartProtected(DWORD ownHash = 0)
    {
        ProfileText profile = RulesProfile(2);
        profile.passwordHash = ownHash;
        bed.WriteProfile("default.vtp", profile);
        SetSetting("AutoStart", 1);
        bed.StartAgent();
        ASSERT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 1; }));
    }

    void Run(const std::string& args) { EXPECT_EQ(RunAndWait(bed.Exe() + " " + args).exitCode, 0u); }

    AgentBed bed;
};

TEST_F(AgentToggle, EnableStartAndStopRequests)
{
    bed.StartAgent();
    unsigned int loads = QueryDriverState().LoadRequests;

    Run("/E");
    EXPECT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == 1 && s.LoadRequests == loads + 1; }));
    Broadcast("Vantrel.Stop");
    EXPECT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 0; }));
    Broadcast("Vantrel.Start");
    EXPECT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.Started == 1 && s.LoadRequests == loads + 2; }));
}

struct PasswordCase {
    const char* name;
    const char* button;   // how the password dialog is left
    const char* typed;
    bool disables;
    bool complains;       // "Password is incorrect."
};

void ExpectToggle(AgentBed& bed, const PasswordCase& c)
{
    SCOPED_TRACE(c.name);
    VTLOCK_STATE before = QueryDriverState();
    BoxAnswerer answerer(c.button, c.typed, true);
    EXPECT_EQ(RunAndWait(bed.Exe() + " /TOGGLE").exitCode, 0u);
    std::vector<SeenBox> seen = answerer.WaitSeen(c.complains ? 2 : 1);
    ASSERT_GE(seen.size(), 1u) << "no password dialog";
    if (c.disables) {
        EXPECT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 0; }));
    } else {
        VTLOCK_STATE after = FenceAgent();
        EXPECT_EQ(after.StopRequests, before.StopRequests + 1) << "only the fence stopped the driver";
    }
    seen = answerer.Seen();
    ASSERT_EQ(seen.size(), c.complains ? 2u : 1u);
    if (c.complains) {
        EXPECT_EQ(seen[1].text, "Password is incorrect.");
        EXPECT_EQ(seen[1].caption, "Disable protection");
        EXPECT_EQ(seen[1].icon, "information");
        EXPECT_EQ(seen[1].buttons, "ok");
    }
}

TEST_F(AgentToggle, ToggleWhenOnAsksForTheDefaultPassword)
{
    const PasswordCase cases[] = {
        {"wrong password", "ok", "guess", false, true},
        {"empty password", "ok", "", false, false},
        {"cancelled", "cancel", "toggle-secret", false, false},
        {"toggle password", "ok", TogglePassword, true, false},
        {"administrator password", "ok", AdminPassword, true, false},
    };
    for (const PasswordCase& c : cases) {
        StartProtected();
        ExpectToggle(bed, c);
        bed.CloseAgent();
    }
}

TEST_F(AgentToggle, AProfilesOwnPasswordReplacesTheDefaultOne)
{
    const PasswordCase cases[] = {
        {"default toggle password", "ok", TogglePassword, false, true},
        {"own password", "ok", OwnPassword, true, false},
        {"administrator password", "ok", AdminPassword, true, false},
    };
    for (const PasswordCase& c : cases) {
        StartProtected(Command18(OwnPassword));
        ExpectToggle(bed, c);
        bed.CloseAgent();
    }
}

TEST_F(AgentToggle, ToggleWhenOffAsksBeforeEnabling)
{
    bed.StartAgent();
    for (const char* answer : {"no", "yes"}) {
        SCOPED_TRACE(answer);
        VTLOCK_STATE before = QueryDriverState();
        BoxAnswerer answerer(answer);
        Run("/TOGGLE");
        std::vector<SeenBox> seen = answerer.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "It will enable Vantrel protection. Continue?");
        EXPECT_EQ(seen[0].caption, "Enable protection");
        EXPECT_EQ(seen[0].icon, "question");
        EXPECT_EQ(seen[0].buttons, "yes,no");
        if (std::string(answer) == "yes") {
            EXPECT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) {
                return s.Started == 1 && s.LoadRequests == before.LoadRequests + 1;
            }));
        } else {
            VTLOCK_STATE after = FenceAgent();
            EXPECT_EQ(after.LoadRequests, before.LoadRequests);
            EXPECT_EQ(after.StartRequests, before.StartRequests);
        }
    }
}

struct DigestCase {
    const char* name;
    std::string password;
    DWORD ownHash;
    bool disables;
};

TEST_F(AgentToggle, DisableDigests)
{
    const DigestCase cases[] = {
        {"toggle password", TogglePassword, 0, true},
        {"administrator password", AdminPassword, 0, true},
        {"wrong password", "guess", 0, false},
        {"empty password", "", 0, false},
        {"own password", OwnPassword, Command18(OwnPassword), true},
        {"own password on a profile without one", OwnPassword, 0, false},
        {"default password on a profile with its own", TogglePassword, Command18(OwnPassword), true},
    };
    for (const DigestCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartProtected(c.ownHash);
        BoxAnswerer answerer;
        VTLOCK_STATE before = QueryDriverState();
        Run(QuoteArgument("/D:" + c.password));
        if (c.disables) {
            EXPECT_TRUE(WaitDriver([](const VTLOCK_STATE& s) { return s.Started == 0; }));
        } else {
            VTLOCK_STATE after = FenceAgent();
            EXPECT_EQ(after.StopRequests, before.StopRequests + 1) << "only the fence stopped the driver";
        }
        EXPECT_TRUE(answerer.Seen().empty()) << "a refused digest shows nothing";
        bed.CloseAgent();
    }
}

}  // namespace
