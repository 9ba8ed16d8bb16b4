// The folder tab's four access buttons: they give the folder selected in the
// tree its access, after a warning where hiding or closing a folder could
// stop Windows or programs from working.
#include "AccessKinds.h"
#include "FolderPage.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"

namespace {

constexpr COLORREF PressedCaption = RGB(0, 0, 0);
constexpr COLORREF ReleasedCaption = RGB(255, 255, 255);

const char* const WindowsFolderQuestion =
    "You are about restricting access to Windows folder or one of its subfolders. This may cause disabling of "
    "access to important system files and folders, so your computer may not reboots.\r\n"
    "We recommend do not use hiding or disabling of access on this folder.\r\nAre you sure to continue?";
const char* const ProgramFilesQuestion =
    "You are about restricting access to Program Files folder. This may prevent your programs from running.\r\n"
    "We recommend to use read-only access instead.\r\nAre you sure to continue?";
const char* const WholeDiskQuestion =
    "You are about restricting access to whole disk content. This may prevent all programs/system, placed on "
    "this disk from running.\r\n"
    "We recommend to use read-only access instead.\r\nAre you sure to continue?";

bool AskWarning(const char* question)
{
    return ShowMessage(question, "Warning", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

}  // namespace

void TFolderPage::SpeedButton1Click(TControl* sender)
{
    AccessButton clicked = AccessButton::FullAccess;
    if (sender == &SpeedButton1) clicked = AccessButton::ReadOnly;
    else if (sender == &SpeedButton2) clicked = AccessButton::Hidden;
    else if (sender == &SpeedButton3) clicked = AccessButton::NoAccess;
    AccessFlags pressed;
    pressed.ReadOnly = SpeedButton1.Down();
    pressed.Hidden = SpeedButton2.Down();
    pressed.NoAccess = SpeedButton3.Down();
    pressed = ReleaseConflictingButtons(clicked, pressed);
    SpeedButton1.SetDown(pressed.ReadOnly);
    SpeedButton2.SetDown(pressed.Hidden);
    SpeedButton3.SetDown(pressed.NoAccess);
    const int image = PressedButtonsImage(pressed);

    if (HTREEITEM node = TreeView1.Selected()) {
        ProfileEdited();
        const std::string path = NodePath(node);
        if (!ConfirmRestriction(path, pressed.NoAccess, pressed.Hidden)) {
            if (auto* button = dynamic_cast<TSpeedButton*>(sender)) button->SetDown(false);
            return;
        }
        HTREEITEM parent = TreeView1.Parent(node);
        if (parent && TreeView1.ImageIndex(parent) == image) {
            DeleteFolderRule(path);
            SetNodeAccess(node, image, false);
        } else {
            AddFolderRule(path, pressed.ReadOnly, pressed.Hidden, pressed.NoAccess);
            SetNodeAccess(node, image, true);
        }
        PropagateAccess(node, image);
        TreeView1.Invalidate();
    }
    ShowCaptionColours();
}

void TFolderPage::ShowCaptionColours()
{
    for (TSpeedButton* button : {&SpeedButton1, &SpeedButton2, &SpeedButton3})
        button->SetFontColor(button->Down() ? PressedCaption : ReleasedCaption);
}

bool TFolderPage::ConfirmRestriction(const std::string& path, bool noAccess, bool hidden)
{
    if (!noAccess && !hidden) return true;
    const std::string upper = UpperCase(path);
    bool proceed = true;
    if (upper.compare(0, WindowsDir.size(), WindowsDir) == 0) proceed = AskWarning(WindowsFolderQuestion);
    if (upper == ProgramFilesDir) proceed = AskWarning(ProgramFilesQuestion);
    if (upper.size() == 2) proceed = AskWarning(WholeDiskQuestion);
    return proceed;
}

void TFolderPage::PropagateAccess(HTREEITEM node, int imageIndex)
{
    for (HTREEITEM child = TreeView1.FirstChild(node); child; child = TreeView1.NextSibling(child)) {
        if (TreeView1.StateIndex(child) == OwnRuleMark) continue;
        SetNodeAccess(child, imageIndex, false);
        PropagateAccess(child, imageIndex);
    }
}

void TFolderPage::ShowNodeAccess()
{
    HTREEITEM node = TreeView1.Selected();
    if (!node) return;
    const AccessFlags shown = ImageButtons(TreeView1.ImageIndex(node));
    SpeedButton1.SetDown(shown.ReadOnly);
    SpeedButton2.SetDown(shown.Hidden);
    SpeedButton3.SetDown(shown.NoAccess);
}
