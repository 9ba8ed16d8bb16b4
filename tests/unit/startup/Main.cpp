// The test program; run with "--env-report FILE" it instead prepares the
// runtime environment as a fresh process does and writes what it found, so
// tests can see values fixed at process start.
#include <gtest/gtest.h>
#include "StartupTest.h"
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], EnvReportSwitch) == 0) return WriteEnvReport(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
