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
    Panel3.Create(&sheet, Form1Id::Panel3, 0, 0, client.right, height, TBevel::None);
    Panel3.SetAnchors(akLeft | akTop | akRight | akBottom);
    Panel3.SetColor(PageColors::ListPanel);
    const struct {
        TSpeedButton* button;
        int id;
        const char* caption;
    } buttons[] = {
        {&Button10, Form1Id::Button10, "Check all"},
        {&Button11, Form1Id::Button11, "Uncheck all"},
        {&Button12, Form1Id::Button12, "Gray all"},
    };
    int left = 4;
    for (const auto& b : buttons) {
        b.button->Create(&Panel3, b.id, b.caption, left, 4, 97, 25);
        b.button->OnClick = [this](TControl* sender) { Button10Click(sender); };
        left += 101;
    }
    CheckListBox1.Create(&Panel3, Form1Id::CheckListBox1, 4, ButtonRowHeight, client.right - 8,
                         height - ButtonRowHeight - 4);
    CheckListBox1.SetAnchors(akLeft | akTop | akRight | akBottom);
    CheckListBox1.SetColor(PageColors::List);
    CheckListBox1.SetAllowGrayed(true);
    for (const char* caption : PolicyCaptions) CheckListBox1.Add(caption);
    CheckListBox1.OnClickCheck = [this](TControl* sender) { CheckListBox1ClickCheck(sender); };
    CreateHelpBox(sheet, Panel11, Form1Id::Panel11, StaticText3, Form1Id::StaticText3, RestrictionsHelp);
}

void TRestrictionsPage::Button10Click(TControl* sender)
{
    TCheckBoxState state = cbGrayed;
    if (sender == &Button10) state = cbChecked;
    else if (sender == &Button11) state = cbUnchecked;
    for (int i = 0; i < CheckListBox1.Count(); ++i) CheckListBox1.SetState(i, state);
    ProfileEdited();
}

void TRestrictionsPage::CheckListBox1ClickCheck(TControl*)
{
    ProfileEdited();
}
