// The profile the agent applies for the logged-on user: every combination of
// UserControl and UseDefault, with and without the user's own file and
// "default.vtp". The user's profile has three file rules, the default one.
#include "../agent_shared/AgentTest.h"

using namespace agenttest;

namespace {

enum class Chosen { None, User, Default };

struct ChoiceCase {
    bool userControl;
    bool useDefault;
    bool userFile;
    bool defaultFile;
    Chosen chosen;
};

const ChoiceCase ChoiceCases[] = {
    {false, false, false, false, Chosen::None},    {false, false, false, true, Chosen::Default},
    {false, false, true, false, Chosen::None},     {false, false, true, true, Chosen::Default},
    {false, true, false, false, Chosen::None},     {false, true, false, true, Chosen::Default},
    {false, true, true, false, Chosen::None},      {false, true, true, true, Chosen::Default},
    {true, false, false, false, Chosen::None},     {true, false, false, true, Chosen::None},
    {true, false, true, false, Chosen::User},      {true, false, true, true, Chosen::User},
    {true, true, false, false, Chosen::None},      {true, true, false, true, Chosen::Default},
    {true, true, true, false, Chosen::User},       {true, true, true, true, Chosen::User},
};

std::string Describe(const ChoiceCase& c)
{
    return std::string("UserControl=") + (c.userControl ? "1" : "0") + " UseDefault=" + (c.useDefault ? "1" : "0") +
           " user file=" + (c.userFile ? "yes" : "no") + " default.vtp=" + (c.defaultFile ? "yes" : "no");
}

ProfileText WithFileRules(int count)
{
    ProfileText p = RulesProfile(1);
    p.files.clear();
    for (int i = 0; i < count; ++i)
        p.files.push_back("&.VT" + std::to_string(i));
    return p;
}

class AgentProfiles : public ::testing::Test {
protected:
    void Prepare(const ChoiceCase& c)
    {
        SetSettings(false, c.userControl, c.useDefault);
        bed.RemoveProfile(UserName() + ".vtp");
        bed.RemoveProfile("default.vtp");
        if (c.userFile)
            bed.WriteProfile(UserName() + ".vtp", WithFileRules(3));
        if (c.defaultFile)
            bed.WriteProfile("default.vtp", WithFileRules(1));
    }

    // Sends the request and checks the driver got the chosen profile or nothing.
    void ExpectChoice(Chosen chosen, const char* request)
    {
        VTLOCK_STATE before = QueryDriverState();
        Broadcast(request);
        if (chosen == Chosen::None) {
            VTLOCK_STATE after = FenceAgent();
            EXPECT_EQ(after.LoadRequests, before.LoadRequests) << request;
            EXPECT_EQ(after.StartRequests, before.StartRequests) << request;
            return;
        }
        ASSERT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.StartRequests > before.StartRequests; }))
            << request;
        VTLOCK_STATE after = QueryDriverState();
        EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1) << request;
        EXPECT_EQ(after.Started, 1u) << request;
        EXPECT_EQ(after.FileStrings, 7u + (chosen == Chosen::User ? 3u : 1u)) << request;
    }

    AgentBed bed;
};

TEST_F(AgentProfiles, EveryCombinationOfSettingsAndFiles)
{
    for (const ChoiceCase& c : ChoiceCases) {
        SCOPED_TRACE(Describe(c));
        Prepare(c);
        bed.StartAgent();
        ExpectChoice(c.chosen, "Vantrel.Start");
        bed.CloseAgent();
    }
}

TEST_F(AgentProfiles, AUserWithoutAFileAndNoFallbackGetsNothingFromAnyRequest)
{
    Prepare({true, false, false, true, Chosen::None});
    SetPasswords();
    bed.StartAgent();
    ExpectChoice(Chosen::None, "Vantrel.Enable");

    VTLOCK_STATE before = QueryDriverState();
    BoxAnswerer answerer("yes");
    RunAndWait(bed.Exe() + " /TOGGLE");
    ASSERT_EQ(answerer.WaitSeen(1).size(), 1u) << "the question was asked";
    VTLOCK_STATE after = FenceAgent();
    EXPECT_EQ(after.LoadRequests, before.LoadRequests);
    EXPECT_EQ(after.StartRequests, before.StartRequests);
}

TEST_F(AgentProfiles, AutoStartUsesTheSameChoice)
{
    Prepare({true, true, true, true, Chosen::User});
    SetSetting("AutoStart", 1);
    VTLOCK_STATE before = QueryDriverState();
    bed.StartAgent();
    ASSERT_TRUE(WaitDriver([&](const VTLOCK_STATE& s) { return s.StartRequests > before.StartRequests; }));
    EXPECT_EQ(QueryDriverState().FileStrings, 10u);
}

}  // namespace
