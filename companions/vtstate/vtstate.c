/* vtstate: prints the protection driver's state record (control code 240).
   Exit code 0 when the driver answered, 1 when it could not be reached. */
#include <windows.h>
#include <stdio.h>
#include "VtLockIoctl.h"

static HANDLE OpenProtectionDevice(void)
{
    HANDLE device = CreateFileA(VTLOCK_PATH_NT5, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (device == INVALID_HANDLE_VALUE)
        device = CreateFileA(VTLOCK_PATH_NT4, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    return device;
}

static void PrintDrives(unsigned int mask)
{
    int letter;
    printf("  protected drives : ");
    for (letter = 0; letter < 26; ++letter)
        if (mask & (1u << letter))
            printf("%c: ", 'A' + letter);
    printf("(mask 0x%08X)\n", mask);
}

static void PrintState(const VTLOCK_STATE* s)
{
    printf("Vantrel protection driver\n");
    printf("  protecting       : %s\n", s->Started ? "yes" : "no");
    PrintDrives(s->DriveMask);
    printf("  profile image    : %u bytes, %u file strings, %u folder strings\n", s->ImageBytes, s->FileStrings,
           s->FolderStrings);
    printf("  requests         : %u load (%u refused), %u stop, %u start, %u mask, %u state\n", s->LoadRequests,
           s->LoadRefused, s->StopRequests, s->StartRequests, s->MaskRequests, s->StateRequests);
    printf("  opens refused    : %u\n", s->OpenRefused);
}

int main(void)
{
    VTLOCK_STATE state;
    DWORD returned = 0;
    HANDLE device = OpenProtectionDevice();
    if (device == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "vtstate: cannot open the protection driver (error %lu)\n", GetLastError());
        return 1;
    }
    ZeroMemory(&state, sizeof state);
    if (!DeviceIoControl(device, VTLOCK_CTL_QUERY_STATE, NULL, 0, &state, sizeof state, &returned, NULL)) {
        fprintf(stderr, "vtstate: the driver did not answer (error %lu)\n", GetLastError());
        CloseHandle(device);
        return 1;
    }
    CloseHandle(device);
    PrintState(&state);
    return 0;
}
