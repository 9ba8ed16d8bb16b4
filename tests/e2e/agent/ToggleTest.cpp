// Switching protection off and on at the user's request: the toggle's
// password dialog and question, and the digests that "/D:" broadcasts. The
// administrator password always works; a profile's own password replaces the
// default toggle password.
#include "../agent_shared/AgentTest.h"
#include "ManagerSupport.h"

using namespace agenttest;

namespace {

TEST(AgentToggle, PasswordsDigestsAndTheQuestion)
{
    AgentBed bed;
    SetPasswords(AdminPassword, TogglePassword);
    SetSettings(false, false, false);
    bed.StartAgent();
    const char* const Own = "own-secret";
    const DWORD own = Command18(Own);
    const struct {
        const char* name;
        DWORD ownHash;     // of the profile's own password, 0 for none
        const char* command;  // "/TOGGLE" with the password typed into its dialog, or "/D:" with it
        const char* button;   // how the dialog is left
        std::string password;
        bool disables, complains;  // "Password is incorrect."
    } cases[] = {
        {"typed toggle password", 0, "/TOGGLE", "ok", TogglePassword, true, false},
        {"typed administrator password", 0, "/TOGGLE", "ok", AdminPassword, true, false},
        {"typed wrong password", 0, "/TOGGLE", "ok", "guess", false, true},
        {"typed nothing", 0, "/TOGGLE", "ok", "", false, false},
        {"cancelled", 0, "/TOGGLE", "cancel", TogglePassword, false, false},
        {"typed own password", own, "/TOGGLE", "ok", Own, true, false},
        {"typed administrator password, own one set", own, "/TOGGLE", "ok", AdminPassword, true, false},
        {"typed toggle password, own one set", own, "/TOGGLE", "ok", TogglePassword, false, true},
        {"digest of the toggle password", 0, "/D:", "", TogglePassword, true, false},
        {"digest of the administrator password", 0, "/D:", "", AdminPassword, true, false},
        {"digest of a wrong password", 0, "/D:", "", "guess", false, false},
        {"digest of nothing", 0, "/D:", "", "", false, false},
        {"digest of the own password", own, "/D:", "", Own, true, false},
        {"digest of an own password not set", 0, "/D:", "", Own, false, false},
        {"digest of the toggle password, own one set", own, "/D:", "", TogglePassword, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileText profile = RulesProfile(2);
        profile.passwordHash = c.ownHash;
        bed.WriteProfile("default.vtp", profile);
        VTLOCK_STATE before = FenceAgent();
        const bool toggle = std::string(c.command) == "/TOGGLE";
        BoxAnswerer answerer(toggle ? c.button : "ok", toggle ? c.password : "", toggle);
        std::string command = toggle ? c.command : QuoteArgument(c.command + c.password);
        EXPECT_EQ(RunAndWait(bed.Exe() + " " + command).exitCode, 0u);
        const size_t boxes = toggle ? 1 + c.complains : 0;
        answerer.WaitSeen(boxes);
        EXPECT_TRUE(WaitSettled(FindAgent()));
        VTLOCK_STATE after = FenceAgent();
        EXPECT_EQ(after.StopRequests - before.StopRequests, c.disables ? 2u : 1u) << "disabled, and the fence";
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), boxes);
        if (c.complains) {
            EXPECT_EQ(seen[1].caption + ": " + seen[1].text + " (" + seen[1].icon + ", " + seen[1].buttons + ")",
                      "Disable protection: Password is incorrect. (information, ok)");
        }
    }

    // Protection is off: the toggle asks before it enables.
    Broadcast("Vantrel.Stop");
    ASSERT_TRUE(WaitStarted(0));
    for (const char* answer : {"no", "yes"}) {
        SCOPED_TRACE(answer);
        VTLOCK_STATE before = QueryDriverState();
        BoxAnswerer answerer(answer);
        EXPECT_EQ(RunAndWait(bed.Exe() + " /TOGGLE").exitCode, 0u);
        std::vector<SeenBox> seen = answerer.WaitSeen(1);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption + ": " + seen[0].text + " (" + seen[0].icon + ", " + seen[0].buttons + ")",
                  "Enable protection: It will enable Vantrel protection. Continue? (question, yes,no)");
        EXPECT_TRUE(WaitSettled(FindAgent()));
        VTLOCK_STATE after = QueryDriverState();
        const unsigned int applied = std::string(answer) == "yes";
        EXPECT_EQ(after.LoadRequests, before.LoadRequests + applied);
        EXPECT_EQ(after.StartRequests, before.StartRequests + applied);
    }
}

}  // namespace
