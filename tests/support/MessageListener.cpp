// The test side of the msglisten tool: one "name wParam lParam" line per
// message heard.
#include "VtTest.h"
#include <sstream>
std::vector<HeardMessage> MessageListener::WaitHeard(size_t count, DWORD timeoutMs)
{
    std::vector<HeardMessage> heard;
    for (const std::string& line : log_.WaitRecords(count, timeoutMs)) {
        std::istringstream fields(line);
        HeardMessage message;
        if (fields >> message.name >> message.wParam >> message.lParam) heard.push_back(message);
    }
    return heard;
}
