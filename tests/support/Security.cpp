// Security descriptors read back from the system, as a peer checking what
// ordinary users may do would read them, and a standard user's token.
#include "VtTest.h"
#include <gtest/gtest.h>
#include <aclapi.h>
#include <sddl.h>
namespace {
DaclView ViewOf(PSECURITY_DESCRIPTOR descriptor) {
    DaclView view;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorControl(descriptor, &control, &revision) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted))
        return view;
    view.read = true;
    view.protectedDacl = (control & SE_DACL_PROTECTED) != 0;
    if (!present || !dacl) view.users = GENERIC_ALL;  // no DACL: everyone may do everything
    for (WORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        PSID sid = &ace->SidStart;
        if (IsWellKnownSid(sid, WinLocalSystemSid))
            view.system |= ace->Mask;
        else if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid))
            view.administrators |= ace->Mask;
        else if (IsWellKnownSid(sid, WinBuiltinUsersSid) || IsWellKnownSid(sid, WinAuthenticatedUserSid) ||
                 IsWellKnownSid(sid, WinWorldSid) || IsWellKnownSid(sid, WinInteractiveSid))
            view.users |= ace->Mask;
    }
    return view;
}
DaclView ReadFileDacl(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DaclView view;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) == ERROR_SUCCESS)
        view = ViewOf(descriptor);
    LocalFree(descriptor);
    return view;
}
PSECURITY_DESCRIPTOR FromSddl(const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr);
    return descriptor;
}
// Wine does not keep a file's DACL as it is set: it derives one from the Unix
// mode bits, without the Administrators group, the protection or inheritance.
bool FileDaclsKept() {
    static const bool kept = [] {
        std::string probe = NewTempDir("dacl") + "probe";
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, FromSddl("D:P(A;;FA;;;BA)"), FALSE};
        bool made = CreateDirectoryA(probe.c_str(), &attributes);
        LocalFree(attributes.lpSecurityDescriptor);
        return made && ReadFileDacl(probe).protectedDacl;
    }();
    return kept;
}
bool FullControl(ACCESS_MASK mask, ACCESS_MASK all) { return (mask & GENERIC_ALL) || (mask & all) == all; }
}  // namespace
HANDLE StandardUserToken() {
    static const HANDLE restricted = [] {
        HANDLE own = nullptr, token = nullptr;
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof sid;
        SID_AND_ATTRIBUTES denied = {sid, 0};
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) ||
            !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) ||
            !CreateRestrictedToken(own, 0, 1, &denied, 0, nullptr, 0, nullptr, &token))
            ADD_FAILURE() << "no restricted token: " << GetLastError();
        if (own) CloseHandle(own);
        return token;
    }();
    return restricted;
}
DaclView KeyDacl(HKEY root, const char* path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return DaclView{};
    std::vector<BYTE> bytes(64 * 1024);
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG result = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, bytes.data(), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? ViewOf(bytes.data()) : DaclView{};
}
DaclView FileDacl(const std::string& path) {
    DaclView view = ReadFileDacl(path);
    view.kept = FileDaclsKept();
    return view;
}
void ExpectOnlyAdministrators(const DaclView& view, ACCESS_MASK fullControl, bool protectedDacl) {
    ASSERT_TRUE(view.read) << "the descriptor cannot be read";
    EXPECT_EQ(view.users, 0u) << "ordinary users have access";
    if (!view.kept) return;
    EXPECT_TRUE(FullControl(view.system, fullControl)) << std::hex << view.system;
    EXPECT_TRUE(FullControl(view.administrators, fullControl)) << std::hex << view.administrators;
    EXPECT_EQ(view.protectedDacl, protectedDacl);
}
bool SetKeyDacl(HKEY root, const char* path, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = FromSddl(sddl);
    HKEY key;
    LONG result = descriptor ? RegCreateKeyExA(root, path, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr)
                             : ERROR_INVALID_PARAMETER;
    if (result == ERROR_SUCCESS) {
        result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return result == ERROR_SUCCESS;
}
HANDLE StartAsStandardUser(const std::string& commandLine, DWORD* processId) {
    return StartProcess(commandLine, processId, StandardUserToken());
}
ProcessResult RunAsStandardUser(const std::string& commandLine, DWORD timeoutMs) {
    return RunAndWait(commandLine, timeoutMs, StandardUserToken());
}
