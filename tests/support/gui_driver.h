// Driving a real program of this build from outside, as a user would: start it, find its
// window, press, answer message boxes, wait for its end.
#pragma once

#include "owners.h"

#include <windows.h>

#include <string>
#include <vector>

struct StartedProgram {
    UniqueHandle process;
    DWORD processId = 0;
};

StartedProgram StartProgram(const std::string& exePath, const std::string& currentFolder,
                            const std::string& arguments = "");

// The visible top-level window of the process with that title, or null after the time-out.
HWND WaitForWindow(DWORD processId, const std::string& title, DWORD timeoutMs = 20000);

// The message box ("#32770") of the process, or null after the time-out.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs = 30000);

// The texts of a message box: its caption and its message.
struct MessageBoxTexts {
    std::string caption;
    std::string text;
};
MessageBoxTexts ReadMessageBox(HWND box);

// Exit code, or STILL_ACTIVE when the process has not ended within the time-out.
DWORD WaitForExitCode(const StartedProgram& program, DWORD timeoutMs = 20000);

// A child window by its top-left corner in the parent's client coordinates.
HWND ChildAt(HWND parent, int left, int top);
RECT ClientRectInParent(HWND child);

std::string WindowText(HWND window);

// The entries of a combo box, read in UTF-16 (Wine answers the ANSI form in UTF-16 across
// processes) and converted to code page 936.
std::vector<std::string> ComboBoxEntries(HWND comboBox);

// A left click with the real mouse at a screen point.
void ClickAt(POINT screenPoint);

// Saves a picture of the window as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& bmpPath);
