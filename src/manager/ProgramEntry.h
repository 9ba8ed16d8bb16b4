// The "Disabled programs" tab's entry for a program file: its upper-cased
// name and what its version information says of it.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>

// How much version information is read, in bytes and as UTF-16 units.
constexpr size_t VersionInfoBytes = 2048;
constexpr size_t VersionInfoUnits = VersionInfoBytes / sizeof(WCHAR);

// The description that follows the name, from version information taken as
// count UTF-16 units: "      // " and the "FileDescription" value, then
// "  (", the "CompanyName" value and ")"; empty when it has neither. A value
// is read from the 17th (13th) unit after the start of its key up to a null
// or the end of the units, whichever comes first.
std::string VersionDescription(const WCHAR* units, size_t count);

// The entry for the program at path: its file name without folder,
// upper-cased, followed by the description of its first 2048 bytes of
// version information; the name alone when it has none.
std::string ProgramEntry(const std::string& path);
