// The user hive: the registry root of policy values and per-user shell
// folders, the current user's key or, in the agent, the logged-on user's hive.
#pragma once
#include <windows.h>
#include <string>

extern HKEY UserHiveKey;

// Opens HKEY_USERS\S-1-5-<sidSuffix>; a malformed suffix or a hive that is
// not loaded leaves UserHiveKey unchanged.
bool OpenUserHive(const std::string& sidSuffix);
void CloseUserHive();
