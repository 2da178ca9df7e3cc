// The previous-installation probe, run once when the installer window has been created.
#include "probe.h"

#include "drive_box.h"
#include "program.h"

#include "drives.h"
#include "install_record_names.h"
#include "registry.h"

void ProbePreviousInstallation(HWND driveBox)
{
    recordedDrive = ReadRegistryText(HKEY_CURRENT_USER, kInstallDriveRegistryPath, kNotInstalled);
    if (recordedDrive != kNotInstalled)
        return;
    std::vector<std::string> fixedDrives = ListFixedDrives();
    if (fixedDrives.size() >= 2)
        SelectDriveByLetter(driveBox, fixedDrives.front());
}
