// Reading the profile's policy lines into a three-state check list. The lines
// written from the list, the list grayed and the states shown on loading are
// checked in the manager's window (tests/unit/profile_commands).
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
