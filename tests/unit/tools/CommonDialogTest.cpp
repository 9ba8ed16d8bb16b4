// The system's own file-open dialog and folder picker, answered from another
// process by the boxanswer tool as the forms' tests answer them.
#include "VtTest.h"
#include <commdlg.h>
#include <shlobj.h>
#include <gtest/gtest.h>

namespace {

class CommonDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = NewTempDir("dialogs");
        for (const char* name : {"first.txt", "second file.txt"}) WriteWholeFile(dir_ + name, "x");
    }
    void TearDown() override { RemoveTree(dir_); }

    // GetOpenFileNameA's buffer as it came back, nulls kept.
    std::string Open(DWORD flags)
    {
        char buffer[2048] = {};
        OPENFILENAMEA ofn = {};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Text files\0*.txt\0";
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = sizeof buffer;
        ofn.lpstrInitialDir = dir_.c_str();
        ofn.Flags = flags | OFN_EXPLORER | OFN_FILEMUSTEXIST;
        if (!GetOpenFileNameA(&ofn)) return std::string();
        size_t end = 0;
        while (end + 1 < sizeof buffer && (buffer[end] || buffer[end + 1])) ++end;
        return std::string(buffer, end);
    }

    std::string dir_;
};

}  // namespace

TEST_F(CommonDialogs, OpenDialogTakesTheTypedName)
{
    BoxAnswerer answerer({OpenFileReply({"second file.txt"})});
    EXPECT_EQ(Open(0), dir_ + "second file.txt");
    std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Open");
}

TEST_F(CommonDialogs, OpenDialogTakesSeveralQuotedNames)
{
    BoxAnswerer answerer({OpenFileReply({"first.txt", "second file.txt"})});
    std::string folder = dir_.substr(0, dir_.size() - 1);
    EXPECT_EQ(Open(OFN_ALLOWMULTISELECT), folder + '\0' + "first.txt" + '\0' + "second file.txt");
}

// Chosen from outside, as a person picks it, then OK.
TEST_F(CommonDialogs, FolderPickerReturnsTheChosenFolder)
{
    const std::string folder = dir_.substr(0, dir_.size() - 1);
    BoxAnswerer answerer({FolderReply(folder)});
    BROWSEINFOA info = {};
    info.lpszTitle = "Choose a folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    char path[MAX_PATH] = {};
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(SHGetPathFromIDListA(chosen, path));
    CoTaskMemFree(chosen);
    EXPECT_EQ(std::string(path), folder);
    std::vector<SeenBox> seen = answerer.WaitSeen(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Browse for Folder");
    EXPECT_EQ(seen[0].buttons, "ok,cancel");
}
