// The administrator password dialog and the password change dialog, typed
// into and clicked as a user does; their message boxes answered by the box
// answerer and checked as the user read them.
#include "DialogForms.h"
#include "UQAPass.h"
#include "UQUPass.h"
#include "vrcmd.h"

namespace {

const char* const EmptyText = "Password cannot be empty.";
const char* const MismatchText = "First and second password fields are not identical. Enter password again.";

class AdministratorPasswordDialog : public DialogTest {};
class PasswordChangeDialog : public DialogTest {};

HWND Field1() { return FQUPass->Edit1.Handle(); }
HWND Field2() { return FQUPass->Edit2.Handle(); }
char MaskOf(HWND edit) { return static_cast<char>(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0)); }
bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

TEST_F(AdministratorPasswordDialog, GivesTheTypedTextOnlyForOk) {
    struct Case {
        const char* name;
        std::function<void()> close;
        const char* result;
    };
    const Case cases[] = {
        {"OK", [] { Click(FQPass->Button1.Handle()); }, "Letmein 7"},
        {"Enter in the field", [] { PressKey(VK_RETURN); }, "Letmein 7"},
        {"Cancel", [] { Click(FQPass->Button2.Handle()); }, ""},
        {"Esc", [] { PressKey(VK_ESCAPE); }, ""},
        {"the close box", [] { PostMessageA(FQPass->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, ""},
    };
    for (const Case& c : cases) {
        FormScript script;
        script.WaitShown(FQPass->Handle())
            .Do([] {
                ClearField(FQPass->Edit1.Handle());
                Type(FQPass->Edit1.Handle(), "Letmein 7");
            })
            .Do(c.close);
        script.Start();
        EXPECT_EQ(QueryAdministratorPassword(), c.result) << c.name;
        EXPECT_FALSE(IsWindowVisible(FQPass->Handle())) << c.name;
    }
}

TEST_F(AdministratorPasswordDialog, KeepsTheTypedTextAndHidesItUntilAskedToShowIt) {
    std::string caption, prompt;
    char maskShown = 0, maskUnhidden = 1, maskHiddenAgain = 0;
    bool focusInField = false;
    std::string keptText;
    FormScript script;
    script.WaitShown(FQPass->Handle())
        .Do([&] {
            caption = TextOf(FQPass->Handle());
            prompt = TextOf(FQPass->Label1.Handle());
            focusInField = GetFocus() == FQPass->Edit1.Handle();
            maskShown = MaskOf(FQPass->Edit1.Handle());
            ClearField(FQPass->Edit1.Handle());
            Type(FQPass->Edit1.Handle(), "kept");
        })
        .Do([] { Click(FQPass->CheckBox1.Handle()); })
        .WaitUntil("Hide typing unchecked", [] { return !Checked(FQPass->CheckBox1.Handle()); })
        .Do([&] { maskUnhidden = MaskOf(FQPass->Edit1.Handle()); })
        .Do([] { Click(FQPass->CheckBox1.Handle()); })
        .WaitUntil("Hide typing checked", [] { return Checked(FQPass->CheckBox1.Handle()); })
        .Do([&] { maskHiddenAgain = MaskOf(FQPass->Edit1.Handle()); })
        .Do([] { Click(FQPass->Button2.Handle()); })
        .WaitUntil("the dialog shown again", [] { return IsWindowVisible(FQPass->Handle()) != FALSE; })
        .Do([&] { keptText = TextOf(FQPass->Edit1.Handle()); })
        .Do([] { Click(FQPass->Button1.Handle()); });
    script.Start();
    EXPECT_EQ(QueryAdministratorPassword(), "");
    EXPECT_EQ(QueryAdministratorPassword(), "kept");
    EXPECT_EQ(caption, "Enter administrator's password");
    EXPECT_EQ(prompt, "Access to Vantrel profile manager is protected by password. Enter Vantrel administrator's "
                      "password to continue.");
    EXPECT_TRUE(focusInField);
    EXPECT_EQ(maskShown, '*');
    EXPECT_EQ(maskUnhidden, '\0');
    EXPECT_EQ(maskHiddenAgain, '*');
    EXPECT_EQ(keptText, "kept");
}

TEST_F(PasswordChangeDialog, RefusesAnEmptyOrMismatchedPasswordAndStaysOpen) {
    struct Case {
        const char* name;
        const char* first;
        const char* second;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"both fields empty", "", "", "Change password", EmptyText},
        {"only the second field typed", "", "secret", "Change password", EmptyText},
        {"the second field empty", "secret", "", "Settings", MismatchText},
        {"the second field differs", "secret", "secrets", "Settings", MismatchText},
        {"case counts", "Secret", "secret", "Settings", MismatchText},
    };
    BoxAnswerer answerer("ok");
    size_t answered = 0;
    for (const Case& c : cases) {
        bool stillOpen = false;
        std::string first, second;
        FormScript script;
        script.WaitShown(FQUPass->Handle())
            .Do([&] {
                Type(Field1(), c.first);
                Type(Field2(), c.second);
                Click(FQUPass->Button1.Handle());
            })
            .WaitBoxesAnswered(answerer, ++answered)
            .Do([&] {
                stillOpen = IsWindowVisible(FQUPass->Handle()) != FALSE;
                first = TextOf(Field1());
                second = TextOf(Field2());
                Click(FQUPass->Button2.Handle());
            });
        script.Start();
        EXPECT_EQ(QueryNewPassword(), "") << c.name;
        std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), answered) << c.name;
        EXPECT_EQ(seen.back().caption, c.caption) << c.name;
        EXPECT_EQ(seen.back().text, c.text) << c.name;
        EXPECT_EQ(seen.back().icon, "warning") << c.name;
        EXPECT_EQ(seen.back().buttons, "ok") << c.name;
        EXPECT_TRUE(stillOpen) << c.name;
        EXPECT_EQ(first, c.first) << c.name;
        EXPECT_EQ(second, c.second) << c.name;
    }
}

TEST_F(PasswordChangeDialog, GivesTheTwiceTypedPasswordAndStartsEmptyEachTime) {
    struct Seen {
        std::string first, second;
        bool hideTyping = false, secondEnabled = false, focusInFirst = false;
        char mask1 = 0, mask2 = 0;
    };
    auto look = [](Seen& seen) {
        seen.first = TextOf(Field1());
        seen.second = TextOf(Field2());
        seen.hideTyping = Checked(FQUPass->CheckBox1.Handle());
        seen.secondEnabled = IsWindowEnabled(Field2()) != FALSE;
        seen.focusInFirst = GetFocus() == Field1();
        seen.mask1 = MaskOf(Field1());
        seen.mask2 = MaskOf(Field2());
    };
    Seen atFirstShow, unhidden, atSecondShow;
    std::string caption;
    FormScript script;
    script.WaitShown(FQUPass->Handle())
        .Do([&] {
            look(atFirstShow);
            caption = TextOf(FQUPass->Handle());
            Type(Field1(), "Mixed Case 1");
            Type(Field2(), "Mixed Case 1");
            PressKey(VK_RETURN);
        })
        .WaitUntil("the dialog shown again", [] { return IsWindowVisible(FQUPass->Handle()) != FALSE; })
        .Do([] {
            Type(Field1(), "seen");
            Type(Field2(), "typo");
            Click(FQUPass->CheckBox1.Handle());
        })
        .WaitUntil("Hide typing unchecked", [] { return !Checked(FQUPass->CheckBox1.Handle()); })
        .Do([&] {
            look(unhidden);
            Click(FQUPass->Button1.Handle());
        })
        .WaitUntil("the dialog shown a third time", [] { return IsWindowVisible(FQUPass->Handle()) != FALSE; })
        .Do([&] {
            look(atSecondShow);
            PressKey(VK_ESCAPE);
        });
    script.Start();
    EXPECT_EQ(QueryNewPassword(), "Mixed Case 1");
    EXPECT_EQ(QueryNewPassword(), "seen");
    EXPECT_EQ(QueryNewPassword(), "");

    EXPECT_EQ(caption, "Change password");
    for (const Seen* s : {&atFirstShow, &atSecondShow}) {
        EXPECT_EQ(s->first, "");
        EXPECT_EQ(s->second, "");
        EXPECT_TRUE(s->hideTyping);
        EXPECT_TRUE(s->secondEnabled);
        EXPECT_TRUE(s->focusInFirst);
        EXPECT_EQ(s->mask1, '*');
        EXPECT_EQ(s->mask2, '*');
    }
    EXPECT_EQ(unhidden.first, "seen");
    EXPECT_EQ(unhidden.second, "");
    EXPECT_FALSE(unhidden.secondEnabled);
    EXPECT_EQ(unhidden.mask1, '\0');
    EXPECT_EQ(unhidden.mask2, '\0');
}

TEST_F(PasswordChangeDialog, RecheckingHideTypingAsksForTheSecondFieldAgain) {
    BoxAnswerer answerer("ok");
    bool secondEnabled = false;
    char mask1 = 0, mask2 = 0;
    FormScript script;
    script.WaitShown(FQUPass->Handle())
        .Do([] {
            Click(FQUPass->CheckBox1.Handle());
            Type(Field1(), "abc");
            Click(FQUPass->CheckBox1.Handle());
        })
        .WaitUntil("Hide typing checked again", [] { return Checked(FQUPass->CheckBox1.Handle()); })
        .Do([&] {
            secondEnabled = IsWindowEnabled(Field2()) != FALSE;
            mask1 = MaskOf(Field1());
            mask2 = MaskOf(Field2());
            Click(FQUPass->Button1.Handle());
        })
        .WaitBoxesAnswered(answerer, 1)
        .Do([] {
            Type(Field2(), "abc");
            Click(FQUPass->Button1.Handle());
        });
    script.Start();
    EXPECT_EQ(QueryNewPassword(), "abc");
    std::vector<SeenBox> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, MismatchText);
    EXPECT_TRUE(secondEnabled);
    EXPECT_EQ(mask1, '*');
    EXPECT_EQ(mask2, '*');
}

// Every password set here must also be typeable into the toggle dialog.
TEST_F(PasswordChangeDialog, FieldsTakeNoMoreThanTheToggleDialogAccepts) {
    const std::string typed(VRCMD_TYPED_PASSWORD_MAX + 45, 'p');
    const std::string kept(VRCMD_TYPED_PASSWORD_MAX, 'p');
    std::string administratorField;
    FormScript script;
    script.WaitShown(FQUPass->Handle())
        .Do([&] {
            Type(Field1(), typed);
            Type(Field2(), typed);
            Click(FQUPass->Button1.Handle());
        })
        .WaitShown(FQPass->Handle())
        .Do([&] {
            ClearField(FQPass->Edit1.Handle());
            Type(FQPass->Edit1.Handle(), typed);
            administratorField = TextOf(FQPass->Edit1.Handle());
            Click(FQPass->Button2.Handle());
        });
    script.Start();
    EXPECT_EQ(QueryNewPassword(), kept);
    QueryAdministratorPassword();
    EXPECT_EQ(administratorField, kept);
}
