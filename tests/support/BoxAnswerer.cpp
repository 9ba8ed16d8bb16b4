// The test side of the boxanswer tool: starts it and reads its log, one box
// per record: caption, text, icon and buttons.
#include "VtTest.h"
#include <dlgs.h>
namespace {
// Fields end with a unit separator, records with a record separator: no
// text a box shows holds either.
const char FieldEnd = '\x1F', RecordEnd = '\x1E';
SeenBox ParseBox(const std::string& record)
{
    std::string fields[4];
    for (size_t i = 0, start = 0, end; i < 4 && (end = record.find(FieldEnd, start)) != std::string::npos;
         ++i, start = end + 1)
        fields[i] = record.substr(start, end - start);
    return {fields[0], fields[1], fields[2], fields[3]};
}
std::string Replies(const std::vector<BoxReply>& replies)
{
    std::string arguments;
    for (const BoxReply& reply : replies) arguments += reply.Arguments();
    return arguments;
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
BoxReply& BoxReply::Press(const std::string& button)
{
    arguments_ += " --press " + QuoteArgument(button);
    return *this;
}
BoxReply OpenFileReply(const std::vector<std::string>& names, const std::string& caption)
{
    std::string typed = names.size() == 1 ? names[0] : std::string();
    for (size_t i = 0; names.size() > 1 && i < names.size(); ++i) typed += (i ? " \"" : "\"") + names[i] + "\"";
    // The file name field: a combo box (cmb13) in the Explorer-style dialog.
    return BoxReply(caption).Text(cmb13, typed).Press(IDOK);
}
BoxAnswerer::BoxAnswerer(const std::string& button, const std::string& typeText, bool typeSet)
    : BackgroundTool("boxanswer.exe", " --answer " + QuoteArgument(button) +
                     (typeSet || !typeText.empty() ? " --type " + QuoteArgument(typeText) : ""), RecordEnd)
{
}
BoxAnswerer::BoxAnswerer(const std::vector<BoxReply>& replies, const std::string& button)
    : BackgroundTool("boxanswer.exe", " --answer " + QuoteArgument(button) + Replies(replies), RecordEnd)
{
}
std::vector<SeenBox> BoxAnswerer::WaitSeen(size_t count, DWORD timeoutMs)
{
    std::vector<SeenBox> seen;
    for (const std::string& record : log_.WaitRecords(count, timeoutMs)) seen.push_back(ParseBox(record));
    return seen;
}
