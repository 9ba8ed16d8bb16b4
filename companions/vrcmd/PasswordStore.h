// The two passwords as the library keeps them: a random salt, a slow salted
// hash and the 32-bit digest, one registry value each under the library's
// own key. The text itself is never stored.
#pragma once
#include <windows.h>
#include <cstddef>
#include "vrcmd.h"

// Where the records live, under HKEY_LOCAL_MACHINE.
constexpr const char* StoreKeyPath = VRCMD_STORE_KEY;

enum class PasswordKind { Administrator, Toggle };

struct PasswordRecord {
    DWORD iterations = 0;
    BYTE salt[16] = {};
    BYTE hash[32] = {};
    DWORD digest = 0;
};

// Present but unreadable or malformed counts as set: it matches nothing, so
// a damaged record never opens the door.
enum class StoredState { Unset, Set, Damaged };

// The 32-bit protocol digest of a password; null counts as empty text.
DWORD PasswordDigest(const char* text);

// Length of a password text, whatever it is; false for null.
bool PasswordLength(const char* text, size_t* length);

// Fresh salt and slow hash for a password; false when the system's crypto fails.
bool MakeRecord(const char* text, size_t length, PasswordRecord* record);

// True when text is the password the record was made from; constant time.
bool RecordMatches(const PasswordRecord& record, const char* text, size_t length);

// Creates the store key when missing and gives it its security (full control
// for SYSTEM and Administrators only, protected) when it has less.
bool EnsureStoreKey();
bool SaveRecord(PasswordKind kind, const PasswordRecord& record);
StoredState LoadRecord(PasswordKind kind, PasswordRecord* record);

// Wipes a record or password buffer so that nothing lingers in memory.
void WipeRecord(PasswordRecord* record);
