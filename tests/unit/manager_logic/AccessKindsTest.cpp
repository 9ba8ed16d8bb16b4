// The access kinds: codes, images, texts, and the mappings of the two rule
// dialogs and the folder tab's access buttons.
#include "AccessKinds.h"

#include <gtest/gtest.h>

namespace {

const AccessFlags None = {false, false, false};
const AccessFlags ReadOnly = {true, false, false};
const AccessFlags Hidden = {false, true, false};
const AccessFlags NoAccess = {false, false, true};
const AccessFlags ReadOnlyHidden = {true, true, false};
const AccessFlags HiddenNoAccess = {false, true, true};

std::string Describe(const AccessFlags& f)
{
    return std::string(f.ReadOnly ? "R" : "-") + (f.Hidden ? "H" : "-") + (f.NoAccess ? "N" : "-");
}

}  // namespace

// One row per access kind as the folder tab and the folder dialog show it.
TEST(AccessKinds, EachKindAcrossCodeImageTextRadioAndButtons)
{
    struct Kind {
        AccessFlags flags;
        const char* code;
        int image;
        int folderRadio;
        const char* text;
    };
    const Kind kinds[] = {
        {None, "+", 0, 0, "Full access (read/write)"},
        {ReadOnly, "-", 1, 1, "Read only access"},
        {NoAccess, "&", 2, 3, "Access denied"},
        {Hidden, "!", 3, 2, "Hidden - not visible in the Explorer"},
        {ReadOnlyHidden, "@", 4, 4, "Read only access, invisible in the Explorer"},
        {HiddenNoAccess, "#", 5, 5, "Access denied, invisible in the Explorer"},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.code);
        EXPECT_EQ(AccessCode(k.flags), k.code);
        EXPECT_EQ(AccessImage(k.code), k.image);
        EXPECT_EQ(AccessText(k.code), k.text);
        EXPECT_EQ(FolderRadioIndex(k.code), k.folderRadio);
        EXPECT_EQ(FolderRadioFlags(k.folderRadio), k.flags) << Describe(FolderRadioFlags(k.folderRadio));
        EXPECT_EQ(ImageButtons(k.image), k.flags) << Describe(ImageButtons(k.image));
        EXPECT_EQ(PressedButtonsImage(k.flags), k.image);
    }
}

TEST(AccessKinds, ReadOnlyWithNoAccessHasNoKind)
{
    EXPECT_EQ(AccessCode({true, false, true}), "");
    EXPECT_EQ(AccessCode({true, true, true}), "");
    EXPECT_EQ(PressedButtonsImage({true, false, true}), 0);
    EXPECT_EQ(PressedButtonsImage({true, true, true}), 0);
}

TEST(AccessKinds, TextsThatAreNoCode)
{
    for (const char* text : {"", "x", "++", "-C:", "%", " "}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(AccessImage(text), 0);
        EXPECT_EQ(AccessText(text), "");
        EXPECT_EQ(FolderRadioIndex(text), 0);
    }
    EXPECT_EQ(FolderRadioFlags(-1), None);
    EXPECT_EQ(FolderRadioFlags(6), None);
    EXPECT_EQ(ImageButtons(6), None);
}

TEST(AccessKinds, FileDialogOffersThreeKinds)
{
    const struct {
        int radio;
        const char* code;
    } offered[] = {{0, "+"}, {1, "-"}, {2, "&"}};
    for (const auto& o : offered) {
        EXPECT_EQ(FileRadioCode(o.radio), o.code);
        EXPECT_EQ(FileRadioIndex(o.code), o.radio);
    }
    for (int radio : {-1, 3, 5}) EXPECT_EQ(FileRadioCode(radio), "+") << radio;
    for (const char* code : {"!", "@", "#", "", "x"}) EXPECT_EQ(FileRadioIndex(code), -1) << code;
}

TEST(AccessButtons, ClicksReleaseWhatCannotGoTogether)
{
    struct Click {
        AccessButton sender;
        AccessFlags pressedAfterToggle;
        AccessFlags kept;
        int image;
    };
    const Click clicks[] = {
        // No Access pressed while Read Only is pressed releases Read Only.
        {AccessButton::NoAccess, {true, false, true}, NoAccess, 2},
        {AccessButton::ReadOnly, {true, false, true}, ReadOnly, 1},
        // Hidden, then No Access: hidden and no access.
        {AccessButton::Hidden, Hidden, Hidden, 3},
        {AccessButton::NoAccess, HiddenNoAccess, HiddenNoAccess, 5},
        {AccessButton::ReadOnly, {true, true, true}, ReadOnlyHidden, 4},
        {AccessButton::Hidden, ReadOnlyHidden, ReadOnlyHidden, 4},
        // Releasing a button keeps the others.
        {AccessButton::ReadOnly, Hidden, Hidden, 3},
        {AccessButton::FullAccess, {true, true, false}, None, 0},
        {AccessButton::FullAccess, HiddenNoAccess, None, 0},
    };
    for (const Click& c : clicks) {
        AccessFlags after = ReleaseConflictingButtons(c.sender, c.pressedAfterToggle);
        EXPECT_EQ(after, c.kept) << Describe(c.pressedAfterToggle) << " -> " << Describe(after);
        EXPECT_EQ(PressedButtonsImage(after), c.image) << Describe(after);
    }
}
