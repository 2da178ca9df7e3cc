// The registry value of the last installation, which the installer writes and its probe and
// the uninstaller read: below HKEY_CURRENT_USER, key and value name split at the last backslash.
#pragma once

#include <string>

inline const std::string kInstallDriveRegistryPath = "Korvexa商城\\安装目录";
// The key alone, which the uninstaller deletes.
inline const std::string kInstallRegistryKey = "Korvexa商城";
// The default of the read, meaning that no installation is recorded.
inline const std::string kNotInstalled = "shibai";
