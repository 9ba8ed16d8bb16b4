#include "ManagerSupport.h"
#include "RuntimeEnv.h"
#include "vrcmd.h"
#include <algorithm>
#include <gtest/gtest.h>
void SetPasswords(const char* administrator, const char* toggle) {
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
bool QuitRequested() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
std::vector<HeardMessage> HeardUpToMarker(MessageListener& listener) {
    // A marker of each call's own: the log may hold earlier calls' markers.
    static LPARAM lastMarker = 424242;
    const LPARAM marker = ++lastMarker;
    auto isMarker = [marker](const HeardMessage& m) { return m.name == "Vantrel.Saved" && m.lParam == marker; };
    PostMessageA(HWND_BROADCAST, MsgSaved, 0, marker);
    std::vector<HeardMessage> heard;
    if (!WaitFor([&] {
            heard = listener.Heard();
            return std::any_of(heard.begin(), heard.end(), isMarker);
        }, 60000))
        ADD_FAILURE() << "the listener did not hear the marker";
    heard.erase(std::find_if(heard.begin(), heard.end(), isMarker), heard.end());
    return heard;
}
