// The main of test programs that show and hide many windows: they run
// again with unmanaged windows first.
#include <gtest/gtest.h>
#include "VtTest.h"
int main(int argc, char** argv) {
    int exitCode = 1;
    if (RelaunchWithUnmanagedWindows(exitCode)) return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
