#include "UnmanagedWindows.h"

int main(int argc, char** argv)
{
    return RunFormTests(argc, argv);
}
