#include "OpenDialog.h"

#include <commdlg.h>

#include <algorithm>

namespace {

constexpr size_t NameBufferSize = 65536;

// "A|b|C|d" becomes "A\0b\0C\0d\0\0".
std::string SystemFilter(const std::string& filter)
{
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

// The buffer of a multiple choice: the folder, then the names, each ended by
// a null; a single choice is one full path.
std::vector<std::string> ChosenFiles(const std::vector<char>& buffer)
{
    std::vector<std::string> parts;
    for (size_t at = 0; at < buffer.size() && buffer[at];) {
        std::string part(&buffer[at]);
        at += part.size() + 1;
        parts.push_back(part);
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts[0];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

}  // namespace

bool TOpenDialog::Execute(HWND owner)
{
    std::vector<char> buffer(NameBufferSize, '\0');
    FileName.copy(buffer.data(), std::min(FileName.size(), NameBufferSize - 2));
    std::string filter = SystemFilter(Filter);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (MultiSelect ? OFN_ALLOWMULTISELECT : 0) | (HideReadOnly ? OFN_HIDEREADONLY : 0);
    files_.clear();
    if (!GetOpenFileNameA(&ofn)) return false;
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    files_ = ChosenFiles(buffer);
    if (files_.empty()) return false;
    FileName = files_.front();
    return true;
}
