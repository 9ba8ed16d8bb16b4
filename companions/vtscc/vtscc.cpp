// vtscc.exe /NTUSER: reports the logged-on user to the agent with two
// WM_COPYDATA messages, his temporary folder (23914) and his security
// identifier without "S-1-5-" (23917). Any other command line does nothing.
#include <windows.h>
#include <sddl.h>
#include <cstdlib>
#include <string>

namespace {

constexpr WPARAM CopyDataUserTemp = 23914;
constexpr WPARAM CopyDataUserSid = 23917;
constexpr DWORD FindAgentLimitMs = 30000;
constexpr DWORD FindAgentPollMs = 250;
constexpr UINT SendTimeoutMs = 10000;
const char* const SidPrefix = "S-1-5-";

bool HasNtUserSwitch()
{
    for (int i = 1; i < __argc; ++i)
        if (lstrcmpiA(__argv[i], "/NTUSER") == 0)
            return true;
    return false;
}

// The agent may start after the user logs on: look for its window a while.
HWND WaitForAgentWindow()
{
    for (DWORD waited = 0;; waited += FindAgentPollMs) {
        if (HWND window = FindWindowA("VTLOCK.AGENT", nullptr))
            return window;
        if (waited >= FindAgentLimitMs)
            return nullptr;
        Sleep(FindAgentPollMs);
    }
}

std::string UserTempFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// The token user's identifier as text, empty when it cannot be read.
std::string UserSidText()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    std::string text;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    char* sidText = nullptr;
    if (size > 0 && GetTokenInformation(token, TokenUser, &buffer[0], size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &sidText)) {
        text = sidText;
        LocalFree(sidText);
    }
    CloseHandle(token);
    return text;
}

void SendText(HWND agent, WPARAM code, const std::string& text)
{
    COPYDATASTRUCT data = {};
    data.cbData = static_cast<DWORD>(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(agent, WM_COPYDATA, code, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &result);
}

void ReportUser()
{
    HWND agent = WaitForAgentWindow();
    if (agent == nullptr)
        return;
    std::string temp = UserTempFolder();
    if (!temp.empty())
        SendText(agent, CopyDataUserTemp, temp);
    std::string sid = UserSidText();
    if (sid.compare(0, lstrlenA(SidPrefix), SidPrefix) == 0 && sid.size() > 6)
        SendText(agent, CopyDataUserSid, sid.substr(lstrlenA(SidPrefix)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (HasNtUserSwitch())
        ReportUser();
    return 0;
}
