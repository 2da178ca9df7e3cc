// Installing with the real installer of this build, as a user does, for tests that need an
// installation made the real way.
#pragma once

#include <windows.h>

#include <string>

// Starts the installer, picks the drive's entry in the drive box, presses "安装", answers the
// outcome's message box with OK and waits for the installer to end. The message it showed, or
// a text in parentheses saying where the run went wrong.
std::string InstallWithInstaller(char drive);

// Picks the drive's entry in the installer window's drive box, as a user does in the opened
// list; false when the drive is not offered.
bool ChooseDrive(HWND installerWindow, char letter);

// The left mouse button pressed and released on "安装".
void PressInstall(HWND installerWindow);
