#include "RestrictionsPage.h"
#include "ManagerIds.h"

namespace {

const char* const RestrictionsHelp =
    "On this tab you can change system Policies, i.e. restriction of access to different system programs and "
    "folders. Checking appropriate item, you will turn the restriction on, unchecking  -- restriction will be "
    "turned off,"
    " grayed item results that restriction state will not be changed.";

constexpr int ButtonRowHeight = 33;

}  // namespace

void TRestrictionsPage::Create(TTabSheet& sheet)
{
    RECT client = {};
    GetClientRect(sheet.Handle(), &client);
    const int height = client.bottom - HelpPanelHeight;
    RestrictionsPanel.Create(&sheet, ManagerWindowId::RestrictionsPanel, 0, 0, client.right, height, TBevel::None);
    RestrictionsPanel.SetAnchors(akLeft | akTop | akRight | akBottom);
    RestrictionsPanel.SetColor(PageColors::ListPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
        TCheckBoxState state;
    } buttons[] = {
        {&CheckAllButton, ManagerWindowId::CheckAllButton, "Check all", cbChecked},
        {&UncheckAllButton, ManagerWindowId::UncheckAllButton, "Uncheck all", cbUnchecked},
        {&GrayAllButton, ManagerWindowId::GrayAllButton, "Gray all", cbGrayed},
    };
    int left = 4;
    for (const auto& b : buttons) {
        b.button->Create(&RestrictionsPanel, b.id, b.caption, left, 4, 97, 25);
        b.button->OnClick = [this, state = b.state](TControl*) { OnSetAllRestrictions(state); };
        left += 101;
    }
    RestrictionList.Create(&RestrictionsPanel, ManagerWindowId::RestrictionList, 4, ButtonRowHeight, client.right - 8,
                         height - ButtonRowHeight - 4);
    RestrictionList.SetAnchors(akLeft | akTop | akRight | akBottom);
    RestrictionList.SetColor(PageColors::List);
    RestrictionList.SetAllowGrayed(true);
    for (const char* caption : PolicyCaptions) RestrictionList.Add(caption);
    RestrictionList.OnClickCheck = [this](TControl* sender) { OnRestrictionToggled(sender); };
    CreateHelpBox(sheet, RestrictionsHelpPanel, ManagerWindowId::RestrictionsHelpPanel, RestrictionsHelpBox,
                  ManagerWindowId::RestrictionsHelpBox, RestrictionsHelp);
}

void TRestrictionsPage::OnSetAllRestrictions(TCheckBoxState state)
{
    for (int i = 0; i < RestrictionList.Count(); ++i) RestrictionList.SetState(i, state);
    ProfileEdited();
}

void TRestrictionsPage::OnRestrictionToggled(TControl*)
{
    ProfileEdited();
}
