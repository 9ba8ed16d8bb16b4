// A save that cannot complete: the user is told why, the old file stays as it
// was and nothing is left behind.
#include "ProfileTestKit.h"
#include "RuntimeEnv.h"

namespace {

const std::string Prefix = "Cannot save profile: ";

class ProfileSaveFailure : public ProfileFileTest {
protected:
    void SetUp() override
    {
        ProfileFileTest::SetUp();
        Profile.Folders = {"-C:\\OLD"};
        ASSERT_TRUE(SaveProfile("", 5));
        oldBytes_ = ReadWholeFile(PathOf("default.vtp"));
        ASSERT_FALSE(oldBytes_.empty());
        Profile.Folders = {"&C:\\NEW", "&C:\\NEWER"};
    }

    void TearDown() override { SetFileAttributesA(PathOf("default.vtp").c_str(), FILE_ATTRIBUTE_NORMAL); }

    // Saves while an answerer presses OK on the error box, and checks the box.
    void ExpectFailedSave(const std::vector<DWORD>& possibleErrors)
    {
        BoxAnswerer answerer("ok");
        EXPECT_FALSE(SaveProfile("", 9));
        std::vector<SeenBox> boxes = answerer.WaitSeen(1);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Error", boxes[0].caption);
        EXPECT_EQ("error", boxes[0].icon);
        EXPECT_EQ("ok", boxes[0].buttons);
        bool known = false;
        for (DWORD error : possibleErrors) known = known || boxes[0].text == Prefix + SystemErrorText(error);
        EXPECT_TRUE(known) << boxes[0].text;
        EXPECT_GT(boxes[0].text.size(), Prefix.size());
    }

    void ExpectOldFileIntact()
    {
        std::string path = PathOf("default.vtp");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(oldBytes_, ReadWholeFile(path));
        EXPECT_EQ((std::vector<std::string>{"default.vtp"}), FolderEntries(ProfilesDir));
        ASSERT_TRUE(LoadProfile(path));
        EXPECT_EQ((TextList{"-C:\\OLD"}), Profile.Folders);
        EXPECT_EQ(5u, Profile.PasswordHash);
    }

    std::string oldBytes_;
};

TEST_F(ProfileSaveFailure, ReadOnlyTarget)
{
    ASSERT_TRUE(SetFileAttributesA(PathOf("default.vtp").c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectFailedSave({ERROR_ACCESS_DENIED});
    ExpectOldFileIntact();
}

TEST_F(ProfileSaveFailure, TargetOpenWithoutSharing)
{
    HANDLE locked = CreateFileA(PathOf("default.vtp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    ExpectFailedSave({ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION});
    CloseHandle(locked);
    ExpectOldFileIntact();
}

TEST_F(ProfileSaveFailure, ProfilesFolderMissing)
{
    const std::string existing = ProfilesDir;
    ProfilesDir = existing + "missing\\";
    const TextList options = Profile.Options;
    ExpectFailedSave({ERROR_PATH_NOT_FOUND});
    // The file could not be created, so the options were not touched.
    EXPECT_EQ(options, Profile.Options);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((existing + "missing").c_str()));
    ProfilesDir = existing;
    ExpectOldFileIntact();
}

TEST_F(ProfileSaveFailure, TheNextSaveSucceedsOnceTheTargetIsFree)
{
    ASSERT_TRUE(SetFileAttributesA(PathOf("default.vtp").c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectFailedSave({ERROR_ACCESS_DENIED});
    ASSERT_TRUE(SetFileAttributesA(PathOf("default.vtp").c_str(), FILE_ATTRIBUTE_NORMAL));
    Profile.Folders = {"&C:\\NEW"};
    EXPECT_TRUE(SaveProfile("", 9));
    ASSERT_TRUE(LoadProfile(PathOf("default.vtp")));
    EXPECT_EQ((TextList{"&C:\\NEW"}), Profile.Folders);
    EXPECT_EQ((std::vector<std::string>{"default.vtp"}), FolderEntries(ProfilesDir));
}

}  // namespace
