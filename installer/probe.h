// The previous-installation probe, run once when the installer window has been created.
#pragma once

#include <windows.h>

#include <string>

// The registry value of the last installation: key and value name, split at the last backslash.
inline const std::string kInstallDriveRegistryPath = "Korvexa商城\\安装目录";
// The default that means no installation is recorded.
inline const std::string kNotInstalled = "shibai";

// Reads the recorded drive into recordedDrive; with none recorded and more than one fixed
// drive, selects the alphabetically first fixed drive in the drive box.
void ProbePreviousInstallation(HWND driveBox);
