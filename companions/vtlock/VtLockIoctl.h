/* The contract between the protection driver vtlock.sys and user mode:
   device names, control codes, the profile image format and the state record.
   Included by the driver (kernel mode, C), the system and the tests. */
#ifndef VTLOCK_IOCTL_H
#define VTLOCK_IOCTL_H

/* Kernel object names and the user-mode paths they open as. */
#define VTLOCK_DEVICE_NAME      L"\\Device\\VtLock"
#define VTLOCK_LINK_NAME        L"\\DosDevices\\VTLOCK"
#define VTLOCK_GLOBAL_LINK_NAME L"\\DosDevices\\Global\\VTLOCK"
#define VTLOCK_PATH_NT4         "\\\\.\\VTLOCK"
#define VTLOCK_PATH_NT5         "\\\\.\\Global\\VTLOCK"
#define VTLOCK_PATH_VXD         "\\\\.\\vtlock.VXD"
#define VTLOCK_SERVICE_NAME     "VTLOCK"

/* Control codes: small plain numbers, passed as they are. */
#define VTLOCK_CTL_LOAD_PROFILE    20u  /* in: profile image; out: 4-byte count of strings accepted */
#define VTLOCK_CTL_STOP            88u  /* no buffers */
#define VTLOCK_CTL_SET_DRIVE_MASK 125u  /* in: 4-byte mask (bit 0 = A:); out: 4 bytes, the mask in force */
#define VTLOCK_CTL_START          172u  /* no buffers */
#define VTLOCK_CTL_QUERY_STATE    240u  /* out: VTLOCK_STATE */

/* Profile image: a 20-byte header of little-endian 32-bit fields, then the
   file strings and a 0 byte, then the folder strings and a 0 byte. */
#define VTLOCK_IMAGE_MARK        0x00000101u
#define VTLOCK_IMAGE_HEADER_SIZE 20u
#define VTLOCK_IMAGE_OFF_MARK    0u
#define VTLOCK_IMAGE_OFF_LENGTH  4u
#define VTLOCK_IMAGE_OFF_FILES   8u
#define VTLOCK_IMAGE_OFF_NFILES  12u
#define VTLOCK_IMAGE_OFF_NFOLDERS 16u
#define VTLOCK_ACCESS_CODES      "+-!&@#"

/* What VTLOCK_CTL_QUERY_STATE reports. */
typedef struct VTLOCK_STATE {
    unsigned int Size;            /* sizeof(VTLOCK_STATE) */
    unsigned int Started;         /* 1 while protecting */
    unsigned int DriveMask;
    unsigned int ImageBytes;      /* 0 until an image was accepted */
    unsigned int FileStrings;
    unsigned int FolderStrings;
    unsigned int LoadRequests;    /* every request of each kind, refused ones included */
    unsigned int LoadRefused;
    unsigned int StopRequests;
    unsigned int StartRequests;
    unsigned int MaskRequests;
    unsigned int StateRequests;
} VTLOCK_STATE;

#endif
