/* The device is closed to users twice over: its DACL, checked by the I/O
   manager before the driver sees an open, and the caller's token, checked by
   the driver at every open. The second check is what holds where the
   platform does not enforce a device's DACL (Wine). */
#include "VtLockAccess.h"

#define VTLOCK_ACCESS_TAG 0x61417456u /* "VtAa" in a pool dump */

/* Not in the kernel headers of every toolchain. */
#ifndef PROCESS_QUERY_INFORMATION
#define PROCESS_QUERY_INFORMATION 0x0400
#endif
#ifndef SE_GROUP_ENABLED
#define SE_GROUP_ENABLED 0x00000004
#endif
#ifndef SE_GROUP_USE_FOR_DENY_ONLY
#define SE_GROUP_USE_FOR_DENY_ONLY 0x00000010
#endif

/* S-1-5-18 (SYSTEM) and S-1-5-32-544 (Administrators). */
typedef struct {
    UCHAR Revision;
    UCHAR SubAuthorityCount;
    SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
    ULONG SubAuthority[2];
} VTLOCK_SID;

static VTLOCK_SID SystemSid = {SID_REVISION, 1, {SECURITY_NT_AUTHORITY}, {SECURITY_LOCAL_SYSTEM_RID, 0}};
static VTLOCK_SID AdministratorsSid = {SID_REVISION, 2, {SECURITY_NT_AUTHORITY},
                                       {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}};

NTSTATUS VtLockProtectDevice(PDEVICE_OBJECT device)
{
    SECURITY_DESCRIPTOR descriptor;
    ULONG acl[64]; /* room for two ACEs, ULONG-aligned */
    PACL dacl = (PACL)acl;
    HANDLE handle = NULL;
    NTSTATUS status;

    RtlCreateSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    status = RtlCreateAcl(dacl, sizeof acl, ACL_REVISION);
    if (NT_SUCCESS(status)) status = RtlAddAccessAllowedAce(dacl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&SystemSid);
    if (NT_SUCCESS(status))
        status = RtlAddAccessAllowedAce(dacl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&AdministratorsSid);
    if (NT_SUCCESS(status)) status = RtlSetDaclSecurityDescriptor(&descriptor, TRUE, dacl, FALSE);
    if (NT_SUCCESS(status))
        status = ObOpenObjectByPointer(device, OBJ_KERNEL_HANDLE, NULL, WRITE_DAC, NULL, KernelMode, &handle);
    if (!NT_SUCCESS(status)) return status;
    status = ZwSetSecurityObject(handle, DACL_SECURITY_INFORMATION, &descriptor);
    ZwClose(handle);
    return status;
}

/* Administrators counts only as an enabled group, not as a deny-only one. */
static BOOLEAN GroupsHoldAdministrators(const TOKEN_GROUPS* groups)
{
    ULONG i;
    for (i = 0; i < groups->GroupCount; ++i) {
        ULONG attributes = groups->Groups[i].Attributes;
        if (RtlEqualSid(groups->Groups[i].Sid, (PSID)&AdministratorsSid) && (attributes & SE_GROUP_ENABLED) &&
            !(attributes & SE_GROUP_USE_FOR_DENY_ONLY))
            return TRUE;
    }
    return FALSE;
}

/* One class of token information in pool memory; NULL when unavailable. */
static void* QueryToken(HANDLE token, TOKEN_INFORMATION_CLASS kind)
{
    ULONG size = 0;
    void* buffer;
    NTSTATUS status = ZwQueryInformationToken(token, kind, NULL, 0, &size);
    if (status != STATUS_BUFFER_TOO_SMALL || size == 0) return NULL;
    buffer = ExAllocatePoolWithTag(PagedPool, size, VTLOCK_ACCESS_TAG);
    if (buffer && !NT_SUCCESS(ZwQueryInformationToken(token, kind, buffer, size, &size))) {
        ExFreePoolWithTag(buffer, VTLOCK_ACCESS_TAG);
        buffer = NULL;
    }
    return buffer;
}

static BOOLEAN TokenMayOpen(HANDLE token)
{
    BOOLEAN allowed = FALSE;
    TOKEN_USER* user = (TOKEN_USER*)QueryToken(token, TokenUser);
    TOKEN_GROUPS* groups = NULL;

    if (user) {
        allowed = RtlEqualSid(user->User.Sid, (PSID)&SystemSid);
        ExFreePoolWithTag(user, VTLOCK_ACCESS_TAG);
    }
    if (!allowed && (groups = (TOKEN_GROUPS*)QueryToken(token, TokenGroups))) {
        allowed = GroupsHoldAdministrators(groups);
        ExFreePoolWithTag(groups, VTLOCK_ACCESS_TAG);
    }
    return allowed;
}

/* The requesting process's own token. An open is handled in the context of
   the thread that asked for it, so the current process is the requester. */
static BOOLEAN RequestingProcessMayOpen(void)
{
    OBJECT_ATTRIBUTES attributes;
    CLIENT_ID client;
    HANDLE process = NULL;
    HANDLE token = NULL;
    BOOLEAN allowed = FALSE;

    InitializeObjectAttributes(&attributes, NULL, OBJ_KERNEL_HANDLE, NULL, NULL);
    client.UniqueProcess = PsGetCurrentProcessId();
    client.UniqueThread = NULL;
    if (!NT_SUCCESS(ZwOpenProcess(&process, PROCESS_QUERY_INFORMATION, &attributes, &client))) return FALSE;
    if (NT_SUCCESS(ZwOpenProcessTokenEx(process, TOKEN_QUERY, OBJ_KERNEL_HANDLE, &token))) {
        allowed = TokenMayOpen(token);
        ZwClose(token);
    }
    ZwClose(process);
    return allowed;
}

/* Windows hands over the subject of the access check (the impersonation
   token when there is one); Wine passes none, and its winedevice reports the
   requesting process as the current one, so its token decides there. */
BOOLEAN VtLockCallerMayOpen(PIO_STACK_LOCATION stack)
{
    PIO_SECURITY_CONTEXT context = stack->Parameters.Create.SecurityContext;
    if (context && context->AccessState)
        return SeTokenIsAdmin(SeQuerySubjectContextToken(&context->AccessState->SubjectSecurityContext));
    return RequestingProcessMayOpen();
}
