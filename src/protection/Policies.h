// The 32 Windows policy restrictions and the user hive they are written to.
#pragma once
#include <windows.h>
#include <string>

constexpr int PolicyCount = 32;

extern const char* const PolicyKeys[9];             // numbered from 1; [0] unused
extern const char* const PolicyTable[PolicyCount];  // "kind,key,ValueName"
extern const char* const PolicyCaptions[PolicyCount];

// The registry root of policy values and per-user shell folders.
extern HKEY UserHiveKey;

void SetPolicy(int row, int state);
void ApplyPolicies();
void RemovePolicies();
// Opens HKEY_USERS\S-1-5-<sidSuffix>; a malformed suffix or a hive that is
// not loaded leaves UserHiveKey unchanged.
bool OpenUserHive(const std::string& sidSuffix);
void CloseUserHive();

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
// index lies outside the list; items set before it keep their state.
bool PoliciesToCheckList(PolicyCheckList& list, std::string& error);
void GrayAllPolicies(PolicyCheckList& list);
