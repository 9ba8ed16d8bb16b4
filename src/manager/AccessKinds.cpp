#include "AccessKinds.h"

namespace {

struct AccessKind {
    char code;
    AccessFlags flags;  // also the buttons shown pressed
    const char* text;
};

// In tree image order.
const AccessKind Kinds[6] = {
    {'+', {false, false, false}, "Full access (read/write)"},
    {'-', {true, false, false}, "Read only access"},
    {'&', {false, false, true}, "Access denied"},
    {'!', {false, true, false}, "Hidden - not visible in the Explorer"},
    {'@', {true, true, false}, "Read only access, invisible in the Explorer"},
    {'#', {false, true, true}, "Access denied, invisible in the Explorer"},
};

// The "Add folder" dialog's radio buttons in order, as tree images.
const int FolderRadioImages[6] = {0, 1, 3, 2, 4, 5};

// The image of a one-character code, -1 for any other text.
int KindOf(const std::string& code)
{
    if (code.size() != 1) return -1;
    for (int image = 0; image < 6; ++image)
        if (Kinds[image].code == code[0]) return image;
    return -1;
}

}  // namespace

bool operator==(const AccessFlags& a, const AccessFlags& b)
{
    return a.ReadOnly == b.ReadOnly && a.Hidden == b.Hidden && a.NoAccess == b.NoAccess;
}

std::string AccessCode(const AccessFlags& flags)
{
    for (const AccessKind& kind : Kinds)
        if (kind.flags == flags) return std::string(1, kind.code);
    return std::string();
}

int AccessImage(const std::string& code)
{
    int image = KindOf(code);
    return image < 0 ? 0 : image;
}

std::string AccessText(const std::string& code)
{
    int image = KindOf(code);
    return image < 0 ? std::string() : Kinds[image].text;
}

std::string EntryCode(const std::string& entry)
{
    return entry.substr(0, 1);
}

std::string EntryText(const std::string& entry)
{
    return entry.empty() ? std::string() : entry.substr(1);
}

AccessFlags FolderRadioFlags(int radioIndex)
{
    if (radioIndex < 0 || radioIndex >= 6) return AccessFlags();
    return Kinds[FolderRadioImages[radioIndex]].flags;
}

int FolderRadioIndex(const std::string& code)
{
    int image = KindOf(code);
    for (int radio = 0; radio < 6; ++radio)
        if (FolderRadioImages[radio] == image) return radio;
    return 0;
}

std::string FileRadioCode(int radioIndex)
{
    switch (radioIndex) {
    case 1: return "-";
    case 2: return "&";
    default: return "+";
    }
}

int FileRadioIndex(const std::string& code)
{
    if (code == "+") return 0;
    if (code == "-") return 1;
    if (code == "&") return 2;
    return -1;
}

AccessFlags ReleaseConflictingButtons(AccessButton sender, AccessFlags pressed)
{
    switch (sender) {
    case AccessButton::ReadOnly:
        pressed.NoAccess = false;
        break;
    case AccessButton::NoAccess:
        pressed.ReadOnly = false;
        break;
    case AccessButton::FullAccess:
        pressed = AccessFlags();
        break;
    case AccessButton::Hidden:
        break;
    }
    return pressed;
}

int PressedButtonsImage(const AccessFlags& pressed)
{
    int sum = (pressed.ReadOnly ? 1 : 0) + (pressed.NoAccess ? 2 : 0) + (pressed.Hidden ? 4 : 0);
    switch (sum) {
    case 0:
    case 1:
    case 2: return sum;
    case 4: return 3;
    case 5: return 4;
    case 6: return 5;
    default: return 0;
    }
}

AccessFlags ImageButtons(int image)
{
    if (image < 0 || image >= 6) return AccessFlags();
    return Kinds[image].flags;
}
