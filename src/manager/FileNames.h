// The pieces of file names that the manager's lists and dialogs show.
#pragma once
#include <string>

// The text after the last "\" or ":", the whole text when it has neither.
std::string FileNameOfPath(const std::string& path);

// The text from the last "." on, empty when there is no dot.
std::string TextFromLastDot(const std::string& text);

// The extension that describes a file type: the text from the last "." on
// when the last of ".", "\" and ":" is that dot, otherwise empty.
std::string FileTypeExtension(const std::string& name);
