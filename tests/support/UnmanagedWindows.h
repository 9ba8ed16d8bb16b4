// Without a window manager, Wine waits two seconds for every managed
// top-level window it hides. Test programs that show and hide many forms run
// themselves again with unmanaged windows (the X11 driver's "Managed" = "N",
// read only when the driver loads, so the setting needs a new process).
#pragma once

// In the first run: sets the option in the prefix, runs the same command
// line again, waits for it and returns true with its exit code. In the
// second run it returns false and the caller goes on with its tests.
bool RelaunchWithUnmanagedWindows(int& exitCode);
