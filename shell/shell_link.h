// Shortcuts written directly through the shell link object.
#pragma once

#include <optional>
#include <string>

// Writes a shortcut to targetPath at linkPath (".lnk" appended when linkPath has no full stop
// anywhere), replacing an existing file, with the show command SW_SHOW and no icon of its own.
// Absent texts are not set. True exactly when the file was saved. Needs OLE initialised.
bool CreateShellLink(const std::string& linkPath, const std::string& targetPath,
                     std::optional<std::string> description, std::optional<std::string> arguments,
                     std::optional<std::string> workingDirectory);
