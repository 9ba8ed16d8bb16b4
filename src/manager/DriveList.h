// The entries of the folder tab's "Disk drive:" list.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct DriveEntry {
    std::string Text;
    UINT Type = DRIVE_UNKNOWN;  // GetDriveType's answer
};

// "[ C: ]", then "  (" + label + ") " when the label is not empty, then the
// type text of removable, fixed, CD-ROM and RAM disk drives; other types
// have none.
std::string DriveEntryText(char letter, const std::string& label, UINT driveType);

// One entry per drive of the logical drive mask, A to Z, with the critical
// error boxes of empty drives switched off while the volumes are read.
std::vector<DriveEntry> ReadDriveEntries();

// The index of the first fixed drive; 0 when there is none.
int FirstFixedDrive(const std::vector<DriveEntry>& drives);
