// The 32 Windows policy restrictions, written to the user hive.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

using TextList = std::vector<std::string>;

constexpr int PolicyCount = 32;

extern const char* const PolicyKeys[9];             // numbered from 1; [0] unused
extern const char* const PolicyTable[PolicyCount];  // "kind,key,ValueName"
extern const char* const PolicyCaptions[PolicyCount];

// One "[POLICIES]" line read by the row number before its "=". A line that
// counts for nothing has no row: its number is missing or not decimal, its
// state is not "0", "1" or "2", its row lies outside the table, or an
// earlier line set the same row already.
enum class PolicyLineFault { None, Malformed, OutOfRange, Repeated };
struct PolicyLine {
    PolicyLineFault fault = PolicyLineFault::None;
    int row = -1;
    int state = 2;
    size_t earlier = 0;  // for Repeated: the index of the line that set the row
};
std::vector<PolicyLine> ReadPolicyLines(const TextList& lines);

void SetPolicy(int row, int state);
// Writes the rows the profile switches on or off; the others stay as they are.
void ApplyPolicies();
// Switches off the rows the profile set; the rows it leaves unchanged keep
// what an administrator or group policy put there.
void RemovePolicies();

// What the manager's three-state check list offers the conversions.
class PolicyCheckList {
public:
    virtual ~PolicyCheckList() = default;
    virtual int ItemCount() const = 0;
    virtual int ItemState(int index) const = 0;   // 0 empty, 1 ticked, 2 grayed
    virtual void SetItemState(int index, int state) = 0;
};

void PoliciesFromCheckList(const PolicyCheckList& list);
// False, with error naming the bad line, when a line is malformed or its
// index lies outside the list; items set before it keep their state. A
// repeated row is skipped, as the agent skips it.
bool PoliciesToCheckList(PolicyCheckList& list, std::string& error);
void GrayAllPolicies(PolicyCheckList& list);
