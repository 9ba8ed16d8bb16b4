// vtprofile: the administrator's profile tool. Decodes a profile file into
// plain text and encodes it back, checks a profile for rules that lock the
// computer up or do nothing, and explains what a profile gives one path.
#include "ProfileCheck.h"
#include "ProfileExplain.h"
#include "ProfileLines.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

enum ExitCode { ExitClean = 0, ExitWarnings = 1, ExitFailed = 2 };

const char* const Usage =
    "vtprofile: the Vantrel profile tool\r\n"
    "\r\n"
    "  vtprofile decode FILE.vtp          prints the profile as plain text\r\n"
    "  vtprofile encode TEXT OUT.vtp      writes a plain-text profile as a profile file\r\n"
    "  vtprofile check FILE.vtp           warns of rules that lock the computer up or do nothing\r\n"
    "  vtprofile explain FILE.vtp PATH    tells which rules decide for a folder or a file\r\n"
    "  vtprofile /?                       prints this text\r\n"
    "\r\n"
    "A plain-text profile loads as it is: decode, edit, encode. check exits with 0\r\n"
    "when the profile is clean, 1 with warnings and 2 with errors or an unreadable\r\n"
    "file; the other commands exit with 0, or 2 when they fail.\r\n";

void Write(DWORD stream, const std::string& text)
{
    HANDLE handle = GetStdHandle(stream);
    DWORD written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && !text.empty())
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Print(const std::string& line) { Write(STD_OUTPUT_HANDLE, line + "\r\n"); }
void PrintError(const std::string& line) { Write(STD_ERROR_HANDLE, "vtprofile: " + line + "\r\n"); }

// What the system would show in a message box goes to the error output.
int PrintMessage(const std::string& text, const char*, UINT)
{
    PrintError(text);
    return IDOK;
}

// A file with lines but no section header loads as an empty profile: random
// bytes, a file scrambled with another key, rules without their headers.
bool Load(const std::string& path, ProfileLineNumbers& numbers)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        PrintError("cannot open " + path + ": " + SystemErrorText(GetLastError()));
        return false;
    }
    CloseHandle(file);
    if (!LoadProfileNumbered(path, &numbers)) {
        PrintError("cannot read " + path + ": " + SystemErrorText(GetLastError()));
        return false;
    }
    if (numbers.headers == 0 && !numbers.outside.empty()) {
        PrintError(path + " is no profile: no line is a section header such as [DIRECTORIES] (is it scrambled "
                          "with another key?)");
        return false;
    }
    return true;
}

// The loaded lists in the file's layout, without scrambling.
int Decode(const std::string& path)
{
    ProfileLineNumbers numbers;
    if (!Load(path, numbers)) return ExitFailed;
    LineWriter out(GetStdHandle(STD_OUTPUT_HANDLE));
    for (const ProfileSection& section : ProfileSections) {
        out.PutPlain(section.header);
        for (const std::string& line : Profile.*section.list) out.PutPlain(line);
    }
    return out.Finish() ? ExitClean : ExitFailed;
}

int Encode(const std::string& textPath, const std::string& outPath)
{
    ProfileLineNumbers numbers;
    if (!Load(textPath, numbers)) return ExitFailed;
    return SaveProfileFile(outPath, Profile.PasswordHash) ? ExitClean : ExitFailed;
}

int Check(const std::string& path)
{
    ProfileLineNumbers numbers;
    if (!Load(path, numbers)) return ExitFailed;
    std::vector<Finding> findings = CheckProfile(numbers);
    int code = ExitClean;
    for (const Finding& finding : findings) {
        Print(path + ":" + std::to_string(finding.line) + ": " + (finding.error ? "error: " : "warning: ") +
              finding.text);
        if (finding.error) code = ExitFailed;
        else if (code == ExitClean) code = ExitWarnings;
    }
    if (findings.empty()) Print(path + ": no problems found");
    return code;
}

int Explain(const std::string& path, const std::string& target)
{
    ProfileLineNumbers numbers;
    if (!Load(path, numbers)) return ExitFailed;
    for (const std::string& line : ExplainPath(target, numbers)) Print(line);
    return ExitClean;
}

std::vector<std::string> Arguments()
{
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) {
        int size = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1) WideCharToMultiByte(CP_ACP, 0, wide[i], -1, &arg[0], size, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}

int Run(const std::vector<std::string>& args)
{
    std::string command = args.empty() ? std::string() : UpperCase(args[0]);
    if (command == "/?" || command == "-?" || command == "/HELP" || command == "--HELP") {
        Write(STD_OUTPUT_HANDLE, Usage);
        return ExitClean;
    }
    if (command == "DECODE" && args.size() == 2) return Decode(args[1]);
    if (command == "ENCODE" && args.size() == 3) return Encode(args[1], args[2]);
    if (command == "CHECK" && args.size() == 2) return Check(args[1]);
    if (command == "EXPLAIN" && args.size() == 3) return Explain(args[1], args[2]);
    Write(STD_ERROR_HANDLE, Usage);
    return ExitFailed;
}

}  // namespace

int main()
{
    InitRuntimeEnvironment();
    SetMessageOutput(PrintMessage);
    CreateProfileLists();
    return Run(Arguments());
}
