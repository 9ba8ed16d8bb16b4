// Profile images sent with code 20: valid ones replace the profile in force,
// malformed ones are refused and leave it in place. Each case is also run
// through the user-mode copy of the validator, which must agree.
#include <gtest/gtest.h>
#include <functional>
#include "DriverClient.h"

namespace {

std::string Repeat(const std::string& prefix, int i)
{
    return prefix + std::to_string(i) + "\\SOME FOLDER WITH A LONGER NAME\\AND ANOTHER ONE";
}

struct ValidCase {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

std::vector<ValidCase> ValidCases()
{
    std::vector<ValidCase> cases = {
        {"empty profile", {}, {}},
        {"system exceptions",
         {"+USER.DAT", "+SYSTEM.DAT", "+WIN386.SWP", "+NTUSER.DAT", "+NTUSER.DAT.LOG", "+HIBERFIL.SYS",
          "+PAGEFILE.SYS"},
         {"+C:\\windows\\SPOOL", "+C:\\windows\\REPAIR", "+C:\\windows\\system32\\CONFIG",
          "+C:\\windows\\system32\\SPOOL", "+C:\\windows\\temp", "+C:\\users\\x\\Temp"}},
        {"every access code and 8-bit text",
         {"-read.me", "&.exe", "+\xE9t\xE9.txt"},
         {"!C:\\Hidden", "@C:\\Program Files", "#C:\\PROGRA~1", "&C:\\Caf\xE9"}},
        {"a string that is only an access code", {"+"}, {"-"}},
        {"files only", {"&.DOC", "-NOTES.TXT"}, {}},
        {"folders only", {}, {"&D:\\", "-C:\\DATA"}},
    };
    ValidCase many{"many strings", {}, {}};
    for (int i = 0; i < 2000; ++i) many.files.push_back("-FILE" + std::to_string(i) + ".TXT");
    for (int i = 0; i < 1500; ++i) many.folders.push_back(Repeat("&C:\\F", i));
    cases.push_back(many);
    return cases;
}

// The image every malformed case starts from.
std::string BaseImage()
{
    return BuildImage({"+USER.DAT", "-README.TXT"}, {"&C:\\SECRET", "+C:\\WINDOWS\\TEMP"});
}

std::string WithField(size_t offset, unsigned int value)
{
    std::string image = BaseImage();
    SetField(image, offset, value);
    return image;
}

// Drops the last n bytes and makes the length field say so.
std::string Truncated(size_t n)
{
    std::string image = BaseImage();
    image.resize(image.size() - n);
    SetField(image, VTLOCK_IMAGE_OFF_LENGTH, static_cast<unsigned int>(image.size()));
    return image;
}

struct MalformedCase {
    const char* name;
    std::function<std::string()> make;
    int verdict;
};

std::vector<MalformedCase> MalformedCases()
{
    const unsigned int size = static_cast<unsigned int>(BaseImage().size());
    return {
        {"wrong format mark", [] { return WithField(VTLOCK_IMAGE_OFF_MARK, 0x102); }, VTLOCK_IMAGE_BAD_MARK},
        {"length one above the input", [=] { return WithField(VTLOCK_IMAGE_OFF_LENGTH, size + 1); },
         VTLOCK_IMAGE_BAD_LENGTH},
        {"length one below the input", [=] { return WithField(VTLOCK_IMAGE_OFF_LENGTH, size - 1); },
         VTLOCK_IMAGE_BAD_LENGTH},
        {"length below the header", [] { return WithField(VTLOCK_IMAGE_OFF_LENGTH, 12); }, VTLOCK_IMAGE_BAD_LENGTH},
        {"length and input both below the header",
         [] {
             std::string image = BaseImage().substr(0, 16);
             SetField(image, VTLOCK_IMAGE_OFF_LENGTH, 16);
             return image;
         },
         VTLOCK_IMAGE_SHORT},
        {"input shorter than the header", [] { return BaseImage().substr(0, 10); }, VTLOCK_IMAGE_SHORT},
        {"no input at all", [] { return std::string(); }, VTLOCK_IMAGE_SHORT},
        {"file section offset 24", [] { return WithField(VTLOCK_IMAGE_OFF_FILES, 24); },
         VTLOCK_IMAGE_BAD_FILE_OFFSET},
        {"file section offset 0", [] { return WithField(VTLOCK_IMAGE_OFF_FILES, 0); }, VTLOCK_IMAGE_BAD_FILE_OFFSET},
        {"file count too high", [] { return WithField(VTLOCK_IMAGE_OFF_NFILES, 3); }, VTLOCK_IMAGE_BAD_COUNT},
        {"file count too low", [] { return WithField(VTLOCK_IMAGE_OFF_NFILES, 1); }, VTLOCK_IMAGE_BAD_COUNT},
        {"folder count too high", [] { return WithField(VTLOCK_IMAGE_OFF_NFOLDERS, 0xFFFFFFFF); },
         VTLOCK_IMAGE_BAD_COUNT},
        {"folder count too low", [] { return WithField(VTLOCK_IMAGE_OFF_NFOLDERS, 0); }, VTLOCK_IMAGE_BAD_COUNT},
        {"folder terminator missing", [] { return Truncated(1); }, VTLOCK_IMAGE_NO_TERMINATOR},
        {"last folder string unterminated", [] { return Truncated(2); }, VTLOCK_IMAGE_NO_TERMINATOR},
        {"header only",
         [] {
             std::string image = BaseImage().substr(0, VTLOCK_IMAGE_HEADER_SIZE);
             SetField(image, VTLOCK_IMAGE_OFF_LENGTH, VTLOCK_IMAGE_HEADER_SIZE);
             return image;
         },
         VTLOCK_IMAGE_NO_TERMINATOR},
        {"file terminator missing",
         [] {
             std::string image = BuildImage({"+A.TXT"}, {});
             image.resize(image.size() - 2);
             SetField(image, VTLOCK_IMAGE_OFF_LENGTH, static_cast<unsigned int>(image.size()));
             return image;
         },
         VTLOCK_IMAGE_NO_TERMINATOR},
        {"bad access code in the file section", [] { return BuildImage({"+A.TXT", "*B.TXT"}, {}); },
         VTLOCK_IMAGE_BAD_ACCESS},
        {"folder string without access code", [] { return BuildImage({}, {"C:\\SECRET"}); },
         VTLOCK_IMAGE_BAD_ACCESS},
        {"bytes after the folder section",
         [] {
             std::string image = BaseImage() + "+X";
             SetField(image, VTLOCK_IMAGE_OFF_LENGTH, static_cast<unsigned int>(image.size()));
             return image;
         },
         VTLOCK_IMAGE_TRAILING},
    };
}

class DriverImage : public ::testing::Test {
protected:
    Device device_;
};

TEST_F(DriverImage, ValidImagesReplaceTheProfileAndReportTheirStrings)
{
    ASSERT_TRUE(device_.IsOpen()) << device_.OpenError();
    for (const ValidCase& c : ValidCases()) {
        SCOPED_TRACE(c.name);
        std::string image = BuildImage(c.files, c.folders);
        unsigned int strings = 0;
        EXPECT_EQ(VtLockCheckImage(reinterpret_cast<const unsigned char*>(image.data()),
                                   static_cast<unsigned int>(image.size()), &strings),
                  VTLOCK_IMAGE_OK);
        EXPECT_EQ(strings, c.files.size() + c.folders.size());

        VTLOCK_STATE before = QueryState(device_);
        DWORD accepted = 0;
        Reply reply = LoadImage(device_, image, &accepted);
        ASSERT_TRUE(reply.ok) << "error " << reply.error;
        EXPECT_EQ(reply.returned, 4u);
        EXPECT_EQ(accepted, c.files.size() + c.folders.size());

        VTLOCK_STATE after = QueryState(device_);
        EXPECT_EQ(after.ImageBytes, image.size());
        EXPECT_EQ(after.FileStrings, c.files.size());
        EXPECT_EQ(after.FolderStrings, c.folders.size());
        EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
        EXPECT_EQ(after.LoadRefused, before.LoadRefused);
    }
}

TEST_F(DriverImage, MalformedImagesAreRefusedAndThePreviousProfileStays)
{
    ASSERT_TRUE(device_.IsOpen()) << device_.OpenError();
    std::string previous = BuildImage({"-KEEP.TXT"}, {"&C:\\KEEP", "+C:\\KEEP\\OPEN", "!C:\\HIDE"});
    ASSERT_TRUE(LoadImage(device_, previous).ok);

    for (const MalformedCase& c : MalformedCases()) {
        SCOPED_TRACE(c.name);
        std::string image = c.make();
        EXPECT_EQ(VtLockCheckImage(reinterpret_cast<const unsigned char*>(image.data()),
                                   static_cast<unsigned int>(image.size()), nullptr),
                  c.verdict);

        VTLOCK_STATE before = QueryState(device_);
        DWORD accepted = 0;
        Reply reply = LoadImage(device_, image, &accepted);
        EXPECT_FALSE(reply.ok);
        EXPECT_EQ(reply.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(accepted, 0xDEADBEEFu) << "the output was written for a refused image";

        VTLOCK_STATE after = QueryState(device_);
        EXPECT_EQ(after.ImageBytes, previous.size());
        EXPECT_EQ(after.FileStrings, 1u);
        EXPECT_EQ(after.FolderStrings, 3u);
        EXPECT_EQ(after.LoadRequests, before.LoadRequests + 1);
        EXPECT_EQ(after.LoadRefused, before.LoadRefused + 1);
    }
}

TEST_F(DriverImage, AValidImageWithoutRoomForTheCountIsRefused)
{
    ASSERT_TRUE(device_.IsOpen()) << device_.OpenError();
    std::string previous = BuildImage({"-KEEP.TXT"}, {});
    ASSERT_TRUE(LoadImage(device_, previous).ok);
    std::string image = BaseImage();

    struct OutputCase {
        const char* name;
        DWORD size;
    } cases[] = {{"no output buffer", 0}, {"two-byte output buffer", 2}};
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.name);
        VTLOCK_STATE before = QueryState(device_);
        unsigned short small = 0x5555;
        Reply reply = Control(device_, VTLOCK_CTL_LOAD_PROFILE, image.data(), static_cast<DWORD>(image.size()),
                              c.size ? &small : nullptr, c.size);
        EXPECT_FALSE(reply.ok);
        EXPECT_EQ(reply.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(small, 0x5555);

        VTLOCK_STATE after = QueryState(device_);
        EXPECT_EQ(after.ImageBytes, previous.size());
        EXPECT_EQ(after.FileStrings, 1u);
        EXPECT_EQ(after.FolderStrings, 0u);
        EXPECT_EQ(after.LoadRefused, before.LoadRefused + 1);
    }
}

}  // namespace
