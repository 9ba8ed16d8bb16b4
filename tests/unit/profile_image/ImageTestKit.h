// The driver image as the driver's own check reads it, and the folder values
// the image tests start from.
#pragma once
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtLockIoctl.h"
#include "VtTest.h"

#include <gtest/gtest.h>

#include <string>

// Folder values that exist nowhere, so no system string gets another form
// from the disk and every expected image is exact.
inline void UseFictitiousSystemFolders()
{
    WindowsDir = "C:\\VTWIN";
    SystemDir = "C:\\VTWIN\\SYSTEM32";
    TempDir = "C:\\VTTEMP\\";
    UserTempDir = "C:\\VTUSER\\TEMP\\";
}

const std::string SystemFiles =
    "+USER.DAT|+SYSTEM.DAT|+WIN386.SWP|+NTUSER.DAT|+NTUSER.DAT.LOG|+HIBERFIL.SYS|+PAGEFILE.SYS|";
// What follows the profile's folder rules with the fictitious folders.
const std::string SystemFolders = "+C:\\VTWIN\\SPOOL|+C:\\VTWIN\\REPAIR|+C:\\VTWIN\\SYSTEM32\\CONFIG|"
                                  "+C:\\VTWIN\\SYSTEM32\\SPOOL|+C:\\VTTEMP|+C:\\VTUSER\\TEMP|";

// The image's strings after its header, each followed by "|", once the
// driver's check has accepted the whole image: the file strings, "|", the
// folder strings, "|".
inline std::string ImageText(const uint8_t* image, size_t size)
{
    EXPECT_EQ(VTLOCK_IMAGE_OK, VtLockCheckImage(image, static_cast<unsigned>(size), nullptr));
    if (size < VTLOCK_IMAGE_HEADER_SIZE) return std::string();
    std::string text(image + VTLOCK_IMAGE_HEADER_SIZE, image + size);
    for (char& c : text)
        if (c == '\0') c = '|';
    return text;
}

inline std::string BuiltImage()
{
    BuildDriverImage();
    EXPECT_LE(DriverImageSize, DriverImage.size());
    return ImageText(DriverImage.data(), DriverImageSize);
}
