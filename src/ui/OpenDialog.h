// TOpenDialog: the system's file-open dialog (GetOpenFileNameA, explorer
// style). The filter is written "Text|pattern|Text|pattern"; with
// MultiSelect the chosen files come back in the dialog's order as full paths.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class TOpenDialog {
public:
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;   // without the dot, as the system wants it
    std::string FileName;     // preset, and the first file chosen
    std::string InitialDir;
    bool MultiSelect = false;
    bool HideReadOnly = true;

    // True when the user chose at least one file.
    bool Execute(HWND owner);
    const std::vector<std::string>& Files() const { return files_; }

private:
    std::vector<std::string> files_;
};
