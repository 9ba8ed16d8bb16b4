// The test side of the msglisten tool: starts it, waits until its window
// exists and reads its log, one "name wParam lParam" line per message.
#include "VtTest.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::vector<HeardMessage> ParseHeardLog(const std::string& log)
{
    std::vector<HeardMessage> heard;
    // Only whole lines: the tool may be writing the last one right now.
    std::istringstream lines(log.substr(0, log.rfind('\n') + 1));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        HeardMessage message;
        if (fields >> message.name >> message.wParam >> message.lParam) heard.push_back(message);
    }
    return heard;
}

}  // namespace

MessageListener::MessageListener()
{
    logPath_ = NewTempDir("heard") + "heard.log";
    process_ = StartProcess(QuoteArgument(BinDir() + "msglisten.exe") + " --log " + QuoteArgument(logPath_));
    if (!process_) ADD_FAILURE() << "cannot start msglisten.exe from " << BinDir();
    // The log appears once the listening window exists.
    if (!WaitFor([this] { return GetFileAttributesA(logPath_.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        ADD_FAILURE() << "msglisten.exe did not get ready";
}

MessageListener::~MessageListener()
{
    StopProcess(process_);
}

std::vector<HeardMessage> MessageListener::Heard()
{
    return ParseHeardLog(ReadWholeFile(logPath_));
}

std::vector<HeardMessage> MessageListener::WaitHeard(size_t count, DWORD timeoutMs)
{
    std::vector<HeardMessage> heard;
    WaitFor([&] { return (heard = Heard()).size() >= count; }, timeoutMs);
    return heard;
}
