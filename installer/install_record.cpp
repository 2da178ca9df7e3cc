// The registry record of the installation that the probe and the uninstaller read.
#include "install_record.h"

#include "install_record_names.h"
#include "registry.h"

bool RecordInstallDrive(const std::string& installDrive)
{
    return WriteRegistryText(HKEY_CURRENT_USER, kInstallDriveRegistryPath, installDrive);
}
