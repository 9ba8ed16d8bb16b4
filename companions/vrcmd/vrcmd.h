/* vrcmd.dll: keeps and checks the administrator and toggle passwords, turns a
   password into a 32-bit digest, asks the user for a toggle password, and
   carries device-control requests to the protection driver.

   Every function uses the standard Windows calling convention. A boolean
   result is meaningful in its low byte only. Password texts are 8-bit,
   NUL-terminated.

   Digest (Command18): FNV-1a over the password bytes (offset basis 2166136261,
   prime 16777619), the result then passed through a 32-bit avalanche
   (x ^= x >> 16; x *= 0x7FEB352D; x ^= x >> 15; x *= 0x846CA68B; x ^= x >> 16).
   It is a protocol value: it travels in broadcasts and profile files. The
   passwords themselves are checked against a salted PBKDF2-HMAC-SHA256 hash. */
#ifndef VRCMD_H
#define VRCMD_H

#include <windows.h>

#ifdef VRCMD_BUILD
#define VRCMD_API __declspec(dllexport)
#else
#define VRCMD_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* DeviceIoControl, passed through with the same arguments and result. */
VRCMD_API BOOL WINAPI Command7(HANDLE device, DWORD code, LPVOID in, DWORD inSize,
                               LPVOID out, DWORD outSize, LPDWORD returned,
                               LPOVERLAPPED overlapped);
/* Start-up call: makes sure the library's registry key exists. */
VRCMD_API DWORD WINAPI Command9(void);
/* Administrator password given to Command15 is stored. */
VRCMD_API DWORD WINAPI Command10(void);
/* Default toggle password given to Command16 is stored. */
VRCMD_API DWORD WINAPI Command11(void);
/* Forgets any new password given to Command15/Command16 and not yet stored. */
VRCMD_API DWORD WINAPI Command12(void);
/* True when an administrator password is set. */
VRCMD_API DWORD WINAPI Command13(void);
/* True when the text is the administrator password. */
VRCMD_API DWORD WINAPI Command14(const char *password);
/* Takes a new administrator password; Command10 stores it. */
VRCMD_API DWORD WINAPI Command15(const char *password);
/* Takes a new default toggle password; Command11 stores it. */
VRCMD_API DWORD WINAPI Command16(const char *password);
/* True when a default toggle password is set. */
VRCMD_API DWORD WINAPI Command17(void);
/* The 32-bit digest of a password (see above). */
VRCMD_API DWORD WINAPI Command18(const char *password);
/* True when the text is the default toggle password. */
VRCMD_API DWORD WINAPI Command19(const char *password);
/* Asks for the toggle password in a modal dialog; fills buffer, NUL-terminated
   within size; empty on Cancel. */
VRCMD_API DWORD WINAPI Command20(char *buffer, DWORD size);
/* True when the digest is that of the administrator or default toggle password. */
VRCMD_API DWORD WINAPI Command21(DWORD digest);

#ifdef __cplusplus
}
#endif

#endif
