// Texts that the manager window composes: the close sequence's verification,
// the save summary, and the user and title of a loaded profile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The close sequence's "IMPORTANT! Please verify your settings:" text for
// the global settings AutoStart, UserControl and UseDefault.
std::string VerificationText(bool autoStart, bool userControl, bool useDefault);

// The save command's summary; an empty user name means the default profile.
std::string SaveSummary(const std::string& userName, size_t folderRules, size_t fileRules, size_t programs,
                        uint32_t passwordHash);

// Whom a loaded profile file is for, from its name.
struct ProfileUser {
    bool IsDefault = false;  // the name is "default.vtp" in any case
    std::string UserName;    // otherwise the name, less a final ".vtp" in any case
};
ProfileUser ProfileUserOfFile(const std::string& fileName);

// The window title for the user name field's text: " Vantrel  - Default
// profile" when it is empty, otherwise " Vantrel  - " and the name.
std::string ProfileTitle(const std::string& userName);
