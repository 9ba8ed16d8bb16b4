// The profile check: rules that would lock the computer up, and rules that
// silently do nothing.
#pragma once
#include "UProfiles.h"

#include <string>
#include <vector>

struct Finding {
    size_t line = 0;     // the file line the finding is about
    bool error = false;  // false: a warning
    std::string text;
};

// Checks the loaded Profile; numbers are the file lines of its list lines.
// Findings are in line order.
std::vector<Finding> CheckProfile(const ProfileLineNumbers& numbers);
