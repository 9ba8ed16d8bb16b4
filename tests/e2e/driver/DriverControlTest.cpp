// The driver as the agent and an administrator meet it: installed and
// started through the service control manager, opened by both device
// paths, stopped, started and given drive masks.
#include <gtest/gtest.h>
#include "DriverClient.h"

namespace {

// Each test executable has its own Wine prefix: install the service once.
class DriverEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(InstallDriverService()) << "error " << GetLastError();
        ASSERT_TRUE(StartDriverService()) << "error " << GetLastError();
    }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new DriverEnvironment);

TEST(DriverDevice, BothPathsOpenAndShareOneState)
{
    // Not exclusive: the agent's handle and a query handle live side by side.
    Device local(VTLOCK_PATH_NT4);
    Device global(VTLOCK_PATH_NT5);
    Device another(VTLOCK_PATH_NT5);
    ASSERT_TRUE(local.IsOpen()) << local.OpenError();
    ASSERT_TRUE(global.IsOpen()) << global.OpenError();
    ASSERT_TRUE(another.IsOpen()) << another.OpenError();

    VTLOCK_STATE first = QueryState(local);
    VTLOCK_STATE second = QueryState(global);
    EXPECT_EQ(first.Size, sizeof(VTLOCK_STATE));
    EXPECT_EQ(second.StateRequests, first.StateRequests + 1);

    ASSERT_TRUE(Control(another, VTLOCK_CTL_START, nullptr, 0, nullptr, 0).ok);
    EXPECT_EQ(QueryState(local).Started, 1u);
    ASSERT_TRUE(Control(local, VTLOCK_CTL_STOP, nullptr, 0, nullptr, 0).ok);
    EXPECT_EQ(QueryState(global).Started, 0u);
}

TEST(DriverDevice, StopAndStartAreReflectedAndCounted)
{
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    struct Step {
        DWORD code;
        unsigned int started;
    } steps[] = {{VTLOCK_CTL_STOP, 0}, {VTLOCK_CTL_START, 1}, {VTLOCK_CTL_START, 1},
                 {VTLOCK_CTL_STOP, 0}, {VTLOCK_CTL_STOP, 0},  {VTLOCK_CTL_START, 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.code);
        VTLOCK_STATE before = QueryState(device);
        Reply reply = Control(device, step.code, nullptr, 0, nullptr, 0);
        EXPECT_TRUE(reply.ok) << "error " << reply.error;
        EXPECT_EQ(reply.returned, 0u);
        VTLOCK_STATE after = QueryState(device);
        EXPECT_EQ(after.Started, step.started);
        EXPECT_EQ(after.StartRequests, before.StartRequests + (step.code == VTLOCK_CTL_START));
        EXPECT_EQ(after.StopRequests, before.StopRequests + (step.code == VTLOCK_CTL_STOP));
        EXPECT_EQ(after.ImageBytes, before.ImageBytes);
    }
}

TEST(DriverDevice, StartWithoutAnImageProtectsWithNoRules)
{
    // A profile with only policies or disabled programs sends no image.
    ASSERT_TRUE(StopDriverService());
    ASSERT_TRUE(StartDriverService());
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    ASSERT_TRUE(Control(device, VTLOCK_CTL_START, nullptr, 0, nullptr, 0).ok);
    VTLOCK_STATE state = QueryState(device);
    EXPECT_EQ(state.Started, 1u);
    EXPECT_EQ(state.ImageBytes, 0u);
    EXPECT_EQ(state.LoadRequests, 0u);
}

TEST(DriverDevice, DriveMaskIsWrittenBackAndKept)
{
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    struct MaskCase {
        DWORD sent;
        DWORD inForce;
    } cases[] = {{0x4, 0x4}, {0x0, 0x0}, {0x0000000C, 0x0000000C}, {0xFFFFFFFF, 0x03FFFFFF}, {0x0C000008, 0x8}};
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.sent);
        VTLOCK_STATE before = QueryState(device);
        DWORD mask = c.sent;  // in and out share one variable, as the agent sends it
        Reply reply = Control(device, VTLOCK_CTL_SET_DRIVE_MASK, &mask, sizeof(mask), &mask, sizeof(mask));
        ASSERT_TRUE(reply.ok) << "error " << reply.error;
        EXPECT_EQ(reply.returned, 4u);
        EXPECT_EQ(mask, c.inForce);
        VTLOCK_STATE after = QueryState(device);
        EXPECT_EQ(after.DriveMask, c.inForce);
        EXPECT_EQ(after.MaskRequests, before.MaskRequests + 1);
        EXPECT_EQ(after.Started, before.Started);
    }
}

TEST(DriverDevice, DriveMaskWithShortBuffersIsRefusedAndChangesNothing)
{
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    DWORD mask = 0x4;
    ASSERT_TRUE(Control(device, VTLOCK_CTL_SET_DRIVE_MASK, &mask, 4, &mask, 4).ok);

    struct BufferCase {
        const char* name;
        DWORD inSize;
        DWORD outSize;
        DWORD error;
    } cases[] = {{"no input", 0, 4, ERROR_INVALID_PARAMETER},
                 {"two-byte input", 2, 4, ERROR_INVALID_PARAMETER},
                 {"no output", 4, 0, ERROR_INSUFFICIENT_BUFFER},
                 {"two-byte output", 4, 2, ERROR_INSUFFICIENT_BUFFER}};
    for (const BufferCase& c : cases) {
        SCOPED_TRACE(c.name);
        VTLOCK_STATE before = QueryState(device);
        DWORD in = 0x10;
        DWORD out = 0x77777777;
        Reply reply = Control(device, VTLOCK_CTL_SET_DRIVE_MASK, c.inSize ? &in : nullptr, c.inSize,
                              c.outSize ? &out : nullptr, c.outSize);
        EXPECT_FALSE(reply.ok);
        EXPECT_EQ(reply.error, c.error);
        VTLOCK_STATE after = QueryState(device);
        EXPECT_EQ(after.DriveMask, 0x4u);
        EXPECT_EQ(after.MaskRequests, before.MaskRequests + 1);
    }
}

TEST(DriverDevice, UnknownCodesAndShortStateBuffersAreRefused)
{
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    DWORD word = 0;
    Reply unknown = Control(device, 21, &word, sizeof(word), &word, sizeof(word));
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.error, static_cast<DWORD>(ERROR_INVALID_FUNCTION));

    VTLOCK_STATE before = QueryState(device);
    char small[sizeof(VTLOCK_STATE) - 1] = {};
    Reply shortState = Control(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, small, sizeof(small));
    EXPECT_FALSE(shortState.ok);
    EXPECT_EQ(shortState.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    Reply noState = Control(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, nullptr, 0);
    EXPECT_FALSE(noState.ok);
    VTLOCK_STATE after = QueryState(device);
    EXPECT_EQ(after.StateRequests, before.StateRequests + 3);
}

TEST(DriverDevice, StoppedServiceRemovesTheDeviceAndARestartBeginsAfresh)
{
    {
        Device device;
        ASSERT_TRUE(device.IsOpen()) << device.OpenError();
        ASSERT_TRUE(LoadImage(device, BuildImage({"-A.TXT"}, {"&C:\\B"})).ok);
        ASSERT_TRUE(Control(device, VTLOCK_CTL_START, nullptr, 0, nullptr, 0).ok);
    }
    ASSERT_TRUE(StopDriverService());
    Device gone;
    EXPECT_FALSE(gone.IsOpen());

    ASSERT_TRUE(StartDriverService());
    Device device;
    ASSERT_TRUE(device.IsOpen()) << device.OpenError();
    VTLOCK_STATE state = QueryState(device);
    EXPECT_EQ(state.Started, 0u);
    EXPECT_EQ(state.ImageBytes, 0u);
    EXPECT_EQ(state.LoadRequests, 0u);
    EXPECT_EQ(state.StateRequests, 1u);
}

}  // namespace
