// Command7 behaves as DeviceIoControl: same result, bytes returned, output
// and last error, for devices that exist on every system.
#include "VrcmdTest.h"
#include "VtTest.h"
#include <winioctl.h>

namespace {

struct Outcome {
    BOOL result;
    DWORD error;
    DWORD returned;
    std::string output;
};

template <class Call>
Outcome CallDevice(Call call, HANDLE device, DWORD code, DWORD outSize) {
    char input[16] = "input";
    std::string output(64, '\x5A');
    DWORD returned = 0xDEADBEEF;
    SetLastError(0x1234);
    BOOL result = call(device, code, input, sizeof input, outSize ? &output[0] : nullptr, outSize, &returned, nullptr);
    return {result, GetLastError(), returned, output};
}

struct DeviceCase {
    const char* name;
    const char* path;  // null: the handle given below
    HANDLE handle;
    DWORD code;
    DWORD outSize;
};

TEST(VrcmdDeviceControl, SameOutcomeAsDeviceIoControl) {
    std::string file = NewTempDir("ioctl") + "plain.txt";
    ASSERT_TRUE(WriteWholeFile(file, "some bytes"));
    const DeviceCase cases[] = {
        {"file, compression state", file.c_str(), nullptr, FSCTL_GET_COMPRESSION, sizeof(USHORT)},
        {"file, output too small", file.c_str(), nullptr, FSCTL_GET_COMPRESSION, 0},
        {"file, driver's code 20", file.c_str(), nullptr, 20, 0},
        {"NUL device, code 88", "\\\\.\\NUL", nullptr, 88, 4},
        {"NUL device, disk geometry", "\\\\.\\NUL", nullptr, IOCTL_DISK_GET_DRIVE_GEOMETRY, 64},
        {"invalid handle", nullptr, INVALID_HANDLE_VALUE, 125, 4},
        {"null handle", nullptr, nullptr, 172, 4},
    };
    for (const DeviceCase& c : cases) {
        SCOPED_TRACE(c.name);
        HANDLE device = c.handle;
        if (c.path) {
            device = CreateFileA(c.path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, device);
        }
        Outcome direct = CallDevice(DeviceIoControl, device, c.code, c.outSize);
        Outcome passed = CallDevice(Command7, device, c.code, c.outSize);
        if (c.path) CloseHandle(device);
        EXPECT_EQ(direct.result, passed.result);
        EXPECT_EQ(direct.error, passed.error);
        EXPECT_EQ(direct.returned, passed.returned);
        EXPECT_EQ(direct.output, passed.output);
    }
}

}  // namespace
