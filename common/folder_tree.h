// Files and folders on disk: whether a path exists, and removing a folder with its content.
#pragma once

#include <string>

// True when FindFirstFileA finds an entry for path: a file and a folder both count.
bool PathExists(const std::string& path);

// Removes a folder with everything in it, depth first; entries whose names begin with '.' are
// kept, and a file that cannot be deleted stays together with the folders above it. Leading
// spaces are skipped. Refuses (false, nothing removed) an empty path, a bare drive or drive
// root, and any path that is not below a drive root (see IsBelowDriveRoot). A junction or
// folder link is removed itself; what it points to is never entered. The result is that of
// the final RemoveDirectoryA on the folder itself.
bool RemoveFolderTree(const std::string& folderPath);
