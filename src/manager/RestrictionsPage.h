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

    // "Check all", "Uncheck all", "Gray all": every line given one state.
    void OnSetAllRestrictions(TCheckBoxState state);
    void OnRestrictionToggled(TControl* sender);
    PolicyCheckList& Policies() { return policies_; }

    TPanel RestrictionsPanel;
    TSpeedButton CheckAllButton;  // "Check all"
    TSpeedButton UncheckAllButton;  // "Uncheck all"
    TSpeedButton GrayAllButton;  // "Gray all"
    TCheckListBox RestrictionList;
    TPanel RestrictionsHelpPanel;
    TStaticText RestrictionsHelpBox;

private:
    TCheckListPolicies policies_{RestrictionList};
};
