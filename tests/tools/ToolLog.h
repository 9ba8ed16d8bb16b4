// The test tools' log: lines appended to a file that the tests read while the
// tool runs, each line flushed at once.
#pragma once
#include <windows.h>
#include <string>

inline void AppendLine(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}
// The FILE of "--log FILE" on the command line, "" when not given.
inline std::string LogArgument() {
    for (int i = 1; i + 1 < __argc; ++i)
        if (std::string(__argv[i]) == "--log") return __argv[i + 1];
    return std::string();
}
