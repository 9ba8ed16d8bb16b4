#include "RegValues.h"

namespace {

HKEY CreateForWrite(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(rc));
        return nullptr;
    }
    return key;
}

HKEY OpenForRead(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace

bool WriteRegDword(HKEY root, const std::string& subkey, const std::string& name, DWORD value)
{
    HKEY key = CreateForWrite(root, subkey);
    if (!key) return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(rc));
    return rc == ERROR_SUCCESS;
}

bool WriteRegString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value)
{
    HKEY key = CreateForWrite(root, subkey);
    if (!key) return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(rc));
    return rc == ERROR_SUCCESS;
}

bool ReadRegDword(HKEY root, const std::string& subkey, const std::string& name, DWORD& value)
{
    HKEY key = OpenForRead(root, subkey);
    if (!key) return false;
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, data, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    // Shorter data (a REG_SZ of one character, say) fills the low bytes only.
    value = DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
    return true;
}

bool ReadRegString(HKEY root, const std::string& subkey, const std::string& name, std::string& value)
{
    HKEY key = OpenForRead(root, subkey);
    if (!key) return false;
    char data[1024];
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || size > sizeof data) return false;
    // The data need not end in a 0 byte: stop at the first one or at its end.
    DWORD length = 0;
    while (length < size && data[length] != '\0') ++length;
    value.assign(data, length);
    return true;
}

bool DeleteRegValue(HKEY root, const std::string& subkey, const std::string& name)
{
    HKEY key = CreateForWrite(root, subkey);
    if (!key) return false;
    LONG rc = RegDeleteValueA(key, name.c_str());
    RegFlushKey(key);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
