// The driver image read back as the driver reads it: header, counts, order,
// the built-in exceptions and the alternate forms of real paths.
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

    static ParsedImage Build()
    {
        BuildDriverImage();
        ParsedImage image = ParseDriverImage();
        EXPECT_TRUE(image.wellFormed) << image.problem;
        return image;
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

std::string LongOf(const std::string& path)
{
    char buffer[MAX_PATH];
    DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? UpperCase(std::string(buffer, length)) : std::string();
}

TEST_F(DriverImageTest, EmptyProfileStillGivesACompleteImage)
{
    ParsedImage image = Build();
    EXPECT_EQ(VTLOCK_IMAGE_MARK, image.mark);
    EXPECT_EQ(VTLOCK_IMAGE_HEADER_SIZE, image.filesOffset);
    EXPECT_EQ(SystemFileStrings(), image.files);
    EXPECT_EQ(SystemFolderStrings(false), image.folders);

    size_t strings = 0;
    for (const auto* list : {&image.files, &image.folders})
        for (const std::string& s : *list) strings += s.size() + 1;
    EXPECT_EQ(20 + strings + 2, DriverImageSize);
}

TEST_F(DriverImageTest, FileNameRulesComeBeforeFileTypeRules)
{
    Profile.Files = {"-.EXE", "&NTLDR", "-", "", "+.BAT", "-AUTOEXEC.BAT", "&", "-autoexec.bat", "XODD"};
    ParsedImage image = Build();
    // A name stored in lower case is followed by its upper-case form; lines
    // shorter than two characters are left out; codes are not checked.
    EXPECT_EQ(Joined(SystemFileStrings(),
                     {"&NTLDR", "-AUTOEXEC.BAT", "-autoexec.bat", "-AUTOEXEC.BAT", "XODD", "-.EXE", "+.BAT"}),
              image.files);
}

TEST_F(DriverImageTest, FolderRulesAreExpandedAndEmptyOnesLeftOut)
{
    CommonDesktopDir.clear();
    Profile.Folders = {"-%WINDIR%\\FONTS", "", "%DESKTOP%", "#C:\\VTDATA", "ZC:\\VTODD", "-"};
    ParsedImage image = Build();
    EXPECT_EQ(Joined({"-C:\\VTWIN\\FONTS", "#C:\\VTDATA", "ZC:\\VTODD", "-"}, SystemFolderStrings(false)),
              image.folders);
}

TEST_F(DriverImageTest, FileNameInTheCurrentFolderGetsItsShortForm)
{
    ASSERT_TRUE(WriteWholeFile(workDir_ + "Long File Name.txt", "x"));
    const std::string shortName = ShortOf("LONG FILE NAME.TXT");
    ASSERT_NE(std::string::npos, shortName.find('~')) << shortName;
    Profile.Files = {"-LONG FILE NAME.TXT"};
    ParsedImage image = Build();
    EXPECT_EQ(Joined(SystemFileStrings(), {"-LONG FILE NAME.TXT", "-" + shortName}), image.files);
}

TEST_F(DriverImageTest, RealPathsCarryTheirOtherForm)
{
    const std::string longPath = workDir_ + "Long Folder Name\\Inner Directory";
    ASSERT_TRUE(CreateDirectoryA((workDir_ + "Long Folder Name").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(longPath.c_str(), nullptr));
    const std::string longForm = LongOf(longPath);
    const std::string shortForm = ShortOf(longPath);
    ASSERT_NE(std::string::npos, shortForm.find('~')) << shortForm;
    const std::string commonFiles = ProgramFilesDir + "\\COMMON FILES";
    const std::string commonShort = ShortOf(commonFiles);
    ASSERT_NE(std::string::npos, commonShort.find("PROG")) << commonShort;
    ASSERT_NE(commonFiles, commonShort);
    const std::string drivers = realSystemDir_ + "\\DRIVERS";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(drivers.c_str()));

    struct Case {
        const char* what;
        std::string stored;
        std::vector<std::string> strings;
    };
    const std::string mixedCase = "-" + longPath;
    // The last component is taken as it is, so a short path keeps its short last name.
    const std::string longOfShort =
        longForm.substr(0, longForm.rfind('\\')) + shortForm.substr(shortForm.rfind('\\'));
    const Case cases[] = {
        {"long path stored in upper case: its short form", "-" + longForm, {"-" + longForm, "-" + shortForm}},
        {"short path: its long form", "&" + shortForm, {"&" + shortForm, "&" + longOfShort}},
        {"through PROGRAM FILES: its short form", "-" + commonFiles, {"-" + commonFiles, "-" + commonShort}},
        {"short and long forms equal to it: nothing more", "-" + drivers, {"-" + drivers}},
        {"stored in another case: the short form wins", mixedCase, {mixedCase, "-" + shortForm}},
        {"missing path: nothing more", "-C:\\VT NO SUCH FOLDER\\SUB", {"-C:\\VT NO SUCH FOLDER\\SUB"}},
        {"missing below a short folder: the long form", "!" + shortForm + "\\NO SUCH\\DEEPER",
         {"!" + shortForm + "\\NO SUCH\\DEEPER", "!" + longForm + "\\NO SUCH\\DEEPER"}},
        {"wildcards name no other folder", "-C:\\WINDOW?\\SYSTEM32", {"-C:\\WINDOW?\\SYSTEM32"}},
        {"a drive alone", "-C:", {"-C:"}},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        Profile.Folders.push_back(c.stored);
        expected.insert(expected.end(), c.strings.begin(), c.strings.end());
    }
    ParsedImage image = Build();
    ASSERT_EQ(Joined(expected, SystemFolderStrings(false)), image.folders);
    // One by one as well, so a failure names its case.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Profile.Folders = {c.stored};
        EXPECT_EQ(Joined(c.strings, SystemFolderStrings(false)), Build().folders);
    }
}

TEST_F(DriverImageTest, LargeProfileKeepsItsCountsAndOrder)
{
    for (int i = 0; i < 5000; ++i) {
        Profile.Folders.push_back("-C:\\VTNONE\\F" + std::to_string(i));
        Profile.Files.push_back(i % 2 ? "&.E" + std::to_string(i) : "&N" + std::to_string(i));
    }
    ParsedImage image = Build();
    ASSERT_EQ(7u + 5000u, image.files.size());
    EXPECT_EQ("&N0", image.files[7]);
    EXPECT_EQ("&N4998", image.files[7 + 2499]);
    EXPECT_EQ("&.E1", image.files[7 + 2500]);
    ASSERT_EQ(5000u + 6u, image.folders.size());
    EXPECT_EQ("-C:\\VTNONE\\F4999", image.folders[4999]);
    EXPECT_EQ(0u, DriverImage.capacity() % 1024);

    // A rebuild starts from scratch.
    CreateProfileLists();
    image = Build();
    EXPECT_EQ(SystemFolderStrings(false), image.folders);
}

// Run as a child under an emulated Windows version: writes the image of a
// one-rule profile and the version the child saw.
TEST(ImageChild, WriteImage)
{
    char out[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VT_IMAGE_OUT", out, MAX_PATH)) GTEST_SKIP() << "run by the version test only";
    InitRuntimeEnvironment();
    CreateProfileLists();
    UseFictitiousSystemFolders();
    Profile.Folders = {"-C:\\VTDATA"};
    BuildDriverImage();
    ASSERT_TRUE(WriteWholeFile(std::string(out) + "image.bin",
                               std::string(DriverImage.begin(), DriverImage.begin() + DriverImageSize)));
    ASSERT_TRUE(WriteWholeFile(std::string(out) + "version.txt", std::to_string(LOWORD(GetVersion()))));
}

std::string ExeName()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    return full.substr(full.find_last_of('\\') + 1);
}

TEST(DriverImageVersions, SystemBackupFolderOnlyOnWindows98AndMe)
{
    struct Case {
        const char* version;
        int major, minor;
        bool systemBackup;
    };
    const Case cases[] = {
        {"win95", 4, 0, false}, {"win98", 4, 10, true}, {"winme", 4, 90, true},
        {"nt40", 4, 0, false},  {"winxp", 5, 1, false}, {"win7", 6, 1, false},
    };
    const std::string appKey = "Software\\Wine\\AppDefaults\\" + ExeName();
    const std::string self = BinDir() + ExeName();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::string dir = NewTempDir("version");
        ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, appKey, "Version", c.version));
        SetEnvironmentVariableA("VT_IMAGE_OUT", dir.c_str());
        ProcessResult run = RunAndWait("\"" + self + "\" --gtest_brief=1 --gtest_filter=ImageChild.WriteImage");
        SetEnvironmentVariableA("VT_IMAGE_OUT", nullptr);
        RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);

        EXPECT_EQ(std::to_string(c.major | c.minor << 8), ReadWholeFile(dir + "version.txt"));
        std::string bytes = ReadWholeFile(dir + "image.bin");
        ParsedImage image = ParseImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_TRUE(image.wellFormed) << image.problem;
        EXPECT_EQ(Joined({"-C:\\VTDATA"}, SystemFolderStrings(c.systemBackup)), image.folders);
    }
}

}  // namespace
