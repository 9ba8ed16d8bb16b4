// Real keyboard and mouse input through the X server: xdotool, a Unix
// program, started through Wine's drive Z:. Wine gives no handle of a Unix
// process, so a shell around it leaves xdotool's exit status in a marker file.
#include "VtTest.h"
#include <gtest/gtest.h>
namespace {
bool XDoTool(const std::string& arguments) {
    static unsigned counter = 0;
    const std::string name = "vt_xdotool_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    const std::string marker = "Z:\\tmp\\" + name;
    DeleteFileA(marker.c_str());
    CloseHandle(StartProcess("Z:\\bin\\sh -c \"/usr/bin/xdotool " + arguments + "; echo $? > /tmp/" + name + "\""));
    std::string status;
    bool done = WaitFor([&] { return !(status = ReadWholeFile(marker)).empty(); });
    DeleteFileA(marker.c_str());
    if (!done) ADD_FAILURE() << "xdotool " << arguments << " did not finish";
    return done && status.rfind("0\n", 0) == 0;
}
}  // namespace
bool XKeys(const std::string& keys) { return XDoTool("key " + keys); }
bool XClick(int x, int y) { return XDoTool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"); }
bool XFocus(HWND window) {
    // Wine names the X window of a top-level window in this property.
    HWND top = GetAncestor(window, GA_ROOT);
    const auto id = reinterpret_cast<UINT_PTR>(GetPropA(top, "__wine_x11_whole_window"));
    if (!id || !XDoTool("windowfocus --sync " + std::to_string(id))) return false;
    return WaitFor([&] { return GetForegroundWindow() == top; }, 5000);
}
