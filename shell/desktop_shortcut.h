// Desktop shortcuts written through the script host's shell object.
#pragma once

#include <optional>
#include <string>

// Writes a shortcut to targetPath into the desktop folder. linkName is reduced to its file name
// without extension when it holds a folder, gets ".lnk" unless it contains ".lnk" (any letter
// case) and is then the shortcut's full path, which the caller's variable holds afterwards on
// every path. An existing file of that name is deleted first.
// The working directory is targetPath's folder with a trailing backslash. Absent parameters
// are written as empty texts, windowStyle as 0, iconLocation as targetPath + ",0", or as
// "SHELL32.dll,4" when the target has no extension.
// False when targetPath has no folder part, the shell or shortcut object cannot be had, or the
// target is refused; the other properties and the save are not checked. Needs OLE initialised.
bool CreateDesktopShortcut(std::string& linkName, const std::string& targetPath,
                           std::optional<std::string> arguments, std::optional<std::string> iconLocation,
                           std::optional<int> windowStyle, std::optional<std::string> description,
                           std::optional<std::string> hotkey);
