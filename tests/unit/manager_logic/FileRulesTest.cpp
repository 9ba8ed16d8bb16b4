// File rules: type descriptions from the real HKEY_CLASSES_ROOT, the
// locale-aware order, the list lines, and the "Add a file" dialog's names.
#include "ManagerLogicTest.h"
#include "FileRules.h"

namespace {

// Registers an extension with a class and, unless empty, its description.
void RegisterType(const std::string& extension, const std::string& className, const std::string& description)
{
    auto setDefault = [](const std::string& subkey, const std::string& value) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS)
            << subkey;
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    };
    setDefault(extension, className);
    if (!description.empty()) setDefault(className, description);
}

class FileRules : public ManagerLogic {
protected:
    void SetUp() override
    {
        ManagerLogic::SetUp();
        RegisterType(".vtt", "VtTestFile", "Vantrel test document");
        RegisterType(".ini", "VtIniFile", "Configuration settings");
        RegisterType(".vtn", "VtNoDescription", "");
    }
};

}  // namespace

TEST_F(FileRules, TypeDescriptions)
{
    const struct {
        const char* extension;
        const char* description;
    } cases[] = {
        {".vtt", "  (Vantrel test document)  "},
        {".VTT", "  (Vantrel test document)  "},
        {".ini", "  (Configuration settings)  "},
        {".vtn", "Unknown type"},
        {".unregistered", "Unknown type"},
        {"", "Unknown type"},
        {".", "Unknown type"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileTypeDescription(c.extension), c.description) << c.extension;
}

TEST_F(FileRules, EachReadTakesAtMost256Bytes)
{
    RegisterType(".vt1", "VtFits", std::string(255, 'd'));
    RegisterType(".vt2", "VtTooLong", std::string(256, 'd'));
    RegisterType(".vt3", std::string(256, 'C'), "Never reached");
    EXPECT_EQ(FileTypeDescription(".vt1"), "  (" + std::string(255, 'd') + ")  ");
    EXPECT_EQ(FileTypeDescription(".vt2"), "Unknown type");
    EXPECT_EQ(FileTypeDescription(".vt3"), "Unknown type");
}

TEST_F(FileRules, ListLinesWithTheirSeparators)
{
    Profile.Files = {"-BOOT.INI", "&.VTT", "+NOEXT", "-a.vtt", "-C:\\DIR.VTT\\FILE", "+.VTN", ""};
    EXPECT_EQ(FileRuleLines(), (TextList{
                                   "BOOT.INI  //    (Configuration settings)    //  Read only access  //",
                                   ".VTT  //    (Vantrel test document)    //  Access denied  //",
                                   "NOEXT  //  Unknown type  //  Full access (read/write)  //",
                                   "a.vtt  //    (Vantrel test document)    //  Read only access  //",
                                   "C:\\DIR.VTT\\FILE  //  Unknown type  //  Read only access  //",
                                   ".VTN  //  Unknown type  //  Full access (read/write)  //",
                                   "  //  Unknown type  //    //",
                               }));
}

TEST_F(FileRules, EveryRefillReadsTheRegistryAgain)
{
    Profile.Files = {"-.VTT", "-X.VTT"};
    EXPECT_EQ(FileRuleLines()[1], "X.VTT  //    (Vantrel test document)    //  Read only access  //");
    RegisterType(".vtt", "VtTestFile", "Renamed document");
    EXPECT_EQ(FileRuleLines()[1], "X.VTT  //    (Renamed document)    //  Read only access  //");
}

TEST_F(FileRules, SortIgnoresCaseWithTheUsersLocale)
{
    // Byte order would put the upper-case names first and the accented
    // letter (0xE9 in the ANSI code page) last.
    Profile.Files = {"-Z.TXT", "-\xE9.TXT", "-e.TXT", "-F.TXT", "-E.TXT"};
    SortFileRules();
    EXPECT_EQ(Profile.Files, (TextList{"-e.TXT", "-E.TXT", "-\xE9.TXT", "-F.TXT", "-Z.TXT"}));
    // Entries added after a refill find their places at the next one.
    Profile.Files.push_back("-a.txt");
    Profile.Files.push_back("-G");
    Profile.Files.push_back("-A.TXT");
    SortFileRules();
    EXPECT_EQ(Profile.Files,
              (TextList{"-a.txt", "-A.TXT", "-e.TXT", "-E.TXT", "-\xE9.TXT", "-F.TXT", "-G", "-Z.TXT"}));
}

TEST_F(FileRules, NamesOfLinesAndEntries)
{
    EXPECT_EQ(FileRuleNameOfLine("BOOT.INI  //  Unknown type  //  Read only access  //"), "BOOT.INI");
    EXPECT_EQ(FileRuleNameOfLine("NO SEPARATOR"), "NO SEPARATOR");
    EXPECT_EQ(FileRuleNameOfLine("A / B  //"), "A / B");

    Profile.Files = {"-A.TXT", "&a.txt", "+A.TXT", "-.A.TXT"};
    EXPECT_EQ(FindFileRule("A.TXT"), 0u);
    EXPECT_EQ(FindFileRule("A.TXT", 1), 2u);
    EXPECT_EQ(FindFileRule("A.TXT", 3), std::string::npos);
    EXPECT_EQ(FindFileRule("a.txt"), 1u);
    EXPECT_TRUE(RemoveFileRule("A.TXT"));
    EXPECT_EQ(Profile.Files, (TextList{"&a.txt", "+A.TXT", "-.A.TXT"}));
    EXPECT_FALSE(RemoveFileRule("B.TXT"));
    EXPECT_EQ(Profile.Files.size(), 3u);
}

TEST_F(FileRules, AddUpperCasesAndEditKeepsCase)
{
    Profile.Files = {"-OLD.TXT", "-keep"};
    AddFileRules({"-boot.ini", "&.txt", "-boot.ini"});
    EXPECT_EQ(Profile.Files, (TextList{"-OLD.TXT", "-keep", "-BOOT.INI", "&.TXT", "-BOOT.INI"}));
    EXPECT_TRUE(ReplaceFileRule(0, {"+new.txt"}));
    EXPECT_EQ(Profile.Files, (TextList{"-keep", "-BOOT.INI", "&.TXT", "-BOOT.INI", "+new.txt"}));
    EXPECT_FALSE(ReplaceFileRule(5, {"+x"}));
    EXPECT_EQ(Profile.Files.size(), 5u);
}

TEST_F(FileRules, DialogEntriesFromTheEditBox)
{
    const struct {
        const char* text;
        int radio;
        TextList entries;
    } cases[] = {
        {"BOOT.INI", 1, {"-BOOT.INI"}},
        {".txt", 2, {"&.txt"}},
        {" \"A.TXT\" \"B.DOC\" \"C\"", 0, {"+A.TXT", "+B.DOC", "+C"}},
        {" \"A.TXT\" \"\" \"B\"", 2, {"&A.TXT", "&B"}},
        {" \"A.TXT\" \"B", 1, {"-A.TXT"}},
        {" \"A.TXT\"", 9, {"+A.TXT"}},
        {" \"", 1, {}},
        {"\"A.TXT\" \"B\"", 1, {"-\"A.TXT\" \"B\""}},
        {"  \"A\"", 1, {"-  \"A\""}},
    };
    for (const auto& c : cases) EXPECT_EQ(AddedFileRuleEntries(c.text, c.radio), c.entries) << c.text;
}

TEST_F(FileRules, WhatBrowsePutsIntoTheEditBox)
{
    const struct {
        std::vector<std::string> chosen;
        bool typeBox;
        const char* text;
        bool multiple;
    } cases[] = {
        {{"C:\\BOOT.INI"}, false, "BOOT.INI", false},
        {{"C:\\BOOT.INI"}, true, ".INI", false},
        {{"C:\\DIR.D\\NOEXT"}, true, "", false},
        {{"D:FILE.TXT"}, false, "FILE.TXT", false},
        {{"C:\\A\\ONE.TXT", "C:\\A\\two", "C:\\A\\THREE.DOC"}, true, " \"ONE.TXT\" \"two\" \"THREE.DOC\"", true},
    };
    for (const auto& c : cases) {
        BrowsedFiles browsed = BrowsedFileText(c.chosen, c.typeBox);
        EXPECT_EQ(browsed.Text, c.text) << c.chosen.front();
        EXPECT_EQ(browsed.Multiple, c.multiple) << c.chosen.front();
    }
    // Several names come back from "Add" as one rule each.
    BrowsedFiles three = BrowsedFileText({"C:\\A\\ONE.TXT", "C:\\A\\two", "C:\\A\\THREE.DOC"}, false);
    EXPECT_EQ(AddedFileRuleEntries(three.Text, 1), (TextList{"-ONE.TXT", "-two", "-THREE.DOC"}));
}
