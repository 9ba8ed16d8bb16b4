// Shared by the vtprofile tests: the tool run from bin/ with its output
// caught, and profile files written into a fresh folder.
#pragma once
#include "Captured.h"
#include "RuntimeEnv.h"
#include "UProfiles.h"
#include "VtTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class VtprofileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitRuntimeEnvironment();
        dir_ = NewTempDir("vtprofile");
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override { RemoveTree(dir_); }

    std::string PathOf(const std::string& name) const { return dir_ + name; }

    // Writes lines, each ended by CR LF, as a file of the test's folder.
    std::string WriteLines(const std::string& name, const std::vector<std::string>& lines) const
    {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        EXPECT_TRUE(WriteWholeFile(PathOf(name), bytes));
        return PathOf(name);
    }

    static CapturedRun Tool(const std::vector<std::string>& args)
    {
        std::string line = QuoteArgument(BinDir() + "vtprofile.exe");
        for (const std::string& arg : args) line += " " + QuoteArgument(arg);
        CapturedRun run = RunCaptured(line);
        EXPECT_TRUE(run.finished) << line;
        return run;
    }

    // The folder of the tool, upper case, without its trailing backslash.
    static std::string ToolFolder()
    {
        std::string folder = UpperCase(BinDir());
        folder.pop_back();
        return folder;
    }

private:
    std::string dir_;
};
