// The "Restrictions" tab: the 32 policy restrictions in a three-state check
// list (checked on, unchecked off, grayed left as it is) and the buttons
// that give every line one state.
#pragma once
#include "CheckListBox.h"
#include "EditingPage.h"
#include "Policies.h"
#include "SpeedButton.h"

// The check list as the policy conversions read and set it.
class TCheckListPolicies : public PolicyCheckList {
public:
    explicit TCheckListPolicies(TCheckListBox& list) : list_(list) {}
    int ItemCount() const override { return list_.Count(); }
    int ItemState(int index) const override { return list_.State(index); }
    void SetItemState(int index, int state) override
    {
        list_.SetState(index, static_cast<TCheckBoxState>(state));
    }

private:
    TCheckListBox& list_;
};

class TRestrictionsPage : public TEditingPage {
public:
    void Create(TTabSheet& sheet);

    void Button10Click(TControl* sender);  // "Check all", "Uncheck all", "Gray all"
    void CheckListBox1ClickCheck(TControl* sender);
    PolicyCheckList& Policies() { return policies_; }

    TPanel Panel3;
    TSpeedButton Button10;  // "Check all"
    TSpeedButton Button11;  // "Uncheck all"
    TSpeedButton Button12;  // "Gray all"
    TCheckListBox CheckListBox1;
    TPanel Panel11;
    TStaticText StaticText3;

private:
    TCheckListPolicies policies_{CheckListBox1};
};
