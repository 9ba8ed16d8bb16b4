#include "FileNames.h"

std::string FileNameOfPath(const std::string& path)
{
    size_t separator = path.find_last_of("\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string TextFromLastDot(const std::string& text)
{
    size_t dot = text.rfind('.');
    return dot == std::string::npos ? std::string() : text.substr(dot);
}

std::string FileTypeExtension(const std::string& name)
{
    size_t last = name.find_last_of(".\\:");
    if (last == std::string::npos || name[last] != '.') return std::string();
    return name.substr(last);
}
