#include <windows.h>
#include "CommandLine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunProgram();
}
