// The test side of the boxanswer tool: starts it and reads its log, one box
// per line: caption, text, icon and buttons separated by tabs, with
// backslash escapes for tabs, line breaks and backslashes.
#include "VtTest.h"
#include <dlgs.h>
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

const char AnyBox[] = "*";

BoxReply::BoxReply(const std::string& caption) : arguments_(" --reply " + QuoteArgument(caption)) {}

BoxReply& BoxReply::Text(int id, const std::string& text)
{
    arguments_ += " --text " + std::to_string(id) + " " + QuoteArgument(text);
    return *this;
}

BoxReply& BoxReply::Keys(int id, const std::string& text)
{
    arguments_ += " --keys " + std::to_string(id) + " " + QuoteArgument(text);
    return *this;
}

BoxReply& BoxReply::Click(int id)
{
    arguments_ += " --click " + std::to_string(id);
    return *this;
}

BoxReply& BoxReply::SelectFolder(const std::string& path)
{
    arguments_ += " --select " + QuoteArgument(path);
    return *this;
}

BoxReply& BoxReply::Press(const std::string& button)
{
    arguments_ += " --press " + QuoteArgument(button);
    return *this;
}

BoxReply& BoxReply::Press(int id)
{
    return Press(std::to_string(id));
}

BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption)
{
    std::string typed = names.size() == 1 ? names[0] : std::string();
    for (size_t i = 0; names.size() > 1 && i < names.size(); ++i) typed += (i ? " \"" : "\"") + names[i] + "\"";
    // The file name field: a combo box (cmb13) in the Explorer-style dialog.
    return BoxReply(caption).Text(cmb13, typed).Press(IDOK);
}

BoxReply FolderReply(const std::string& path, const std::string& caption)
{
    return BoxReply(caption).SelectFolder(path).Press(IDOK);
}

BoxAnswerer::BoxAnswerer(const std::string& button, const std::string& typeText, bool typeSet)
{
    std::string arguments = " --answer " + QuoteArgument(button);
    if (typeSet || !typeText.empty()) arguments += " --type " + QuoteArgument(typeText);
    Start(arguments);
}

BoxAnswerer::BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button)
{
    std::string arguments = " --answer " + QuoteArgument(button);
    for (const BoxReply& reply : replies) arguments += reply.Arguments();
    Start(arguments);
}

void BoxAnswerer::Start(const std::string& arguments)
{
    logPath_ = NewTempDir("boxes") + "boxes.log";
    process_ = StartProcess(QuoteArgument(BinDir() + "boxanswer.exe") + " --log " + QuoteArgument(logPath_) +
                            arguments);
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
