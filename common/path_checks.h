// Guards on paths and names before anything is deleted or written.
#pragma once

#include <string_view>

// True for a path of the form "X:\name..." that names something below the drive's root: at
// least one component, and no component made only of dots and spaces ("." and ".." climb back,
// and Windows drops trailing dots and spaces, so "X:\.. " is the root as well). Bare drives,
// drive roots, relative and UNC paths give false. Both slashes count as separators.
bool IsBelowDriveRoot(std::string_view path);

// True when a relative name (an archive entry's) stays inside the folder it is joined to:
// not absolute or UNC (no leading slash or backslash), no colon anywhere (drive letters,
// streams), no component made only of dots and spaces that holds two or more dots, and no
// component that names a device (CON, NUL, COM1 ...). Both slashes count as separators.
bool IsNameInsideFolder(std::string_view name);
