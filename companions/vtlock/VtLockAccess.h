/* Who may open the protection driver's device: SYSTEM and administrators. */
#ifndef VTLOCK_ACCESS_H
#define VTLOCK_ACCESS_H
#include <ntifs.h>

/* Gives the device a protected DACL: full access for SYSTEM and the
   Administrators group, nothing for anyone else. */
NTSTATUS VtLockProtectDevice(PDEVICE_OBJECT device);

/* Whether the caller of an IRP_MJ_CREATE is SYSTEM or an administrator. */
BOOLEAN VtLockCallerMayOpen(PIO_STACK_LOCATION stack);

#endif
