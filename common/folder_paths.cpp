// Special folders by number, and the file-name and extension parts of a path.
#include "folder_paths.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

namespace {

constexpr UINT kBufferSize = 260;

// The shell's folder constant for the numbers looked up through SHGetSpecialFolderPathA, or -1.
int ShellFolderOfNumber(int folderNumber)
{
    switch (folderNumber) {
    case 1: return CSIDL_PERSONAL;
    case 2: return CSIDL_FAVORITES;
    case 3: return CSIDL_DESKTOPDIRECTORY;
    case 4: return CSIDL_FONTS;
    case 5: return CSIDL_STARTMENU;
    case 6: return CSIDL_PROGRAMS;
    case 7: return CSIDL_STARTUP;
    case 8: return CSIDL_APPDATA;
    case 12: return CSIDL_INTERNET_CACHE;
    default: return -1;
    }
}

bool LookUpFolder(int folderNumber, char* buffer)
{
    switch (folderNumber) {
    case 9: return GetWindowsDirectoryA(buffer, kBufferSize) > 0;
    case 10: return GetSystemDirectoryA(buffer, kBufferSize) > 0;
    case 11: return GetTempPathA(kBufferSize, buffer) > 0;
    default: break;
    }
    int shellFolder = ShellFolderOfNumber(folderNumber);
    if (shellFolder < 0)
        return false;
    return SHGetSpecialFolderPathA(nullptr, buffer, shellFolder, FALSE) != FALSE;
}

} // namespace

std::string FolderPathByNumber(std::optional<int> folderNumber)
{
    char buffer[kBufferSize] = {};
    int number = folderNumber.value_or(0);
    if (number == 0)
        number = 3;
    if (!LookUpFolder(number, buffer))
        return std::string();
    std::string path(buffer, strnlen(buffer, kBufferSize));
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

std::string FileNameOfPath(const std::string& path, std::optional<bool> keepExtension)
{
    std::string name = PathFindFileNameA(path.c_str());
    if (keepExtension.value_or(false))
        return name;
    std::size_t extensionLength = std::strlen(PathFindExtensionA(name.c_str()));
    return name.substr(0, name.size() - extensionLength);
}

std::string ExtensionOfPath(const std::string& path)
{
    return PathFindExtensionA(path.c_str());
}
