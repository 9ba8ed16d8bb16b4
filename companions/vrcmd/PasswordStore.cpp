#include "PasswordStore.h"
#include <bcrypt.h>
#include <sddl.h>
#include <cstring>

namespace {

// PBKDF2-HMAC-SHA256. The count is stored with each record, so it can be
// raised later without invalidating passwords already set.
constexpr DWORD HashIterations = 100000;
constexpr DWORD MaxIterations = 10000000;

// Value layout: magic, iterations, salt, hash, digest; integers little-endian.
constexpr BYTE RecordMagic[4] = {'V', 'R', 'P', '1'};
constexpr size_t RecordBytes = 4 + 4 + 16 + 32 + 4;

// HMAC replaces a key longer than its hash's block by the key's hash (RFC
// 2104). Done here once instead of in every iteration, it keeps a long
// password as quick as a short one and hashes a text of any length whole.
constexpr size_t HmacBlockBytes = 64;
constexpr size_t HashBytes = 32;
constexpr ULONG HashPieceBytes = 1u << 30;

// Full control for SYSTEM and the Administrators group, nothing for anyone
// else and nothing inherited from above: the records open the door.
constexpr const char* StoreKeySddl = "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)";

// The store key's descriptor; null on Windows 95/98/ME, whose registry keeps
// no security. LocalFree it.
PSECURITY_DESCRIPTOR StoreKeySecurity() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if ((GetVersion() & 0x80000000u) == 0)
        ConvertStringSecurityDescriptorToSecurityDescriptorA(StoreKeySddl, SDDL_REVISION_1, &descriptor, nullptr);
    return descriptor;
}

LONG CreateStoreKey(REGSAM access, HKEY* key) {
    PSECURITY_DESCRIPTOR descriptor = StoreKeySecurity();
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, StoreKeyPath, 0, nullptr, 0, access,
                                  descriptor ? &attributes : nullptr, key, nullptr);
    LocalFree(descriptor);
    return result;
}

bool SameAces(PACL a, PACL b) {
    if (!a || !b || a->AceCount != b->AceCount) return false;
    for (WORD i = 0; i < a->AceCount; ++i) {
        ACE_HEADER* x = nullptr;
        ACE_HEADER* y = nullptr;
        if (!GetAce(a, i, reinterpret_cast<void**>(&x)) || !GetAce(b, i, reinterpret_cast<void**>(&y)) ||
            x->AceSize != y->AceSize || memcmp(x, y, x->AceSize) != 0)
            return false;
    }
    return true;
}

// True when the key's DACL is the wanted one and protected.
bool HasSecurity(HKEY key, PSECURITY_DESCRIPTOR wanted) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL wantedAcl = nullptr;
    GetSecurityDescriptorDacl(wanted, &present, &wantedAcl, &defaulted);
    BYTE bytes[1024];
    DWORD size = sizeof bytes;
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, bytes, &size) != ERROR_SUCCESS) return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    PACL acl = nullptr;
    return GetSecurityDescriptorControl(bytes, &control, &revision) && (control & SE_DACL_PROTECTED) &&
           GetSecurityDescriptorDacl(bytes, &present, &acl, &defaulted) && present && SameAces(acl, wantedAcl);
}

// A key made before it had this security, or weakened since, gets it back.
// The whole descriptor is set, as SetSecurityInfo under Wine drops the
// protection of the DACL.
void GuardStoreKey(HKEY key) {
    PSECURITY_DESCRIPTOR wanted = StoreKeySecurity();
    if (wanted && !HasSecurity(key, wanted)) RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, wanted);
    LocalFree(wanted);
}

const char* ValueName(PasswordKind kind) {
    return kind == PasswordKind::Administrator ? "Administrator" : "Toggle";
}

void PutDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) at[i] = BYTE(value >> (8 * i));
}

DWORD GetDword(const BYTE* at) {
    return DWORD(at[0]) | DWORD(at[1]) << 8 | DWORD(at[2]) << 16 | DWORD(at[3]) << 24;
}

bool Sha256(const char* text, size_t length, BYTE* digest) {
    BCRYPT_ALG_HANDLE alg = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return false;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCRYPT_SUCCESS(BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0));
    PUCHAR bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(text));
    for (size_t done = 0; ok && done < length;) {
        ULONG piece = length - done < HashPieceBytes ? ULONG(length - done) : HashPieceBytes;
        ok = BCRYPT_SUCCESS(BCryptHashData(hash, bytes + done, piece, 0));
        done += piece;
    }
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, HashBytes, 0));
    if (hash) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(alg, 0);
    return ok;
}

bool DeriveHash(const char* text, size_t length, const BYTE* salt, DWORD iterations, BYTE* hash) {
    BYTE shortened[HashBytes];
    // BCrypt wants a non-null key pointer even for the empty password.
    static UCHAR empty = 0;
    PUCHAR key = length ? reinterpret_cast<PUCHAR>(const_cast<char*>(text)) : &empty;
    if (length > HmacBlockBytes) {
        if (!Sha256(text, length, shortened)) return false;
        key = shortened;
        length = HashBytes;
    }
    BCRYPT_ALG_HANDLE alg = nullptr;
    NTSTATUS status = BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                  BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (BCRYPT_SUCCESS(status)) {
        status = BCryptDeriveKeyPBKDF2(alg, key, ULONG(length), const_cast<PUCHAR>(salt), 16, iterations,
                                       hash, HashBytes, 0);
        BCryptCloseAlgorithmProvider(alg, 0);
    }
    SecureZeroMemory(shortened, sizeof shortened);
    return BCRYPT_SUCCESS(status);
}

}  // namespace

DWORD PasswordDigest(const char* text) {
    DWORD x = 2166136261u;
    if (text)
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            x = (x ^ *p) * 16777619u;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

bool PasswordLength(const char* text, size_t* length) {
    if (!text) return false;
    *length = strlen(text);
    return true;
}

bool MakeRecord(const char* text, size_t length, PasswordRecord* record) {
    record->iterations = HashIterations;
    record->digest = PasswordDigest(text);
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, record->salt, sizeof record->salt,
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return false;
    return DeriveHash(text, length, record->salt, record->iterations, record->hash);
}

bool RecordMatches(const PasswordRecord& record, const char* text, size_t length) {
    BYTE hash[32];
    if (!DeriveHash(text, length, record.salt, record.iterations, hash)) return false;
    unsigned diff = 0;
    for (size_t i = 0; i < sizeof hash; ++i) diff |= unsigned(hash[i] ^ record.hash[i]);
    SecureZeroMemory(hash, sizeof hash);
    return diff == 0;
}

bool EnsureStoreKey() {
    HKEY key;
    if (CreateStoreKey(KEY_SET_VALUE | READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    GuardStoreKey(key);
    RegCloseKey(key);
    return true;
}

bool SaveRecord(PasswordKind kind, const PasswordRecord& record) {
    BYTE bytes[RecordBytes];
    memcpy(bytes, RecordMagic, 4);
    PutDword(bytes + 4, record.iterations);
    memcpy(bytes + 8, record.salt, 16);
    memcpy(bytes + 24, record.hash, 32);
    PutDword(bytes + 56, record.digest);
    HKEY key;
    if (CreateStoreKey(KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    // One value per password: the salt, hash and digest change together.
    LONG result = RegSetValueExA(key, ValueName(kind), 0, REG_BINARY, bytes, RecordBytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

StoredState LoadRecord(PasswordKind kind, PasswordRecord* record) {
    HKEY key;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, StoreKeyPath, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_FILE_NOT_FOUND) return StoredState::Unset;
    if (result != ERROR_SUCCESS) return StoredState::Damaged;
    BYTE bytes[RecordBytes + 1];
    DWORD type = 0, size = sizeof bytes;
    result = RegQueryValueExA(key, ValueName(kind), nullptr, &type, bytes, &size);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND) return StoredState::Unset;
    if (result != ERROR_SUCCESS || type != REG_BINARY || size != RecordBytes ||
        memcmp(bytes, RecordMagic, 4) != 0)
        return StoredState::Damaged;
    record->iterations = GetDword(bytes + 4);
    if (record->iterations == 0 || record->iterations > MaxIterations) return StoredState::Damaged;
    memcpy(record->salt, bytes + 8, 16);
    memcpy(record->hash, bytes + 24, 32);
    record->digest = GetDword(bytes + 56);
    return StoredState::Set;
}

void WipeRecord(PasswordRecord* record) {
    SecureZeroMemory(record, sizeof *record);
}
