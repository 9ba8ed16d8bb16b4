// User-mode side of the driver tests: the VTLOCK service, device handles,
// control requests and profile images built byte by byte.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "VtLockIoctl.h"

// Copies bin\vtlock.sys into the system's drivers folder and creates the
// kernel-driver service "VTLOCK" (demand start), as the installer does.
bool InstallDriverService();
// StartServiceA on "VTLOCK"; already running counts as started.
bool StartDriverService();
// Sends the stop control and waits until the service reports stopped.
bool StopDriverService();

// One open handle of the device, closed with the object.
class Device {
public:
    explicit Device(const char* path = VTLOCK_PATH_NT5);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD OpenError() const { return openError_; }
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_;
    DWORD openError_ = 0;
};

struct Reply {
    bool ok = false;
    DWORD error = 0;     // GetLastError when !ok
    DWORD returned = 0;  // bytes returned
};

Reply Control(const Device& device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
// VTLOCK_CTL_QUERY_STATE; fails the current test when the driver refuses it.
VTLOCK_STATE QueryState(const Device& device);
// Sends an image with a 4-byte output; *accepted receives the driver's count.
Reply LoadImage(const Device& device, const std::string& image, DWORD* accepted = nullptr);

// A well-formed image of the given strings (each with its access code).
std::string BuildImage(const std::vector<std::string>& files, const std::vector<std::string>& folders);
// Overwrites the 32-bit field at offset of an image.
void SetField(std::string& image, size_t offset, unsigned int value);
