// Runs a console program with its output and error output caught in files.
#pragma once
#include <windows.h>
#include <string>

struct CapturedRun {
    bool finished = false;  // false: not started, or still running at the timeout (then killed)
    DWORD exitCode = 0;
    std::string output;     // what it wrote to its standard output
    std::string errors;     // what it wrote to its error output
};

CapturedRun RunCaptured(const std::string& commandLine, DWORD timeoutMs = 30000);
