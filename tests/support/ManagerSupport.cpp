#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include "vrcmd.h"
#include <gtest/gtest.h>
void SetPasswords(const char* administrator, const char* toggle)
{
    Command9();
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, VRCMD_STORE_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Administrator");
        RegDeleteValueA(key, "Toggle");
        RegCloseKey(key);
    }
    if (administrator) {
        Command15(administrator);
        Command10();
    }
    if (toggle) {
        Command16(toggle);
        Command11();
    }
}
bool QuitRequested()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
namespace {
constexpr LPARAM Marker = 424242;
// Where the listener's log holds marker number n (counted from 0), or its end.
std::vector<HeardMessage>::iterator FindMarker(std::vector<HeardMessage>& heard, size_t n)
{
    for (auto m = heard.begin(); m != heard.end(); ++m)
        if (m->name == "Vantrel.Saved" && m->lParam == Marker && n-- == 0) return m;
    return heard.end();
}
}  // namespace
std::vector<HeardMessage> HeardUpToMarker(MessageListener& listener)
{
    // The log may already hold earlier calls' markers: this call's is the one
    // after them, however late the listener writes it.
    std::vector<HeardMessage> heard = listener.Heard();
    size_t before = 0;
    while (FindMarker(heard, before) != heard.end()) ++before;
    PostMessageA(HWND_BROADCAST, MsgSaved, 0, Marker);
    if (!WaitFor([&] {
            heard = listener.Heard();
            return FindMarker(heard, before) != heard.end();
        }, 60000))
        ADD_FAILURE() << "the listener did not hear the marker";
    heard.erase(FindMarker(heard, before), heard.end());
    return heard;
}
