// The test side of the boxanswer tool: starts it and reads its log, one box
// per line: caption, text, icon and buttons separated by tabs, with
// backslash escapes for tabs, line breaks and backslashes.
#include "VtTest.h"
#include <gtest/gtest.h>

namespace {

std::string Unescape(const std::string& field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        char c = field[++i];
        text += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return text;
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::vector<SeenBox> ParseBoxLog(const std::string& log)
{
    std::vector<SeenBox> boxes;
    size_t start = 0;
    for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        std::vector<std::string> fields = SplitTabs(log.substr(start, end - start));
        fields.resize(4);
        boxes.push_back({Unescape(fields[0]), Unescape(fields[1]), Unescape(fields[2]), Unescape(fields[3])});
    }
    return boxes;
}

}  // namespace

BoxAnswerer::BoxAnswerer(const std::string& button, const std::string& typeText, bool typeSet)
{
    logPath_ = NewTempDir("boxes") + "boxes.log";
    std::string line = QuoteArgument(BinDir() + "boxanswer.exe") + " --log " + QuoteArgument(logPath_) +
                       " --answer " + QuoteArgument(button);
    if (typeSet || !typeText.empty()) line += " --type " + QuoteArgument(typeText);
    process_ = StartProcess(line);
    if (!process_) ADD_FAILURE() << "cannot start boxanswer.exe from " << BinDir();
    // The tool creates its log when it starts watching.
    if (!WaitFor([this] { return GetFileAttributesA(logPath_.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        ADD_FAILURE() << "boxanswer.exe did not get ready";
}

BoxAnswerer::~BoxAnswerer()
{
    StopProcess(process_);
}

std::vector<SeenBox> BoxAnswerer::Seen()
{
    return ParseBoxLog(ReadWholeFile(logPath_));
}

std::vector<SeenBox> BoxAnswerer::WaitSeen(size_t count, DWORD timeoutMs)
{
    std::vector<SeenBox> seen;
    WaitFor([&] { return (seen = Seen()).size() >= count; }, timeoutMs);
    return seen;
}
