// The previous-installation probe, run once when the installer window has been created.
#pragma once

#include <windows.h>


// Reads the recorded drive into recordedDrive; with none recorded and more than one fixed
// drive, selects the alphabetically first fixed drive in the drive box.
void ProbePreviousInstallation(HWND driveBox);
