// Looking at folder trees from outside: listings, times and attributes as a test compares them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct ListedEntry {
    std::string path; // relative to the listed folder, backslashes
    bool isFolder = false;
    bool operator==(const ListedEntry&) const = default;
};

// How a test failure shows an entry: its path in UTF-8, a folder with a trailing backslash.
void PrintTo(const ListedEntry& entry, std::ostream* out);

// Every file and folder below folder (not the folder itself), sorted by path; names beginning
// with '.' are listed too, "." and ".." are not.
std::vector<ListedEntry> ListTree(const std::string& folder);

// The last-write time of a file in local time as "YYYY-MM-DD hh:mm:ss", or "" when it cannot be read.
std::string LocalWriteTime(const std::string& path);

// The attributes of a file or folder, INVALID_FILE_ATTRIBUTES when it is missing.
unsigned long AttributesOf(const std::string& path);

// Whether path names an existing file (not a folder), or an existing folder.
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
