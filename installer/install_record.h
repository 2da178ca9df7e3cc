// The registry record of the installation that the probe and the uninstaller read.
#pragma once

#include <string>

// Stores installDrive as the REG_SZ value kInstallDriveRegistryPath below HKEY_CURRENT_USER.
bool RecordInstallDrive(const std::string& installDrive);
