// Files and folders on disk: whether a path exists, and removing a folder with its content.
#include "folder_tree.h"

#include "owners.h"
#include "path_checks.h"
#include "text.h"

#include <algorithm>
#include <vector>

namespace {

struct FolderEntry {
    std::string path;
    bool isFolder = false;
    bool isLink = false;
};

// The entries are collected first and removed after the search is closed.
void RemoveFolderContent(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        if (found.cFileName[0] == '.')
            continue;
        entries.push_back({folder + "\\" + found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileA(search.Get(), &found));
    search.Close();

    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder) {
            DeleteFileA(entry.path.c_str());
            continue;
        }
        // A junction or folder link goes by itself. Wine shows a Unix link to a folder this way
        // too, but cannot remove it: RemoveDirectoryA fails while the folder it points to has
        // content (and removes that folder instead when it is empty).
        if (!entry.isLink)
            RemoveFolderContent(entry.path);
        RemoveDirectoryA(entry.path.c_str());
    }
}

bool IsLink(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

bool PathExists(const std::string& path)
{
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA(path.c_str(), &found));
    return search.IsValid();
}

bool RemoveFolderTree(const std::string& folderPath)
{
    std::string path = folderPath.substr(std::min(folderPath.find_first_not_of(' '), folderPath.size()));
    if (!IsBelowDriveRoot(path))
        return false;
    while (FindLastBackslash(path) == path.size() - 1 || path.back() == '/')
        path.pop_back();

    if (!IsLink(path))
        RemoveFolderContent(path);
    return RemoveDirectoryA(path.c_str()) != FALSE;
}
