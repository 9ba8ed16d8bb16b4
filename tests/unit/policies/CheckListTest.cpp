// Conversions between the profile's policy lines and a three-state check list.
#include "Policies.h"
#include "UProfiles.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class FakeCheckList : public PolicyCheckList {
public:
    explicit FakeCheckList(int count) : states(count, 0) {}
    int ItemCount() const override { return static_cast<int>(states.size()); }
    int ItemState(int index) const override { return states.at(index); }
    void SetItemState(int index, int state) override { states.at(index) = state; }
    std::vector<int> states;
};

class CheckList : public ::testing::Test {
protected:
    void SetUp() override { Profile = TProfile(); }
};

}  // namespace

TEST_F(CheckList, FromCheckListGivesOneLinePerItemInOrder) {
    FakeCheckList list(PolicyCount);
    for (int i = 0; i < PolicyCount; ++i) list.states[i] = i % 3;
    Profile.Policies = {"stale line"};
    PoliciesFromCheckList(list);
    ASSERT_EQ(Profile.Policies.size(), 32u);
    for (int i = 0; i < PolicyCount; ++i)
        EXPECT_EQ(Profile.Policies[i], std::to_string(i) + "=" + std::to_string(i % 3));
}

TEST_F(CheckList, GrayAllSetsTheThirdState) {
    FakeCheckList list(PolicyCount);
    list.states[4] = 1;
    GrayAllPolicies(list);
    EXPECT_EQ(list.states, std::vector<int>(PolicyCount, 2));
}

TEST_F(CheckList, RoundTripKeepsEveryState) {
    FakeCheckList source(PolicyCount);
    for (int i = 0; i < PolicyCount; ++i) source.states[i] = (i * 7) % 3;
    PoliciesFromCheckList(source);
    FakeCheckList target(PolicyCount);
    std::string error = "previous";
    ASSERT_TRUE(PoliciesToCheckList(target, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(target.states, source.states);
}

TEST_F(CheckList, LinesSetTheItemTheyName) {
    Profile.Policies = {"5=1", "2=2", "31=1"};
    FakeCheckList list(PolicyCount);
    std::string error;
    ASSERT_TRUE(PoliciesToCheckList(list, error));
    EXPECT_EQ(list.states[5], 1);
    EXPECT_EQ(list.states[2], 2);
    EXPECT_EQ(list.states[31], 1);
    EXPECT_EQ(list.states[0], 0);
}

TEST_F(CheckList, MalformedLineStopsWithAnErrorNamingIt) {
    const char* const badLines[] = {"x=1", "3=a", "3", "=1", "3=", "-1=1", "32=1", "3=3", "3=1 ", " 3=1",
                                    "99999999999=1"};
    for (const char* bad : badLines) {
        Profile.Policies = {"0=1", bad, "1=1"};
        FakeCheckList list(PolicyCount);
        std::string error;
        EXPECT_FALSE(PoliciesToCheckList(list, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
        EXPECT_EQ(list.states[0], 1) << "items before the bad line keep their state";
        EXPECT_EQ(list.states[1], 0) << "nothing after the bad line is set";
    }
}
