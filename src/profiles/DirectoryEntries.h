// The directory entries a driver image build looks up: each entry's name on
// disk and its 8.3 alternate, found once per build.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

struct DirectoryEntry {
    bool found = false;
    DWORD error = 0;        // why nothing was found
    std::string longName;   // the name on disk, or the name as given when not found
    std::string shortName;  // the 8.3 alternate where the entry has one, else the name on disk
};

// One FindFirstFileA of folder\name, or of name alone (in the current folder)
// when folder is empty.
DirectoryEntry SearchEntry(const std::string& folder, const std::string& name);

// The answers of one build, kept by the folder and name searched, so that
// every entry is searched at most once; nothing outlives the table.
class EntryTable {
public:
    const DirectoryEntry& LookUp(const std::string& folder, const std::string& name);

private:
    struct Listing {
        int searches = 0;       // distinct names searched in the folder before it was read
        bool listed = false;
        bool plain = true;      // all names listed are plain, so one matching none of them is absent
        std::unordered_map<std::string, DirectoryEntry> byName;  // by the name on disk
        std::unordered_set<std::string> folded;                  // long and short names, folded
    };
    static void ReadFolder(const std::string& folder, Listing& listing);
    static bool AnswerFromListing(const Listing& listing, const std::string& name, DirectoryEntry& entry);

    std::unordered_map<std::string, DirectoryEntry> entries_;  // by folder, backslash and name
    std::unordered_map<std::string, Listing> listings_;         // by folder
};
