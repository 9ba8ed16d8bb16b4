// The driver image as the driver reads it: order, counts, the built-in
// exceptions and the alternate forms of real paths.
#include "ImageTestKit.h"
#include "RegValues.h"

namespace {

class DriverImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitRuntimeEnvironment();
        realSystemDir_ = SystemDir;
        CreateProfileLists();
        UseFictitiousSystemFolders();
        // Bare file names are looked up in the current folder: an empty one.
        workDir_ = NewTempDir("image");
        ASSERT_TRUE(SetCurrentDirectoryA(workDir_.c_str()));
    }

    std::string realSystemDir_;
    std::string workDir_;
};

std::string ShortOf(const std::string& path)
{
    char buffer[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? UpperCase(std::string(buffer, length)) : std::string();
}

TEST_F(DriverImageTest, RulesInTheirOrderAndARebuildFromScratch)
{
    for (int i = 0; i < 3000; ++i) {
        Profile.Folders.push_back("-C:\\VTNONE\\F" + std::to_string(i));
        Profile.Files.push_back(i % 2 ? "&.E" + std::to_string(i) : "&N" + std::to_string(i));
    }
    std::string image = BuiltImage();
    EXPECT_EQ(0u, DriverImage.capacity() % 1024);
    EXPECT_EQ(0u, image.find(SystemFiles + "&N0|&N2|"));
    EXPECT_NE(std::string::npos, image.find("|&N2998|&.E1|&.E3|"));
    EXPECT_NE(std::string::npos, image.find("|&.E2999||-C:\\VTNONE\\F0|-C:\\VTNONE\\F1|"));
    EXPECT_NE(std::string::npos, image.find("|-C:\\VTNONE\\F2999|" + SystemFolders + "|"));

    // File names before file types; lines shorter than two characters and
    // folder rules that expand to nothing left out; a name stored in lower
    // case followed by its upper-case form.
    CreateProfileLists();
    Profile.Files = {"-.EXE", "&NTLDR", "-", "", "+.BAT", "-AUTOEXEC.BAT", "&", "-autoexec.bat"};
    Profile.Folders = {"-%WINDIR%\\FONTS", "", "%DESKTOP%", "#C:\\VTDATA", "-"};
    CommonDesktopDir.clear();
    EXPECT_EQ(SystemFiles + "&NTLDR|-AUTOEXEC.BAT|-autoexec.bat|-AUTOEXEC.BAT|-.EXE|+.BAT||" +
                  "-C:\\VTWIN\\FONTS|#C:\\VTDATA|-|" + SystemFolders + "|",
              BuiltImage());
    CreateProfileLists();
    EXPECT_EQ(SystemFiles + "|" + SystemFolders + "|", BuiltImage());
}

TEST_F(DriverImageTest, RealPathsCarryTheirOtherForm)
{
    ASSERT_TRUE(WriteWholeFile(workDir_ + "Long File Name.txt", "x"));
    const std::string shortFile = ShortOf("LONG FILE NAME.TXT");
    const std::string longPath = UpperCase(workDir_) + "LONG FOLDER NAME\\INNER DIRECTORY";
    ASSERT_TRUE(CreateDirectoryA((workDir_ + "Long Folder Name").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((workDir_ + "Long Folder Name\\Inner Directory").c_str(), nullptr));
    const std::string shortPath = ShortOf(longPath);
    ASSERT_NE(std::string::npos, shortPath.find('~')) << shortPath;
    ASSERT_NE(std::string::npos, shortFile.find('~')) << shortFile;
    const std::string commonFiles = ProgramFilesDir + "\\COMMON FILES";
    ASSERT_NE(commonFiles, ShortOf(commonFiles));
    const std::string drivers = realSystemDir_ + "\\DRIVERS";
    const std::string mixedCase = "-" + workDir_ + "Long Folder Name\\Inner Directory";
    // The last component is taken as it is, so a short path keeps its short last name.
    const std::string longOfShort = longPath.substr(0, longPath.rfind('\\')) + shortPath.substr(shortPath.rfind('\\'));
    const std::pair<std::string, std::string> cases[] = {  // the rule, its strings in the image
        {"-" + longPath, "-" + longPath + "|-" + shortPath + "|"},
        {"&" + shortPath, "&" + shortPath + "|&" + longOfShort + "|"},
        {"-" + commonFiles, "-" + commonFiles + "|-" + ShortOf(commonFiles) + "|"},
        {"-" + drivers, "-" + drivers + "|"},  // short and long forms equal to it
        {mixedCase, mixedCase + "|-" + shortPath + "|"},  // the short form wins
        {"-C:\\VT NO SUCH FOLDER\\SUB", "-C:\\VT NO SUCH FOLDER\\SUB|"},
        {"!" + shortPath + "\\NO SUCH\\DEEPER", "!" + shortPath + "\\NO SUCH\\DEEPER|!" + longPath + "\\NO SUCH\\DEEPER|"},
        {"-C:\\WINDOW?\\SYSTEM32", "-C:\\WINDOW?\\SYSTEM32|"},  // wildcards name no other folder
        {"-C:", "-C:|"},
    };
    std::string expected;
    for (const auto& c : cases) {
        Profile.Folders.push_back(c.first);
        expected += c.second;
    }
    Profile.Files = {"-LONG FILE NAME.TXT"};
    EXPECT_EQ(SystemFiles + "-LONG FILE NAME.TXT|-" + shortFile + "||" + expected + SystemFolders + "|",
              BuiltImage());
}

// Run by the next test under Windows NT 4.0 (version 4.0): writes the image
// of an empty profile.
TEST(ImageChild, WriteImage)
{
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VT_IMAGE_OUT", out, MAX_PATH)) GTEST_SKIP() << "run by the version test only";
    InitRuntimeEnvironment();
    UseFictitiousSystemFolders();
    BuildDriverImage();
    ASSERT_TRUE(WriteWholeFile(out, std::string(DriverImage.begin(), DriverImage.begin() + DriverImageSize)));
}

// Version 4 with a minor version other than 0 only (Windows 98 itself is run
// end to end, tests/e2e/protection98).
TEST(DriverImageVersions, NoSystemBackupFolderOnVersion4Point0)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + (strrchr(exe, '\\') + 1);
    const std::string out = NewTempDir("version") + "image.bin";
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, appKey, "Version", "nt40"));
    SetEnvironmentVariableA("VT_IMAGE_OUT", out.c_str());
    EXPECT_EQ(0u, RunAndWait(QuoteArgument(exe) + " --gtest_filter=ImageChild.WriteImage").exitCode);
    SetEnvironmentVariableA("VT_IMAGE_OUT", nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
    const std::string bytes = ReadWholeFile(out);
    EXPECT_EQ(SystemFiles + "|" + SystemFolders + "|",
              ImageText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace
