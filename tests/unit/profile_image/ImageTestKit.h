// The driver image read back as the driver would, and the folder values the
// image tests start from.
#pragma once
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"
#include "VtLockIoctl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

struct ParsedImage {
    bool wellFormed = false;
    std::string problem;
    uint32_t mark = 0, length = 0, filesOffset = 0, fileCount = 0, folderCount = 0;
    std::vector<std::string> files, folders;
};

inline uint32_t ImageNumber(const uint8_t* bytes, size_t offset)
{
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
           uint32_t(bytes[offset + 3]) << 24;
}

// Reads strings up to an empty one (the section terminator); false when the
// bytes end first.
inline bool ReadSection(const uint8_t* bytes, size_t size, size_t& pos, std::vector<std::string>& strings)
{
    for (;;) {
        const void* end = pos < size ? memchr(bytes + pos, 0, size - pos) : nullptr;
        if (!end) return false;
        size_t length = static_cast<const uint8_t*>(end) - (bytes + pos);
        if (length == 0) {
            ++pos;
            return true;
        }
        strings.emplace_back(reinterpret_cast<const char*>(bytes + pos), length);
        pos += length + 1;
    }
}

inline ParsedImage ParseImage(const uint8_t* bytes, size_t size)
{
    ParsedImage image;
    if (size < VTLOCK_IMAGE_HEADER_SIZE) {
        image.problem = "shorter than its header";
        return image;
    }
    image.mark = ImageNumber(bytes, VTLOCK_IMAGE_OFF_MARK);
    image.length = ImageNumber(bytes, VTLOCK_IMAGE_OFF_LENGTH);
    image.filesOffset = ImageNumber(bytes, VTLOCK_IMAGE_OFF_FILES);
    image.fileCount = ImageNumber(bytes, VTLOCK_IMAGE_OFF_NFILES);
    image.folderCount = ImageNumber(bytes, VTLOCK_IMAGE_OFF_NFOLDERS);
    size_t pos = image.filesOffset;
    if (!ReadSection(bytes, size, pos, image.files) || !ReadSection(bytes, size, pos, image.folders)) {
        image.problem = "a section runs past the end";
        return image;
    }
    if (pos != size) image.problem = "bytes follow the folder section";
    else if (image.length != size) image.problem = "total length differs from the bytes in use";
    else if (image.fileCount != image.files.size()) image.problem = "file count differs";
    else if (image.folderCount != image.folders.size()) image.problem = "folder count differs";
    else image.wellFormed = true;
    return image;
}

inline ParsedImage ParseDriverImage()
{
    EXPECT_LE(DriverImageSize, DriverImage.size());
    return ParseImage(DriverImage.data(), DriverImageSize);
}

// Folder values that exist nowhere, so no string of the image gets another
// form from the disk and every expected image is exact.
inline void UseFictitiousSystemFolders()
{
    WindowsDir = "C:\\VTWIN";
    SystemDir = "C:\\VTWIN\\SYSTEM32";
    TempDir = "C:\\VTTEMP\\";
    UserTempDir = "C:\\VTUSER\\TEMP\\";
}

inline std::vector<std::string> SystemFileStrings()
{
    return {"+USER.DAT", "+SYSTEM.DAT", "+WIN386.SWP", "+NTUSER.DAT", "+NTUSER.DAT.LOG", "+HIBERFIL.SYS",
            "+PAGEFILE.SYS"};
}

// What follows the profile's folder rules with the fictitious folders.
inline std::vector<std::string> SystemFolderStrings(bool withSystemBackup)
{
    std::vector<std::string> strings;
    if (withSystemBackup) strings.push_back("+C:\\VTWIN\\SYSBCKUP");
    for (const char* s : {"+C:\\VTWIN\\SPOOL", "+C:\\VTWIN\\REPAIR", "+C:\\VTWIN\\SYSTEM32\\CONFIG",
                          "+C:\\VTWIN\\SYSTEM32\\SPOOL", "+C:\\VTTEMP", "+C:\\VTUSER\\TEMP"})
        strings.push_back(s);
    return strings;
}

inline std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
