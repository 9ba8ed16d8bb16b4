// Stands in for the program that the shell starts for a help file, a web
// page or a mail link: appends the arguments it was started with (those after
// --log FILE) to FILE as one tab-separated line, then ends.
//   shellcatch --log FILE ARGS...
#include <windows.h>
#include "ToolLog.h"
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || std::string(__argv[1]) != "--log") return 2;
    std::string line;
    for (int i = 3; i < __argc; ++i) line += (i > 3 ? "\t" : "") + std::string(__argv[i]);
    AppendLine(__argv[2], line + "\n");
    return 0;
}
