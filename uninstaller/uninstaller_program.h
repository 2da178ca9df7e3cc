// The uninstaller process: its one text, its hidden window and its end.
#pragma once

#include <windows.h>

#include <string>

// The registry value of the installation being removed.
extern std::string recordedDrive;

// Creates the hidden main window; its created notification runs the uninstall sequence, which
// ends the process. Returns only when the window could not be created (null).
HWND CreateUninstallerWindow(HINSTANCE instance);

// Releases the program's text and windows, then ends the process with exitCode.
[[noreturn]] void EndUninstaller(int exitCode);
