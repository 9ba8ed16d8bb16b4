#include "DriverClient.h"
#include <gtest/gtest.h>
#include "VtTest.h"

namespace {

std::string DriversFolderFile()
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\drivers\\vtlock.sys";
}

// Opens "VTLOCK" with the given access; closes both handles in its destructor.
struct ServiceHandles {
    SC_HANDLE manager = nullptr;
    SC_HANDLE service = nullptr;
    explicit ServiceHandles(DWORD access)
    {
        manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (manager) service = OpenServiceA(manager, VTLOCK_SERVICE_NAME, access);
    }
    ~ServiceHandles()
    {
        if (service) CloseServiceHandle(service);
        if (manager) CloseServiceHandle(manager);
    }
};

}  // namespace

bool InstallDriverService()
{
    std::string target = DriversFolderFile();
    if (!CopyFileA((BinDir() + "vtlock.sys").c_str(), target.c_str(), FALSE)) return false;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = CreateServiceA(manager, VTLOCK_SERVICE_NAME, VTLOCK_SERVICE_NAME, SERVICE_ALL_ACCESS,
                                       SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       target.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    bool created = service != nullptr;
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return created;
}

bool StartDriverService()
{
    ServiceHandles handles(SERVICE_START);
    if (!handles.service) return false;
    return StartServiceA(handles.service, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
}

bool StopDriverService()
{
    ServiceHandles handles(SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (!handles.service) return false;
    SERVICE_STATUS status = {};
    ControlService(handles.service, SERVICE_CONTROL_STOP, &status);
    return WaitFor([&] {
        return QueryServiceStatus(handles.service, &status) && status.dwCurrentState == SERVICE_STOPPED;
    });
}

Device::Device(const char* path)
{
    handle_ = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) openError_ = GetLastError();
}

Device::~Device()
{
    if (IsOpen()) CloseHandle(handle_);
}

Reply Control(const Device& device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    Reply reply;
    SetLastError(0);
    reply.ok = DeviceIoControl(device.Handle(), code, const_cast<void*>(in), inSize, out, outSize, &reply.returned,
                               nullptr) != FALSE;
    if (!reply.ok) reply.error = GetLastError();
    return reply;
}

VTLOCK_STATE QueryState(const Device& device)
{
    VTLOCK_STATE state = {};
    Reply reply = Control(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, &state, sizeof(state));
    EXPECT_TRUE(reply.ok) << "state query refused, error " << reply.error;
    EXPECT_EQ(reply.returned, sizeof(state));
    return state;
}

Reply LoadImage(const Device& device, const std::string& image, DWORD* accepted)
{
    DWORD count = 0xDEADBEEF;
    Reply reply = Control(device, VTLOCK_CTL_LOAD_PROFILE, image.data(), static_cast<DWORD>(image.size()), &count,
                          sizeof(count));
    if (accepted) *accepted = count;
    return reply;
}

std::string BuildImage(const std::vector<std::string>& files, const std::vector<std::string>& folders)
{
    std::string image(VTLOCK_IMAGE_HEADER_SIZE, '\0');
    for (const std::string& s : files) image += s + '\0';
    image += '\0';
    for (const std::string& s : folders) image += s + '\0';
    image += '\0';
    SetField(image, VTLOCK_IMAGE_OFF_MARK, VTLOCK_IMAGE_MARK);
    SetField(image, VTLOCK_IMAGE_OFF_LENGTH, static_cast<unsigned int>(image.size()));
    SetField(image, VTLOCK_IMAGE_OFF_FILES, VTLOCK_IMAGE_HEADER_SIZE);
    SetField(image, VTLOCK_IMAGE_OFF_NFILES, static_cast<unsigned int>(files.size()));
    SetField(image, VTLOCK_IMAGE_OFF_NFOLDERS, static_cast<unsigned int>(folders.size()));
    return image;
}

void SetField(std::string& image, size_t offset, unsigned int value)
{
    for (int i = 0; i < 4; ++i) image[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
