// The roles of the executable, chosen by its command line: the agent, the
// agent service, the driver service, the commands that ask the agent, and the
// profile manager when no switch names another.
#pragma once
#include "CommandLine.h"

#include <vector>

// The table of the executable's switches, in the order they are tried.
const std::vector<SwitchRow>& SwitchTable();

// The whole start of the process; returns the exit code: 0, or the first
// failing command's code.
int RunProgram();
