/* vrcmd.dll: keeps and checks the administrator and toggle passwords, turns a
   password into a 32-bit digest, asks the user for a toggle password, and
   carries device-control requests to the protection driver.

   Every function uses the standard Windows calling convention. A boolean
   result is meaningful in its low byte only. Password texts are 8-bit,
   NUL-terminated, of one character or more and of any length: the whole text
   is hashed and checked. A null pointer or an empty text is never a password.

   Storage: each password is kept as one REG_BINARY value ("Administrator",
   "Toggle") under HKEY_LOCAL_MACHINE\VRCMD_STORE_KEY, holding a random salt,
   a PBKDF2-HMAC-SHA256 hash and the digest below, never the text. Every call
   reads the registry afresh, so all processes see the same passwords. A value
   that is present but malformed counts as set and matches nothing.

   Digest (Command18): FNV-1a over the password bytes (offset basis 2166136261,
   prime 16777619), the result then passed through a 32-bit avalanche
   (x ^= x >> 16; x *= 0x7FEB352D; x ^= x >> 15; x *= 0x846CA68B; x ^= x >> 16).
   It is a protocol value: profile files keep it for their own password. The
   passwords themselves are checked against the salted hash, in constant time. */
#ifndef VRCMD_H
#define VRCMD_H

#include <windows.h>

#define VRCMD_STORE_KEY "Software\\Corvane\\vrcmd"

/* The most characters a user can type into the toggle dialog (Command20 with
   a buffer of VRCMD_TYPED_PASSWORD_MAX + 1 bytes, as the agent asks). The
   library itself takes longer passwords, but the manager's password fields
   take no more than this, so every password set there can also be typed to
   switch protection off. */
#define VRCMD_TYPED_PASSWORD_MAX 255

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
/* Start-up call: makes sure the library's registry key exists and that only
   SYSTEM and the Administrators group may open it (a protected DACL, set
   again when found weaker; not on Windows 95/98/ME); true when it exists
   (creating it needs write access to HKEY_LOCAL_MACHINE). */
VRCMD_API DWORD WINAPI Command9(void);
/* Stores the administrator password given to Command15, replacing the old
   one; true when stored. False, and nothing changes, when none is waiting. */
VRCMD_API DWORD WINAPI Command10(void);
/* Stores the default toggle password given to Command16, as Command10. */
VRCMD_API DWORD WINAPI Command11(void);
/* Forgets any new password given to Command15/Command16 and not yet stored;
   stored passwords stay. */
VRCMD_API DWORD WINAPI Command12(void);
/* True when an administrator password is stored. */
VRCMD_API DWORD WINAPI Command13(void);
/* True when the text is the administrator password. */
VRCMD_API DWORD WINAPI Command14(const char *password);
/* Takes a new administrator password; Command10 stores it. Only its salted
   hash is held meanwhile. False (and any waiting one forgotten) for null or
   empty text. */
VRCMD_API DWORD WINAPI Command15(const char *password);
/* Takes a new default toggle password; Command11 stores it. As Command15. */
VRCMD_API DWORD WINAPI Command16(const char *password);
/* True when a default toggle password is stored. */
VRCMD_API DWORD WINAPI Command17(void);
/* The 32-bit digest of a password (see above); null counts as empty text. */
VRCMD_API DWORD WINAPI Command18(const char *password);
/* True when the text is the default toggle password. */
VRCMD_API DWORD WINAPI Command19(const char *password);
/* Asks for the toggle password in a modal dialog (caption "Vantrel", masked
   edit box, OK and Cancel), brought to the foreground; fills buffer with at
   most size - 1 characters and a NUL; empty on Cancel. Returns the length
   given back. Does nothing and returns 0 for a null buffer or size 0. */
VRCMD_API DWORD WINAPI Command20(char *buffer, DWORD size);
/* True when the digest is that of the stored administrator or default
   toggle password; never when neither is stored. */
VRCMD_API DWORD WINAPI Command21(DWORD digest);

#ifdef __cplusplus
}
#endif

#endif
