#include "ManagerTexts.h"
#include "FileNames.h"
#include "RuntimeEnv.h"

namespace {

const char* const CrLf = "\r\n";
const char* const CrLfLf = "\r\n\n";
const char* const CaptionBase = " Vantrel ";

std::string AutoStartLine(bool autoStart)
{
    return autoStart ? "  - protection WILL BE ENABLED at Windows startup;"
                     : "  - protection WILL NOT BE enabled at Windows startup;";
}

std::string UserControlLine(bool userControl)
{
    return userControl ? "  - program will load profiles depending on logged user;"
                       : "  - program will load default profile (not depending on logged user);";
}

std::string UseDefaultLine(bool useDefault)
{
    return useDefault
               ? "  - program will use a default profile, when profile for current logged user was not prepared."
               : "  - program will not load any profiles, when profile for current logged user will not be found.";
}

}  // namespace

std::string VerificationText(bool autoStart, bool userControl, bool useDefault)
{
    std::string text = std::string("IMPORTANT! Please verify your settings:") + CrLfLf;
    text += AutoStartLine(autoStart) + CrLf;
    text += UserControlLine(userControl) + CrLf;
    if (userControl) text += UseDefaultLine(useDefault) + CrLf;
    text += std::string(CrLf) + "Administrator's password is installed, default user password is installed.";
    text += std::string(CrLfLf) + "If there is something wrong, click NO button, otherwise click YES button.";
    text += std::string(CrLfLf) +
            "Remember, if anything will work wrong after enabling protection, you can restore access settings, "
            "rebooting computer in the \"safe mode\".";
    return text;
}

std::string SaveSummary(const std::string& userName, size_t folderRules, size_t fileRules, size_t programs,
                        uint32_t passwordHash)
{
    std::string text = userName.empty() ? std::string("This profile will be used as DEFAULT (main) profile.")
                                        : "This profile will be used for user \"" + userName + "\".";
    text += std::string(CrLfLf) + "This profile contains restrictions for:" + CrLf;
    text += std::to_string(folderRules) + " folders," + CrLf;
    text += std::to_string(fileRules) + " files," + CrLf;
    text += std::to_string(programs) + " tasks," + CrLf + "31 policy restrictions." + CrLf;
    text += passwordHash == 0 ? "To disable protection, user will use default toggle protection password."
                              : "To disable protection, user will use password, specified in the profile.";
    text += std::string(CrLf) + CrLf +
            "If something above is wrong, you can cancel saving, clicking NO button. Save profile?";
    return text;
}

ProfileUser ProfileUserOfFile(const std::string& fileName)
{
    ProfileUser user;
    const std::string name = FileNameOfPath(fileName);
    if (UpperCase(name) == "DEFAULT.VTP") {
        user.IsDefault = true;
        return user;
    }
    const bool vtp = name.size() >= 4 && UpperCase(name.substr(name.size() - 4)) == ".VTP";
    user.UserName = vtp ? name.substr(0, name.size() - 4) : name;
    return user;
}

std::string ProfileTitle(const std::string& userName)
{
    return std::string(CaptionBase) + (userName.empty() ? " - Default profile" : " - " + userName);
}
