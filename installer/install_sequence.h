// The install sequence, run when the left mouse button goes down on "安装".
#pragma once

#include <windows.h>

void RunInstallSequence(HWND installerWindow);
