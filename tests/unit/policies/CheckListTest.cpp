// Conversions between the profile's policy lines and a three-state check list.
#include "Policies.h"
#include "UProfiles.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class FakeCheckList : public PolicyCheckList {
public:
    FakeCheckList() : states(PolicyCount, 0) {}
    int ItemCount() const override { return static_cast<int>(states.size()); }
    int ItemState(int index) const override { return states.at(index); }
    void SetItemState(int index, int state) override { states.at(index) = state; }
    std::vector<int> states;
};

TEST(CheckList, LinesAndStatesBothWays)
{
    FakeCheckList source, target;
    for (int i = 0; i < PolicyCount; ++i) source.states[i] = (i * 7) % 3;
    Profile.Policies = {"stale line"};
    PoliciesFromCheckList(source);
    ASSERT_EQ(32u, Profile.Policies.size());
    EXPECT_EQ("0=0", Profile.Policies[0]);
    EXPECT_EQ("31=1", Profile.Policies[31]);
    std::string error = "previous";
    ASSERT_TRUE(PoliciesToCheckList(target, error));
    EXPECT_EQ("", error);
    EXPECT_EQ(source.states, target.states);

    // A line sets the item it names, whatever its place.
    Profile.Policies = {"5=1", "2=2"};
    FakeCheckList named;
    ASSERT_TRUE(PoliciesToCheckList(named, error));
    EXPECT_EQ(1, named.states[5]);
    EXPECT_EQ(2, named.states[2]);
    GrayAllPolicies(named);
    EXPECT_EQ(std::vector<int>(PolicyCount, 2), named.states);
}

TEST(CheckList, MalformedLineStopsWithAnErrorNamingIt)
{
    for (const char* bad : {"x=1", "3=a", "3", "=1", "3=", "-1=1", "32=1", "3=3", "3=1 ", " 3=1", "99999999999=1"}) {
        SCOPED_TRACE(bad);
        Profile.Policies = {"0=1", bad, "1=1"};
        FakeCheckList list;
        std::string error;
        EXPECT_FALSE(PoliciesToCheckList(list, error));
        EXPECT_EQ("Invalid restriction line in the profile: \"" + std::string(bad) + "\"", error);
        EXPECT_EQ(1, list.states[0]);  // the lines before it are set
        EXPECT_EQ(0, list.states[1]);  // nothing after it
    }
}

}  // namespace
