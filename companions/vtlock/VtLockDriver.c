/* vtlock.sys: the protection driver. It keeps what user mode hands it (the
   profile image, the drive mask, started or stopped) and reports it back
   with VTLOCK_CTL_QUERY_STATE. It does not filter the file system. Only
   SYSTEM and administrators open its device. */
#include "VtLockAccess.h"
#include "VtLockIoctl.h"

#define VTLOCK_POOL_TAG 0x6B4C7456u /* "VtLk" in a pool dump */
#define VTLOCK_DRIVE_BITS 0x03FFFFFFu /* A: to Z: */

/* Everything below is guarded by StateLock, held only for field updates. */
static KSPIN_LOCK StateLock;
static VTLOCK_STATE State;
static unsigned char* Image; /* nonpaged copy of the image in force */

static PDEVICE_OBJECT Device;

/* Marks a handle let in at open. Wine completes an open whatever the driver
   answers, so every request checks the mark of the handle it comes on. */
static const char Admitted = 1;

static BOOLEAN HandleAdmitted(PIO_STACK_LOCATION stack)
{
    return stack->FileObject && stack->FileObject->FsContext2 == (PVOID)&Admitted;
}

static ULONG InputLength(PIO_STACK_LOCATION stack)
{
    return stack->Parameters.DeviceIoControl.InputBufferLength;
}

static ULONG OutputLength(PIO_STACK_LOCATION stack)
{
    return stack->Parameters.DeviceIoControl.OutputBufferLength;
}

/* Code 20, METHOD_BUFFERED: the image is validated in the system buffer and
   only a valid one, copied to the pool, replaces the previous one. The
   output (same buffer) receives the number of strings accepted. */
static NTSTATUS LoadProfile(PIRP irp, PIO_STACK_LOCATION stack)
{
    unsigned char* buffer = (unsigned char*)irp->AssociatedIrp.SystemBuffer;
    ULONG size = InputLength(stack);
    unsigned int strings = 0;
    unsigned int files = 0;
    unsigned char* copy = NULL;
    unsigned char* previous = NULL;
    NTSTATUS status = STATUS_SUCCESS;
    KIRQL irql;

    if (OutputLength(stack) < sizeof(ULONG))
        status = STATUS_BUFFER_TOO_SMALL;
    else if (VtLockCheckImage(buffer, size, &strings) != VTLOCK_IMAGE_OK)
        status = STATUS_INVALID_PARAMETER;
    else if (!(copy = (unsigned char*)ExAllocatePoolWithTag(NonPagedPool, size, VTLOCK_POOL_TAG)))
        status = STATUS_INSUFFICIENT_RESOURCES;

    if (copy) {
        RtlCopyMemory(copy, buffer, size);
        files = VtLockImageField(copy, VTLOCK_IMAGE_OFF_NFILES);
    }

    KeAcquireSpinLock(&StateLock, &irql);
    ++State.LoadRequests;
    if (copy) {
        previous = Image;
        Image = copy;
        State.ImageBytes = size;
        State.FileStrings = files;
        State.FolderStrings = strings - files;
    } else {
        ++State.LoadRefused;
    }
    KeReleaseSpinLock(&StateLock, irql);

    if (previous) ExFreePoolWithTag(previous, VTLOCK_POOL_TAG);
    if (copy) {
        ULONG accepted = strings;
        RtlCopyMemory(buffer, &accepted, sizeof(accepted));
        irp->IoStatus.Information = sizeof(accepted);
    }
    return status;
}

/* Code 125, METHOD_IN_DIRECT: the mask comes in the system buffer. The
   output buffer of this method is one more input, mapped for reading only:
   nothing is written into it, and it is not needed. */
static NTSTATUS SetDriveMask(PIRP irp, PIO_STACK_LOCATION stack)
{
    ULONG mask = 0;
    NTSTATUS status = STATUS_SUCCESS;
    KIRQL irql;

    if (InputLength(stack) < sizeof(ULONG) || !irp->AssociatedIrp.SystemBuffer)
        status = STATUS_INVALID_PARAMETER;
    else
        RtlCopyMemory(&mask, irp->AssociatedIrp.SystemBuffer, sizeof(mask));
    mask &= VTLOCK_DRIVE_BITS;

    KeAcquireSpinLock(&StateLock, &irql);
    ++State.MaskRequests;
    if (NT_SUCCESS(status)) State.DriveMask = mask;
    KeReleaseSpinLock(&StateLock, irql);
    return status;
}

/* Codes 88 and 172: no buffers; any that come along are ignored. */
static NTSTATUS SetStarted(unsigned int started)
{
    KIRQL irql;
    KeAcquireSpinLock(&StateLock, &irql);
    if (started)
        ++State.StartRequests;
    else
        ++State.StopRequests;
    State.Started = started;
    KeReleaseSpinLock(&StateLock, irql);
    return STATUS_SUCCESS;
}

/* VTLOCK_CTL_QUERY_STATE, METHOD_BUFFERED: a snapshot taken under the lock,
   this request counted. */
static NTSTATUS QueryState(PIRP irp, PIO_STACK_LOCATION stack)
{
    VTLOCK_STATE snapshot;
    KIRQL irql;

    KeAcquireSpinLock(&StateLock, &irql);
    ++State.StateRequests;
    snapshot = State;
    KeReleaseSpinLock(&StateLock, irql);

    if (OutputLength(stack) < sizeof(snapshot) || !irp->AssociatedIrp.SystemBuffer)
        return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &snapshot, sizeof(snapshot));
    irp->IoStatus.Information = sizeof(snapshot);
    return STATUS_SUCCESS;
}

static NTSTATUS DispatchControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status;

    UNREFERENCED_PARAMETER(device);
    irp->IoStatus.Information = 0;
    if (!HandleAdmitted(stack)) {
        irp->IoStatus.Status = STATUS_ACCESS_DENIED;
        IoCompleteRequest(irp, IO_NO_INCREMENT);
        return STATUS_ACCESS_DENIED;
    }
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case VTLOCK_CTL_LOAD_PROFILE:   status = LoadProfile(irp, stack); break;
    case VTLOCK_CTL_STOP:           status = SetStarted(0); break;
    case VTLOCK_CTL_SET_DRIVE_MASK: status = SetDriveMask(irp, stack); break;
    case VTLOCK_CTL_START:          status = SetStarted(1); break;
    case VTLOCK_CTL_QUERY_STATE:    status = QueryState(irp, stack); break;
    default:                        status = STATUS_INVALID_DEVICE_REQUEST; break;
    }
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

/* Open: SYSTEM and administrators only; any number of handles may be open
   at once. */
static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = STATUS_SUCCESS;
    KIRQL irql;

    UNREFERENCED_PARAMETER(device);
    if (!VtLockCallerMayOpen(stack)) {
        status = STATUS_ACCESS_DENIED;
        KeAcquireSpinLock(&StateLock, &irql);
        ++State.OpenRefused;
        KeReleaseSpinLock(&StateLock, irql);
    } else if (stack->FileObject) {
        stack->FileObject->FsContext2 = (PVOID)&Admitted;
    }
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

/* Cleanup and close of a handle that was let in. */
static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp)
{
    UNREFERENCED_PARAMETER(device);
    irp->IoStatus.Status = STATUS_SUCCESS;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return STATUS_SUCCESS;
}

static void DriverUnload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING link;

    UNREFERENCED_PARAMETER(driver);
    RtlInitUnicodeString(&link, VTLOCK_LINK_NAME);
    IoDeleteSymbolicLink(&link);
    if (Device) IoDeleteDevice(Device);
    Device = NULL;
    if (Image) ExFreePoolWithTag(Image, VTLOCK_POOL_TAG);
    Image = NULL;
}

NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    UNICODE_STRING name;
    UNICODE_STRING link;
    NTSTATUS status;

    UNREFERENCED_PARAMETER(registryPath);
    KeInitializeSpinLock(&StateLock);
    RtlZeroMemory(&State, sizeof(State));
    State.Size = sizeof(State);
    Image = NULL;

    RtlInitUnicodeString(&name, VTLOCK_DEVICE_NAME);
    /* Secure open: the DACL also guards names below the device's. */
    status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, FILE_DEVICE_SECURE_OPEN, FALSE, &Device);
    if (!NT_SUCCESS(status)) return status;
    status = VtLockProtectDevice(Device);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(Device);
        Device = NULL;
        return status;
    }

    /* Created from the system's context, \DosDevices is the global folder:
       both "\\.\VTLOCK" and "\\.\Global\VTLOCK" reach this link. */
    RtlInitUnicodeString(&link, VTLOCK_LINK_NAME);
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(Device);
        Device = NULL;
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;
    Device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
