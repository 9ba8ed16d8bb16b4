/* The contract between the protection driver vtlock.sys and user mode:
   device names, control codes, the profile image format and the state record.
   Included by the driver (kernel mode, C), the system and the tests. */
#ifndef VTLOCK_IOCTL_H
#define VTLOCK_IOCTL_H

/* Kernel object names and the user-mode paths they open as. The driver
   creates only VTLOCK_LINK_NAME: made from the system's context it lies in
   the global folder, so both user-mode paths reach it. */
#define VTLOCK_DEVICE_NAME      L"\\Device\\VtLock"
#define VTLOCK_LINK_NAME        L"\\DosDevices\\VTLOCK"
#define VTLOCK_GLOBAL_LINK_NAME L"\\DosDevices\\Global\\VTLOCK"
#define VTLOCK_PATH_NT4         "\\\\.\\VTLOCK"
#define VTLOCK_PATH_NT5         "\\\\.\\Global\\VTLOCK"
#define VTLOCK_PATH_VXD         "\\\\.\\vtlock.VXD"
#define VTLOCK_SERVICE_NAME     "VTLOCK"

/* Control codes: small plain numbers, passed as they are. Their low two
   bits are the transfer method: 125 is METHOD_IN_DIRECT (its output buffer
   is read-only input to the driver, which writes nothing into it), the
   others METHOD_BUFFERED. Their access bits are FILE_ANY_ACCESS: the device
   is guarded at open instead.
   Failures: a malformed image or a missing input gives ERROR_INVALID_PARAMETER
   (STATUS_INVALID_PARAMETER) and changes nothing; an output buffer shorter
   than the code needs gives ERROR_INSUFFICIENT_BUFFER (STATUS_BUFFER_TOO_SMALL)
   and changes nothing; an unknown code gives ERROR_INVALID_FUNCTION.
   Every request on a handle let in is counted in VTLOCK_STATE, refused
   ones included.
   The device is not exclusive: the agent's handle and an administrator's
   query handle may be open at the same time. Only SYSTEM and administrators
   (the Administrators group enabled in the caller's token) open it; anyone
   else gets ERROR_ACCESS_DENIED, counted in OpenRefused, and where the
   platform hands out a handle all the same (Wine), every request on it
   gets ERROR_ACCESS_DENIED and changes nothing. */
#define VTLOCK_CTL_LOAD_PROFILE    20u  /* in: profile image; out: 4-byte count of strings accepted */
#define VTLOCK_CTL_STOP            88u  /* no buffers */
#define VTLOCK_CTL_SET_DRIVE_MASK 125u  /* in: 4-byte mask (bit 0 = A:), bits A: to Z: kept; out: not written */
#define VTLOCK_CTL_START          172u  /* no buffers */
#define VTLOCK_CTL_QUERY_STATE    240u  /* no input; out: VTLOCK_STATE */

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

/* Verdicts of VtLockCheckImage, in the order the rules are checked. */
enum {
    VTLOCK_IMAGE_OK = 0,
    VTLOCK_IMAGE_SHORT,          /* fewer bytes than the header */
    VTLOCK_IMAGE_BAD_MARK,
    VTLOCK_IMAGE_BAD_LENGTH,     /* total length differs from the bytes given */
    VTLOCK_IMAGE_BAD_FILE_OFFSET,
    VTLOCK_IMAGE_NO_TERMINATOR,  /* a string or a section runs past the end */
    VTLOCK_IMAGE_BAD_ACCESS,     /* a string not starting with an access code */
    VTLOCK_IMAGE_BAD_COUNT,      /* a string count differs from the strings found */
    VTLOCK_IMAGE_TRAILING        /* bytes after the folder section */
};

static inline unsigned int VtLockImageField(const unsigned char* image, unsigned int offset)
{
    return (unsigned int)image[offset] | ((unsigned int)image[offset + 1] << 8) |
           ((unsigned int)image[offset + 2] << 16) | ((unsigned int)image[offset + 3] << 24);
}

static inline int VtLockIsAccessCode(unsigned char c)
{
    const char* codes = VTLOCK_ACCESS_CODES;
    for (; *codes; ++codes)
        if ((unsigned char)*codes == c) return 1;
    return 0;
}

/* Walks one section from *pos: strings up to the empty one that ends it.
   On success *pos is just past that terminator and *count holds the strings. */
static inline int VtLockWalkSection(const unsigned char* image, unsigned int size,
                                    unsigned int* pos, unsigned int* count)
{
    unsigned int p = *pos;
    *count = 0;
    for (;;) {
        if (p >= size) return VTLOCK_IMAGE_NO_TERMINATOR;
        if (image[p] == 0) break;
        if (!VtLockIsAccessCode(image[p])) return VTLOCK_IMAGE_BAD_ACCESS;
        while (p < size && image[p] != 0) ++p;
        if (p >= size) return VTLOCK_IMAGE_NO_TERMINATOR;
        ++p;
        ++*count;
    }
    *pos = p + 1;
    return VTLOCK_IMAGE_OK;
}

/* Checks a profile image of size bytes against every rule of the format.
   Reads nothing outside image[0..size). On VTLOCK_IMAGE_OK, *strings (when
   given) receives the number of file and folder strings together. */
static inline int VtLockCheckImage(const unsigned char* image, unsigned int size, unsigned int* strings)
{
    unsigned int pos = VTLOCK_IMAGE_HEADER_SIZE;
    unsigned int files = 0, folders = 0;
    int verdict;

    if (!image || size < VTLOCK_IMAGE_HEADER_SIZE) return VTLOCK_IMAGE_SHORT;
    if (VtLockImageField(image, VTLOCK_IMAGE_OFF_MARK) != VTLOCK_IMAGE_MARK) return VTLOCK_IMAGE_BAD_MARK;
    if (VtLockImageField(image, VTLOCK_IMAGE_OFF_LENGTH) != size) return VTLOCK_IMAGE_BAD_LENGTH;
    if (VtLockImageField(image, VTLOCK_IMAGE_OFF_FILES) != VTLOCK_IMAGE_HEADER_SIZE)
        return VTLOCK_IMAGE_BAD_FILE_OFFSET;
    verdict = VtLockWalkSection(image, size, &pos, &files);
    if (verdict != VTLOCK_IMAGE_OK) return verdict;
    verdict = VtLockWalkSection(image, size, &pos, &folders);
    if (verdict != VTLOCK_IMAGE_OK) return verdict;
    if (files != VtLockImageField(image, VTLOCK_IMAGE_OFF_NFILES) ||
        folders != VtLockImageField(image, VTLOCK_IMAGE_OFF_NFOLDERS))
        return VTLOCK_IMAGE_BAD_COUNT;
    if (pos != size) return VTLOCK_IMAGE_TRAILING;
    if (strings) *strings = files + folders;
    return VTLOCK_IMAGE_OK;
}

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
    unsigned int OpenRefused;     /* opens by callers that are neither SYSTEM nor administrators */
} VTLOCK_STATE;

#endif
