// The test side of the background tools: their command lines and their logs
// read back.
#include "VtTest.h"
#include <dlgs.h>
#include <gtest/gtest.h>
#include <sstream>
namespace {
// boxanswer ends fields with a unit separator and records with a record
// separator: no text a box shows holds either.
const char FieldEnd = '\x1F', RecordEnd = '\x1E';
std::string AnswerArguments(const std::string& button, const std::vector<BoxReply>& replies) {
    std::string arguments = " --answer " + QuoteArgument(button);
    for (const BoxReply& reply : replies) arguments += reply.Arguments();
    return arguments;
}
}  // namespace
BoxReply::BoxReply(const std::string& caption) : arguments_(" --reply " + QuoteArgument(caption)) {}
BoxReply& BoxReply::Text(int id, const std::string& text) {
    arguments_ += " --text " + std::to_string(id) + " " + QuoteArgument(text);
    return *this;
}
BoxReply& BoxReply::Keys(int id, const std::string& text) {
    arguments_ += " --keys " + std::to_string(id) + " " + QuoteArgument(text);
    return *this;
}
BoxReply& BoxReply::Press(const std::string& button) {
    arguments_ += " --press " + QuoteArgument(button);
    return *this;
}
BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption) {
    std::string typed = names.size() == 1 ? names[0] : std::string();
    for (size_t i = 0; names.size() > 1 && i < names.size(); ++i) typed += (i ? " \"" : "\"") + names[i] + "\"";
    // The file name field: a combo box (cmb13) in the Explorer-style dialog.
    return BoxReply(caption).Text(cmb13, typed).Press(IDOK);
}
BoxAnswerer::BoxAnswerer(const std::string& button, const std::string& typeText, bool typeSet)
    : BackgroundTool("boxanswer.exe", AnswerArguments(button, {}) +
                     (typeSet || !typeText.empty() ? " --type " + QuoteArgument(typeText) : ""), RecordEnd) {}
BoxAnswerer::BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button)
    : BackgroundTool("boxanswer.exe", AnswerArguments(button, replies), RecordEnd) {}
std::vector<SeenBox> BoxAnswerer::WaitSeen(size_t count, DWORD timeoutMs) {
    std::vector<SeenBox> seen;
    for (const std::string& record : log_.WaitRecords(count, timeoutMs)) {
        std::string fields[4];
        for (size_t i = 0, start = 0, end; i < 4 && (end = record.find(FieldEnd, start)) != std::string::npos;
             ++i, start = end + 1)
            fields[i] = record.substr(start, end - start);
        seen.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return seen;
}
// msglisten writes one "name wParam lParam" line per message heard.
std::vector<HeardMessage> MessageListener::WaitHeard(size_t count, DWORD timeoutMs) {
    std::vector<HeardMessage> heard;
    for (const std::string& line : log_.WaitRecords(count, timeoutMs)) {
        std::istringstream fields(line);
        HeardMessage message;
        if (fields >> message.name >> message.wParam >> message.lParam) heard.push_back(message);
    }
    return heard;
}
// The prefix is the test's own: nothing is put back.
ShellCatcher::ShellCatcher() : log_("shell", '\n') {
    const std::string command =
        QuoteArgument(BinDir() + "shellcatch.exe") + " --log " + QuoteArgument(log_.Path()) + " \"%1\"";
    const char ProgId[] = "VantrelTest.ShellCatch";
    const std::pair<std::string, std::string> entries[] = {
        {std::string(ProgId) + "\\shell\\open\\command", command}, {".hlp", ProgId}, {".chm", ProgId},
        {"http\\shell\\open\\command", command}, {"https\\shell\\open\\command", command},
        {"mailto\\shell\\open\\command", command},
    };
    for (const auto& entry : entries)
        if (RegSetValueA(HKEY_CLASSES_ROOT, entry.first.c_str(), REG_SZ, entry.second.c_str(), 0) != ERROR_SUCCESS)
            ADD_FAILURE() << "cannot register HKCR\\" << entry.first;
}
