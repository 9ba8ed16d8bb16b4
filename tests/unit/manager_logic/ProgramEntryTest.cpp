// Disabled-program entries made from real programs' version information,
// the bound on reading it, and the agent finding the programs they name.
#include "ManagerLogicTest.h"
#include "ProgramBlocking.h"
#include "ProgramEntry.h"
#include "VtTest.h"

#include <vector>

namespace {

std::string Program(const std::string& variant)
{
    return BinDir() + "verinfo_" + variant + ".exe";
}

std::vector<WCHAR> Units(const std::wstring& text)
{
    return std::vector<WCHAR>(text.begin(), text.end());
}

std::string Description(const std::wstring& text)
{
    std::vector<WCHAR> units = Units(text);
    return VersionDescription(units.data(), units.size());
}

// Where the platform's own parser finds the program's description, in
// UTF-16 units from the start of its version information.
size_t DescriptionOffset(const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    DWORD size = GetFileVersionInfoSizeW(wide.c_str(), nullptr);
    std::vector<BYTE> info(size);
    GetFileVersionInfoW(wide.c_str(), 0, size, info.data());
    void* value = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), L"\\StringFileInfo\\040904E4\\FileDescription", &value, &length);
    return (static_cast<BYTE*>(value) - info.data()) / sizeof(WCHAR);
}

}  // namespace

using ProgramEntries = ManagerLogic;

TEST_F(ProgramEntries, FromTheProgramsVersionInformation)
{
    const struct {
        const char* variant;
        const char* entry;
    } programs[] = {
        {"full", "VERINFO_FULL.EXE      // Vantrel test program  (Vantrel Test Makers)"},
        {"company", "VERINFO_COMPANY.EXE      //   (Vantrel Test Makers)"},
        {"product", "VERINFO_PRODUCT.EXE"},
        {"none", "VERINFO_NONE.EXE"},
    };
    for (const auto& p : programs) EXPECT_EQ(ProgramEntry(Program(p.variant)), p.entry) << p.variant;
    // Values are UTF-16 in the file and 8-bit text in the ANSI code page in the entry.
    char cafe[32] = {};
    WideCharToMultiByte(CP_ACP, 0, L"Caf\u00e9 program", -1, cafe, sizeof cafe, nullptr, nullptr);
    EXPECT_EQ(ProgramEntry(Program("latin")), std::string("VERINFO_LATIN.EXE      // ") + cafe);
    EXPECT_EQ(std::string(cafe).size(), 12u);
    EXPECT_EQ(ProgramEntry(BinDir() + "no such program.exe"), "NO SUCH PROGRAM.EXE");
}

TEST_F(ProgramEntries, VersionInformationBeyond2048BytesIsCutOff)
{
    // The description starts inside the first 2048 bytes and runs past them;
    // the company name lies wholly beyond them.
    const std::string path = Program("long");
    const size_t offset = DescriptionOffset(path);
    ASSERT_GT(offset, 900u);
    ASSERT_LT(offset, VersionInfoUnits);
    std::string value;
    for (int i = 0; i < 30; ++i) value += "0123456789";
    EXPECT_EQ(ProgramEntry(path), "VERINFO_LONG.EXE      // " + value.substr(0, VersionInfoUnits - offset));
}

TEST_F(ProgramEntries, ValuesEndAtANullOrAtTheEndOfTheUnits)
{
    using namespace std::string_literals;
    const struct {
        std::wstring units;
        const char* description;
    } cases[] = {
        {L"..FileDescription\0\0Editor\0..CompanyName\0\0Maker\0"s, "      // Editor  (Maker)"},
        // The company name comes first in the information: the order of the entry stays.
        {L"CompanyName\0\0Maker\0FileDescription\0\0Editor\0"s, "      // Editor  (Maker)"},
        {L"FileDescription\0\0No null at the end"s, "      // No null at the end"},
        {L"FileDescription\0\0"s, "      // "},
        {L"FileDescription"s, "      // "},
        {L"FileDescriptio"s, ""},
        {L"xxCompanyName\0\0Cut"s, "      //   (Cut)"},
        {L"Nothing here\0"s, ""},
        {L""s, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Description(c.units), c.description) << c.description;
    }
}

TEST_F(ProgramEntries, AgentEndsAProgramWhoseEntryHasOnlyACompany)
{
    DWORD processId = 0;
    ChildProcess process(StartProcess(QuoteArgument(Program("company")), &processId));
    ASSERT_TRUE(process);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w = FindWindowA("blockme", nullptr); w; w = FindWindowExA(nullptr, w, "blockme", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == processId) window = w;
        }
        return window != nullptr;
    }));
    Profile.Tasks = {ProgramEntry(Program("company"))};
    ProgramBlockingActive = true;
    CloseIfDisabled(window);
    ProgramBlockingActive = false;
    // Ended by the agent (exit code 0), not closed by its window (exit code 7).
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
