#include "UserHive.h"

HKEY UserHiveKey = HKEY_CURRENT_USER;

namespace {

// Digits separated by single hyphens: the part of a user's security
// identifier after "S-1-5-". Anything else could name another key.
bool IsIdentifierSuffix(const std::string& text) {
    const int maxParts = 15;
    const size_t maxDigits = 10;
    int parts = 0;
    size_t digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (++digits > maxDigits) return false;
        } else if (c == '-') {
            if (digits == 0) return false;
            digits = 0;
            ++parts;
        } else {
            return false;
        }
    }
    return digits > 0 && parts + 1 <= maxParts;
}

}  // namespace

bool OpenUserHive(const std::string& sidSuffix) {
    if (!IsIdentifierSuffix(sidSuffix)) return false;
    HKEY hive = nullptr;
    std::string name = "S-1-5-" + sidSuffix;
    if (RegOpenKeyExA(HKEY_USERS, name.c_str(), 0, KEY_ALL_ACCESS, &hive) != ERROR_SUCCESS) return false;
    CloseUserHive();
    UserHiveKey = hive;
    return true;
}

void CloseUserHive() {
    if (UserHiveKey != HKEY_CURRENT_USER) RegCloseKey(UserHiveKey);
    UserHiveKey = HKEY_CURRENT_USER;
}
