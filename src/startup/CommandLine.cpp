#include "CommandLine.h"
#include "RuntimeEnv.h"

#include <cstdint>
#include <cstdlib>

std::string StartupProfilePath;
int SaveNotifyValue = 0;

namespace {

bool Matches(const SwitchRow& row, const std::string& upper)
{
    if (row.kind == SwitchKind::Whole) return upper == row.text;
    return upper.compare(0, std::char_traits<char>::length(row.text), row.text) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

ScanResult ScanArguments(const std::vector<std::string>& args, const std::vector<SwitchRow>& table)
{
    ScanResult result;
    for (const std::string& arg : args) {
        const std::string upper = UpperCase(arg);
        for (const SwitchRow& row : table) {
            if (!Matches(row, upper)) continue;
            std::string value;
            if (row.kind == SwitchKind::Prefix) value = arg.substr(std::char_traits<char>::length(row.text));
            int code = row.action(value);
            if (result.exitCode == 0) result.exitCode = code;
            if (row.setsHandled) result.handled = true;
        }
    }
    return result;
}

std::vector<std::string> ProcessArguments()
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
    return args;
}

int ReadNotifyNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    uint32_t value = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size() && HexDigit(text[i]) >= 0; ++i) value = value * 16 + HexDigit(text[i]);
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        for (i += 2; i < text.size() && HexDigit(text[i]) >= 0; ++i) value = value * 16 + HexDigit(text[i]);
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}
