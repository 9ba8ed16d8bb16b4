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

void TFolderPage::OnAccessButton(TControl* sender)
{
    AccessButton clicked = AccessButton::FullAccess;
    if (sender == &ReadOnlyButton) clicked = AccessButton::ReadOnly;
    else if (sender == &HiddenButton) clicked = AccessButton::Hidden;
    else if (sender == &NoAccessButton) clicked = AccessButton::NoAccess;
    AccessFlags pressed;
    pressed.ReadOnly = ReadOnlyButton.Down();
    pressed.Hidden = HiddenButton.Down();
    pressed.NoAccess = NoAccessButton.Down();
    pressed = ReleaseConflictingButtons(clicked, pressed);
    ReadOnlyButton.SetDown(pressed.ReadOnly);
    HiddenButton.SetDown(pressed.Hidden);
    NoAccessButton.SetDown(pressed.NoAccess);
    const int image = PressedButtonsImage(pressed);

    if (HTREEITEM node = FolderTree.Selected()) {
        ProfileEdited();
        const std::string path = NodePath(node);
        if (!ConfirmRestriction(path, pressed.NoAccess, pressed.Hidden)) {
            if (auto* button = dynamic_cast<TSpeedButton*>(sender)) button->SetDown(false);
            return;
        }
        HTREEITEM parent = FolderTree.Parent(node);
        if (parent && FolderTree.ImageIndex(parent) == image) {
            DeleteFolderRule(path);
            SetNodeAccess(node, image, false);
        } else {
            AddFolderRule(path, pressed.ReadOnly, pressed.Hidden, pressed.NoAccess);
            SetNodeAccess(node, image, true);
        }
        PropagateAccess(node, image);
        FolderTree.Invalidate();
    }
    ShowCaptionColours();
}

void TFolderPage::ShowCaptionColours()
{
    for (TSpeedButton* button : {&ReadOnlyButton, &HiddenButton, &NoAccessButton})
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
    for (HTREEITEM child = FolderTree.FirstChild(node); child; child = FolderTree.NextSibling(child)) {
        if (FolderTree.StateIndex(child) == OwnRuleMark) continue;
        SetNodeAccess(child, imageIndex, false);
        PropagateAccess(child, imageIndex);
    }
}

void TFolderPage::ShowNodeAccess()
{
    HTREEITEM node = FolderTree.Selected();
    if (!node) return;
    const AccessFlags shown = ImageButtons(FolderTree.ImageIndex(node));
    ReadOnlyButton.SetDown(shown.ReadOnly);
    HiddenButton.SetDown(shown.Hidden);
    NoAccessButton.SetDown(shown.NoAccess);
}
