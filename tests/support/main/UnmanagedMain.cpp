// The main of test programs that show and hide many windows: they run
// again with unmanaged windows first (UnmanagedWindows.h).
#include <gtest/gtest.h>
#include "UnmanagedWindows.h"

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (RelaunchWithUnmanagedWindows(exitCode)) return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
