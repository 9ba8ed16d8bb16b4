// Security descriptors read back from the system, as a peer checking what
// ordinary users may do would read them.
#include "VtTest.h"
#include <gtest/gtest.h>
#include <aclapi.h>
#include <sddl.h>
namespace {
bool IsAny(PSID sid, std::initializer_list<WELL_KNOWN_SID_TYPE> types)
{
    for (WELL_KNOWN_SID_TYPE type : types)
        if (IsWellKnownSid(sid, type)) return true;
    return false;
}
DaclView ViewOf(PSECURITY_DESCRIPTOR descriptor)
{
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
    if (!present || !dacl) {
        view.users = GENERIC_ALL;  // no DACL: everyone may do everything
        return view;
    }
    for (WORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        PSID sid = &allowed->SidStart;
        if (IsAny(sid, {WinLocalSystemSid}))
            view.system |= allowed->Mask;
        else if (IsAny(sid, {WinBuiltinAdministratorsSid}))
            view.administrators |= allowed->Mask;
        else if (IsAny(sid, {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid, WinInteractiveSid}))
            view.users |= allowed->Mask;
    }
    return view;
}
DaclView ReadFileDacl(const std::string& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return DaclView{};
    DaclView view = ViewOf(descriptor);
    LocalFree(descriptor);
    return view;
}
// Whether the file system keeps a DACL as it is set. Wine does not: it
// derives a file's DACL from its Unix mode bits, without the Administrators
// group, the protection or inheritance.
bool FileDaclsKept()
{
    static const bool kept = [] {
        std::string probe = NewTempDir("dacl") + "probe";
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;BA)", SDDL_REVISION_1,
                                                             &attributes.lpSecurityDescriptor, nullptr);
        bool made = CreateDirectoryA(probe.c_str(), &attributes);
        LocalFree(attributes.lpSecurityDescriptor);
        return made && ReadFileDacl(probe).protectedDacl;
    }();
    return kept;
}
bool FullControl(ACCESS_MASK mask, ACCESS_MASK all) { return (mask & GENERIC_ALL) || (mask & all) == all; }
}  // namespace
HANDLE StandardUserToken()
{
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
DaclView KeyDacl(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return DaclView{};
    std::vector<BYTE> bytes(64 * 1024);
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG result = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, bytes.data(), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? ViewOf(bytes.data()) : DaclView{};
}
DaclView FileDacl(const std::string& path)
{
    DaclView view = ReadFileDacl(path);
    view.kept = FileDaclsKept();
    return view;
}
void ExpectOnlyAdministrators(const DaclView& view, ACCESS_MASK fullControl, bool protectedDacl)
{
    ASSERT_TRUE(view.read) << "the descriptor cannot be read";
    EXPECT_EQ(view.users, 0u) << "ordinary users have access";
    if (!view.kept) return;
    EXPECT_TRUE(FullControl(view.system, fullControl)) << std::hex << view.system;
    EXPECT_TRUE(FullControl(view.administrators, fullControl)) << std::hex << view.administrators;
    EXPECT_EQ(view.protectedDacl, protectedDacl);
}
bool SetKeyDacl(HKEY root, const char* path, const char* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    HKEY key;
    LONG result = RegCreateKeyExA(root, path, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return result == ERROR_SUCCESS;
}
HANDLE StartAsStandardUser(const std::string& commandLine, DWORD* processId)
{
    return StartProcess(commandLine, processId, StandardUserToken());
}
ProcessResult RunAsStandardUser(const std::string& commandLine, DWORD timeoutMs)
{
    ProcessResult result;
    HANDLE process = StartAsStandardUser(commandLine);
    if (!process) return result;
    result.finished = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished) TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
    return result;
}
