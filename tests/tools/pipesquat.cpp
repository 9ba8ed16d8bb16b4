// A hostile program that takes the agent's pipe name before the agent and
// records what clients send it: one "read N PASSWORD" line per client (N
// the bytes it got, PASSWORD what the request's password field held).
//   pipesquat --log FILE
// The log file is created once the pipe exists; runs until killed.
#include <windows.h>
#include "ToolLog.h"
#include "VtPipe.h"
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string log = LogArgument();
    HANDLE pipe = CreateNamedPipeA(VTPIPE_NAME, PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return 1;
    AppendLine(log, std::string());
    for (;;) {
        // A client that has already closed again counts as one that sent nothing.
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED &&
            GetLastError() != ERROR_NO_DATA) {
            DisconnectNamedPipe(pipe);
            continue;
        }
        VtPipeRequest request = {};
        DWORD bytes = 0;
        ReadFile(pipe, &request, sizeof request, &bytes, nullptr);
        request.Password[sizeof request.Password - 1] = '\0';
        AppendLine(log, "read " + std::to_string(bytes) + " " + request.Password + "\n");
        DisconnectNamedPipe(pipe);
    }
}
