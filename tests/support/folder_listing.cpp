// Looking at folder trees from outside: listings, times and attributes as a test compares them.
#include "folder_listing.h"

#include "owners.h"
#include "test_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

void ListInto(const std::string& folder, const std::string& prefix, std::vector<ListedEntry>& entries)
{
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back({prefix + name, isFolder});
        if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            ListInto(folder + "\\" + name, prefix + name + "\\", entries);
    } while (FindNextFileA(search.Get(), &found));
}

} // namespace

std::vector<ListedEntry> ListTree(const std::string& folder)
{
    std::vector<ListedEntry> entries;
    ListInto(folder, "", entries);
    std::sort(entries.begin(), entries.end(), [](const ListedEntry& a, const ListedEntry& b) { return a.path < b.path; });
    return entries;
}

std::string LocalWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME time;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
        || !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

unsigned long AttributesOf(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

bool IsFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PrintTo(const ListedEntry& entry, std::ostream* out)
{
    *out << Utf8(entry.path) << (entry.isFolder ? "\\" : "");
}
