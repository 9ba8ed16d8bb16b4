// The exported commands. Every call reads the registry afresh, so a password
// stored by one process is seen at once by every other.
#include "vrcmd.h"
#include "PasswordDialog.h"
#include "PasswordStore.h"

namespace {

// A new password given to Command15/Command16, waiting for Command10/Command11.
// Only its salt and hash are kept, never the text.
struct Pending {
    bool present = false;
    PasswordRecord record;
};

SRWLOCK PendingLock = SRWLOCK_INIT;
Pending PendingAdministrator;
Pending PendingToggle;

Pending& PendingFor(PasswordKind kind) {
    return kind == PasswordKind::Administrator ? PendingAdministrator : PendingToggle;
}

void ForgetPending(Pending& pending) {
    pending.present = false;
    WipeRecord(&pending.record);
}

// An empty password is refused: it would let a cancelled dialog through.
DWORD TakeNewPassword(PasswordKind kind, const char* text) {
    PasswordRecord record;
    size_t length = 0;
    bool usable = PasswordLength(text, &length) && length > 0 && MakeRecord(text, length, &record);
    AcquireSRWLockExclusive(&PendingLock);
    Pending& pending = PendingFor(kind);
    ForgetPending(pending);
    if (usable) {
        pending.record = record;
        pending.present = true;
    }
    ReleaseSRWLockExclusive(&PendingLock);
    WipeRecord(&record);
    return usable;
}

DWORD StorePending(PasswordKind kind) {
    PasswordRecord record;
    AcquireSRWLockExclusive(&PendingLock);
    Pending& pending = PendingFor(kind);
    bool present = pending.present;
    record = pending.record;
    ForgetPending(pending);
    ReleaseSRWLockExclusive(&PendingLock);
    bool stored = present && SaveRecord(kind, record);
    WipeRecord(&record);
    return stored;
}

DWORD IsSet(PasswordKind kind) {
    PasswordRecord record;
    return LoadRecord(kind, &record) != StoredState::Unset;
}

// Empty text is never a password (Command15/16 refuse it), so it costs no hash.
DWORD Matches(PasswordKind kind, const char* text) {
    size_t length = 0;
    if (!PasswordLength(text, &length) || length == 0) return FALSE;
    PasswordRecord record;
    return LoadRecord(kind, &record) == StoredState::Set && RecordMatches(record, text, length);
}

bool DigestMatches(PasswordKind kind, DWORD digest) {
    PasswordRecord record;
    return LoadRecord(kind, &record) == StoredState::Set && record.digest == digest;
}

}  // namespace

extern "C" {

BOOL WINAPI Command7(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped) {
    return DeviceIoControl(device, code, in, inSize, out, outSize, returned, overlapped);
}

DWORD WINAPI Command9(void) { return EnsureStoreKey(); }

DWORD WINAPI Command10(void) { return StorePending(PasswordKind::Administrator); }

DWORD WINAPI Command11(void) { return StorePending(PasswordKind::Toggle); }

DWORD WINAPI Command12(void) {
    AcquireSRWLockExclusive(&PendingLock);
    ForgetPending(PendingAdministrator);
    ForgetPending(PendingToggle);
    ReleaseSRWLockExclusive(&PendingLock);
    return TRUE;
}

DWORD WINAPI Command13(void) { return IsSet(PasswordKind::Administrator); }

DWORD WINAPI Command14(const char* password) { return Matches(PasswordKind::Administrator, password); }

DWORD WINAPI Command15(const char* password) { return TakeNewPassword(PasswordKind::Administrator, password); }

DWORD WINAPI Command16(const char* password) { return TakeNewPassword(PasswordKind::Toggle, password); }

DWORD WINAPI Command17(void) { return IsSet(PasswordKind::Toggle); }

DWORD WINAPI Command18(const char* password) { return PasswordDigest(password); }

DWORD WINAPI Command19(const char* password) { return Matches(PasswordKind::Toggle, password); }

DWORD WINAPI Command20(char* buffer, DWORD size) { return AskTogglePassword(buffer, size); }

DWORD WINAPI Command21(DWORD digest) {
    bool administrator = DigestMatches(PasswordKind::Administrator, digest);
    bool toggle = DigestMatches(PasswordKind::Toggle, digest);
    return administrator || toggle;
}

}  // extern "C"
