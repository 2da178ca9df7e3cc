// Special folders by number, and the file-name and extension parts of a path.
#pragma once

#include <optional>
#include <string>

// The folder named by folderNumber (absent counts as 0), ending in exactly one backslash:
// 0 and 3 desktop, 1 documents, 2 favorites, 4 fonts, 5 Start menu, 6 Start-menu programs,
// 7 startup, 8 application data, 9 Windows, 10 system, 11 temporary files,
// 12 temporary internet files. Any other number, or a failed lookup, gives the empty text.
// A missing folder is not created.
std::string FolderPathByNumber(std::optional<int> folderNumber);

// What follows the last path separator; without its extension unless keepExtension is true
// (absent counts as false).
std::string FileNameOfPath(const std::string& path, std::optional<bool> keepExtension);

// The extension of the path's last part with its leading ".", or the empty text.
std::string ExtensionOfPath(const std::string& path);
