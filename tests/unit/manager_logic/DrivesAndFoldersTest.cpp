// The drive list's entries and the subfolders the tree reads, on the
// prefix's real drives and folders.
#include "DriveList.h"
#include "FolderScan.h"
#include "VtTest.h"

#include <gtest/gtest.h>
#include <algorithm>

TEST(DriveList, EntryTexts)
{
    const struct {
        char letter;
        const char* label;
        UINT type;
        const char* text;
    } cases[] = {
        {'C', "", DRIVE_FIXED, "[ C: ]    <Fixed drive>"},
        {'C', "SYSTEM", DRIVE_FIXED, "[ C: ]  (SYSTEM)     <Fixed drive>"},
        {'A', "", DRIVE_REMOVABLE, "[ A: ]    <Removable drive>"},
        {'D', "DVD 1", DRIVE_CDROM, "[ D: ]  (DVD 1)     <CD-ROM/DVD drive>"},
        {'R', "", DRIVE_RAMDISK, "[ R: ]    <RAM disk drive>"},
        {'N', "SHARE", DRIVE_REMOTE, "[ N: ]  (SHARE) "},
        {'X', "", DRIVE_NO_ROOT_DIR, "[ X: ]"},
        {'Y', "", DRIVE_UNKNOWN, "[ Y: ]"},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveEntryText(c.letter, c.label, c.type), c.text) << c.text;
}

TEST(DriveList, OneEntryPerDriveOfThePrefix)
{
    std::vector<DriveEntry> drives = ReadDriveEntries();
    const DWORD mask = GetLogicalDrives();
    size_t expected = 0, c = 0;
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        if (i == 2) c = expected;
        ++expected;
    }
    ASSERT_EQ(drives.size(), expected);
    ASSERT_TRUE(mask & 4u);
    // Wine's C: is a fixed drive; its entry begins with the bracketed letter.
    EXPECT_EQ(drives[c].Type, static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(drives[c].Text.substr(0, 6), "[ C: ]");
    EXPECT_EQ(drives[c].Text.substr(drives[c].Text.size() - 17), "    <Fixed drive>");
    EXPECT_LE(static_cast<size_t>(FirstFixedDrive(drives)), c);
    EXPECT_EQ(drives[FirstFixedDrive(drives)].Type, static_cast<UINT>(DRIVE_FIXED));
}

TEST(DriveList, FirstFixedDrive)
{
    auto drives = [](std::initializer_list<UINT> types) {
        std::vector<DriveEntry> list;
        for (UINT type : types) list.push_back({"", type});
        return list;
    };
    EXPECT_EQ(FirstFixedDrive(drives({DRIVE_REMOVABLE, DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_FIXED})), 2);
    EXPECT_EQ(FirstFixedDrive(drives({DRIVE_FIXED, DRIVE_CDROM})), 0);
    EXPECT_EQ(FirstFixedDrive(drives({DRIVE_CDROM, DRIVE_REMOTE})), 0);
    EXPECT_EQ(FirstFixedDrive({}), 0);
}

TEST(FolderScan, SubfoldersOfARealFolder)
{
    const std::string root = NewTempDir("scan");
    const std::string top = root + "Top";
    CreateDirectoryA(top.c_str(), nullptr);
    for (const char* name : {"beta", "Alpha", "hidden one", "system", "empty"})
        CreateDirectoryA((top + "\\" + name).c_str(), nullptr);
    SetFileAttributesA((top + "\\hidden one").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((top + "\\system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((top + "\\beta\\inner").c_str(), nullptr);
    WriteWholeFile(top + "\\file.txt", "x");
    WriteWholeFile(top + "\\empty\\only a file", "x");

    std::vector<std::string> names = ListSubfolders(top);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "empty", "hidden one", "system"}));
    EXPECT_TRUE(HasSubfolders(top));
    EXPECT_TRUE(HasSubfolders(top + "\\beta"));
    EXPECT_FALSE(HasSubfolders(top + "\\empty"));
    EXPECT_FALSE(HasSubfolders(top + "\\missing"));
    EXPECT_TRUE(ListSubfolders(top + "\\missing").empty());
    EXPECT_TRUE(ListSubfolders(top + "\\file.txt").empty());
    RemoveTree(root);
}
