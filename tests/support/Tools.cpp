// The test side of the background tools: their command lines, their logs read back.
#include "VtTest.h"
#include <dlgs.h>
#include <gtest/gtest.h>
#include <sstream>
namespace {
// boxanswer's field and record separators, which no text a box shows holds.
const char FieldEnd = '\x1F', RecordEnd = '\x1E';
std::string AnswerArguments(const std::string& button, const std::vector<BoxReply>& replies) {
    std::string arguments = " --answer " + QuoteArgument(button);
    for (const BoxReply& reply : replies) arguments += reply.Arguments();
    return arguments;
}
}  // namespace
BoxReply::BoxReply(const std::string& caption) : arguments_(" --reply " + QuoteArgument(caption)) {}
BoxReply& BoxReply::Text(int id, const std::string& text) { return Add(" --text " + std::to_string(id), text); }
BoxReply& BoxReply::Keys(int id, const std::string& text) { return Add(" --keys " + std::to_string(id), text); }
BoxReply& BoxReply::Press(const std::string& button) { return Add(" --press", button); }
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
        std::istringstream fields(record);
        SeenBox box;
        for (std::string* field : {&box.caption, &box.text, &box.icon, &box.buttons}) getline(fields, *field, FieldEnd);
        seen.push_back(box);
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
