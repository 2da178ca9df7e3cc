// The installer window: QR picture, advice, drive box and the "安装" control.
#pragma once

#include <windows.h>

inline constexpr char kInstallerWindowTitle[] = "Korvexa商城客户端安装程序";
inline constexpr int kInstallerWindowWidth = 392;
inline constexpr int kInstallerWindowHeight = 250;

// Control identifiers; each names the control of the window definition it stands for.
enum InstallerControl : int {
    PICTURE_BOX_1 = 101,      // 图片框1
    LABEL_1 = 102,            // 标签1
    LABEL_2 = 103,            // 标签2
    TRANSPARENT_LABEL_4 = 104, // 透明标签4, "安装目录："
    DRIVE_BOX_1 = 105,        // 驱动器框1
    TRANSPARENT_LABEL_5 = 106, // 透明标签5, "\Korvexa商城"
    TRANSPARENT_LABEL_1 = 107, // 透明标签1, "安装", the install control
};

// Creates the window with all its controls, runs the previous-installation probe, then shows
// the window centred on the screen. Null when the window cannot be created.
HWND CreateInstallerWindow(HINSTANCE instance);

HWND DriveBoxOf(HWND installerWindow);
