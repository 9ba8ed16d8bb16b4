// decode and encode: a saved profile survives the trip through plain text
// byte for byte, damaged files print what loads, failures are reported on
// the error output with exit code 2.
#include "VtprofileKit.h"

namespace {

std::string DecodedText(const TProfile& p)
{
    std::string text;
    for (const ProfileSection& section : ProfileSections) {
        text += std::string(section.header) + "\r\n";
        for (const std::string& line : p.*section.list) text += line + "\r\n";
    }
    return text;
}

class DecodeEncode : public VtprofileTest {
protected:
    // A profile saved by the system itself, with every kind of line.
    std::string SavedProfile()
    {
        CreateProfileLists();
        ProfilesDir = PathOf("");
        Profile.Folders = {"-%WINDIR%", "&C:\\PAYROLL", "+C:\\PAYROLL\\INBOX", "#C:\\SECRET", ""};
        Profile.Files = {"&.REG", "-BOOT.INI", "+.TXT"};
        for (int row = 0; row < 32; ++row)
            Profile.Policies.push_back(std::to_string(row) + "=" + std::to_string(row % 3));
        Profile.Tasks = {"REGEDIT.EXE      // Registry Editor  (Microsoft)", "CMD.EXE"};
        std::string bytes;
        for (int c = 1; c < 256; ++c)
            if (c != 13 && c != 10) bytes += static_cast<char>(c);
        Profile.Folders.push_back("-C:\\" + bytes);
        EXPECT_TRUE(SaveProfile("saved", 3000000000u));
        return PathOf("saved.vtp");
    }
};

TEST_F(DecodeEncode, RoundTripGivesTheSameBytes)
{
    std::string saved = SavedProfile();
    CapturedRun decoded = Tool({"decode", saved});
    ASSERT_EQ(0u, decoded.exitCode) << decoded.errors;
    EXPECT_EQ(std::string::npos, decoded.output.find("*\r\n"));
    EXPECT_NE(std::string::npos, decoded.output.find("[DIRECTORIES]\r\n-%WINDIR%\r\n&C:\\PAYROLL\r\n"));
    EXPECT_NE(std::string::npos, decoded.output.find("[OPTIONS]\r\nPWD=3000000000\r\n[END1]\r\n"));

    ASSERT_TRUE(WriteWholeFile(PathOf("saved.txt"), decoded.output));
    CapturedRun encoded = Tool({"encode", PathOf("saved.txt"), PathOf("again.vtp")});
    ASSERT_EQ(0u, encoded.exitCode) << encoded.errors;
    EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(PathOf("again.vtp")));
}

TEST_F(DecodeEncode, EditedTextEncodesAsTheSystemSavesIt)
{
    std::string text = WriteLines("edited.txt", {"[DIRECTORIES]", "-C:\\DATA", "[FILES]", "&.REG", "[POLICIES]",
                                                 "0=1", "[TASKS]", "[OPTIONS]", "PWD=0", "[END1]"});
    ASSERT_EQ(0u, Tool({"encode", text, PathOf("edited.vtp")}).exitCode);
    CreateProfileLists();
    ASSERT_TRUE(LoadProfile(PathOf("edited.vtp")));
    EXPECT_EQ(TextList{"-C:\\DATA"}, Profile.Folders);
    EXPECT_EQ(TextList{"&.REG"}, Profile.Files);
    EXPECT_EQ(TextList{"0=1"}, Profile.Policies);
    EXPECT_EQ(std::string("*\r\n"), ReadWholeFile(PathOf("edited.vtp")).substr(0, 3));
}

// Damaged files: decode ends normally and prints exactly what the loader reads.
TEST_F(DecodeEncode, DamagedFilesPrintWhatLoads)
{
    std::string saved = ReadWholeFile(SavedProfile());
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 70000; ++i) noise += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"marker only", "*"},
        {"cut in a line", saved.substr(0, saved.size() / 2)},
        {"cut after the marker", saved.substr(0, 2)},
        {"random bytes", noise},
        {"zero bytes", std::string(5000, '\0')},
        {"one long line", std::string(300000, 'A')},
        {"marker late", "[FILES]\r\n+A.TXT\r\n*\r\n" + saved.substr(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(PathOf("damaged.vtp"), c.bytes));
        CapturedRun run = Tool({"decode", PathOf("damaged.vtp")});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode) << run.errors;
        CreateProfileLists();
        ASSERT_TRUE(LoadProfile(PathOf("damaged.vtp")));
        EXPECT_EQ(DecodedText(Profile), run.output);
    }
}

TEST_F(DecodeEncode, FailuresGoToTheErrorOutput)
{
    CapturedRun missing = Tool({"decode", PathOf("missing.vtp")});
    EXPECT_EQ(2u, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.errors.find("cannot open " + PathOf("missing.vtp")));

    std::string text = WriteLines("plain.txt", {"[DIRECTORIES]", "-C:\\DATA"});
    ASSERT_TRUE(CreateDirectoryA(PathOf("out").c_str(), nullptr));
    CapturedRun refused = Tool({"encode", text, PathOf("out")});
    EXPECT_EQ(2u, refused.exitCode);
    EXPECT_NE(std::string::npos, refused.errors.find("Cannot save profile: ")) << refused.errors;

    CapturedRun wrong = Tool({"decode"});
    EXPECT_EQ(2u, wrong.exitCode);
    EXPECT_NE(std::string::npos, wrong.errors.find("vtprofile explain FILE.vtp PATH"));
}

TEST_F(DecodeEncode, UsageGoesToTheConsole)
{
    CapturedRun usage = Tool({"/?"});
    EXPECT_EQ(0u, usage.exitCode);
    for (const char* command : {"decode FILE.vtp", "encode TEXT OUT.vtp", "check FILE.vtp", "explain FILE.vtp PATH"})
        EXPECT_NE(std::string::npos, usage.output.find(std::string("vtprofile ") + command)) << command;
}

}  // namespace
