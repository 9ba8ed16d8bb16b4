// Single registry values: each routine opens the subkey, does one operation,
// closes the subkey and says whether the operation succeeded. A write that
// failed leaves the registry's error code as the thread's last error.
#pragma once
#include <windows.h>
#include <string>

bool WriteRegDword(HKEY root, const std::string& subkey, const std::string& name, DWORD value);
bool WriteRegString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value);
// Reads 4 bytes whatever the value's type; the target is unchanged on failure.
bool ReadRegDword(HKEY root, const std::string& subkey, const std::string& name, DWORD& value);
// Reads at most 1024 bytes whatever the value's type; the text ends at the first
// 0 byte or at the end of the data. The target is unchanged on failure.
bool ReadRegString(HKEY root, const std::string& subkey, const std::string& name, std::string& value);
bool DeleteRegValue(HKEY root, const std::string& subkey, const std::string& name);
