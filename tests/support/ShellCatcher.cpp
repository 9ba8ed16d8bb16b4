// The shell's handlers for help files, web pages and mail links, pointed at
// the shellcatch tool for the life of a ShellCatcher.
#include "VtTest.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

const char ProgId[] = "VantrelTest.ShellCatch";

// The default value of an HKEY_CLASSES_ROOT key; false when the key or the
// value is missing.
bool ReadDefault(const std::string& key, std::string& value)
{
    char data[1024] = {};
    LONG size = sizeof data - 1;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), data, &size) != ERROR_SUCCESS) return false;
    value.assign(data);
    return true;
}

bool WriteDefault(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

}  // namespace

ShellCatcher::ShellCatcher()
{
    logPath_ = NewTempDir("shell") + "opened.log";
    const std::string command =
        QuoteArgument(BinDir() + "shellcatch.exe") + " --log " + QuoteArgument(logPath_) + " \"%1\"";
    const std::pair<std::string, std::string> entries[] = {
        {std::string(ProgId) + "\\shell\\open\\command", command},
        {".hlp", ProgId},
        {".chm", ProgId},
        {"http\\shell\\open\\command", command},
        {"https\\shell\\open\\command", command},
        {"mailto\\shell\\open\\command", command},
    };
    for (const auto& entry : entries) {
        Saved saved{entry.first, false, std::string()};
        saved.existed = ReadDefault(entry.first, saved.value);
        saved_.push_back(saved);
        if (!WriteDefault(entry.first, entry.second)) ADD_FAILURE() << "cannot register HKCR\\" << entry.first;
    }
}

ShellCatcher::~ShellCatcher()
{
    for (const Saved& saved : saved_) {
        if (saved.existed)
            WriteDefault(saved.key, saved.value);
        else
            RegDeleteKeyValueA(HKEY_CLASSES_ROOT, saved.key.c_str(), nullptr);
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ProgId);
}

std::vector<std::string> ShellCatcher::Opened()
{
    std::string log = ReadWholeFile(logPath_);
    // Only whole lines: the tool may be writing the last one right now.
    std::istringstream lines(log.substr(0, log.rfind('\n') + 1));
    std::vector<std::string> opened;
    for (std::string line; std::getline(lines, line);) opened.push_back(line);
    return opened;
}

std::vector<std::string> ShellCatcher::WaitOpened(size_t count, DWORD timeoutMs)
{
    std::vector<std::string> opened;
    WaitFor([&] { return (opened = Opened()).size() >= count; }, timeoutMs);
    return opened;
}
