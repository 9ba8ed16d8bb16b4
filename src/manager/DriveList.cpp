#include "DriveList.h"

namespace {

const DWORD LabelChars = 260;

const char* DriveTypeText(UINT driveType)
{
    switch (driveType) {
    case DRIVE_REMOVABLE: return "    <Removable drive>";
    case DRIVE_FIXED: return "    <Fixed drive>";
    case DRIVE_CDROM: return "    <CD-ROM/DVD drive>";
    case DRIVE_RAMDISK: return "    <RAM disk drive>";
    default: return "";
    }
}

// The volume label, empty when it cannot be read.
std::string VolumeLabel(const std::string& root)
{
    char label[LabelChars + 1] = {};
    if (!GetVolumeInformationA(root.c_str(), label, LabelChars, nullptr, nullptr, nullptr, nullptr, 0))
        return std::string();
    label[LabelChars] = '\0';
    return label;
}

}  // namespace

std::string DriveEntryText(char letter, const std::string& label, UINT driveType)
{
    std::string text = std::string("[ ") + letter + ": ]";
    if (!label.empty()) text += "  (" + label + ") ";
    return text + DriveTypeText(driveType);
}

std::vector<DriveEntry> ReadDriveEntries()
{
    std::vector<DriveEntry> drives;
    const DWORD mask = GetLogicalDrives();
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        const char letter = static_cast<char>('A' + i);
        const std::string root = std::string(1, letter) + ":\\";
        DriveEntry drive;
        drive.Type = GetDriveTypeA(root.c_str());
        drive.Text = DriveEntryText(letter, VolumeLabel(root), drive.Type);
        drives.push_back(drive);
    }
    SetErrorMode(previousMode);
    return drives;
}

int FirstFixedDrive(const std::vector<DriveEntry>& drives)
{
    for (size_t i = 0; i < drives.size(); ++i)
        if (drives[i].Type == DRIVE_FIXED) return static_cast<int>(i);
    return 0;
}
