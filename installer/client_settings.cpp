// The quotes client's settings file: three paths pointed at the install drive.
#include "client_settings.h"

#include "install_paths.h"

#include <windows.h>

namespace {

bool WriteSetting(const char* key, const std::string& value, const std::string& file)
{
    return WritePrivateProfileStringA("ICONFIG", key, value.c_str(), file.c_str()) != FALSE;
}

} // namespace

bool WriteClientSettings(const std::string& installDrive)
{
    const InstallPaths paths = InstallPathsFor(installDrive);
    bool order = WriteSetting("ORDER", paths.updaterExe, paths.settingsFile);
    bool basePath = WriteSetting("BASEPATH", paths.quotesClientFolder, paths.settingsFile);
    bool alert = WriteSetting("ALERT", paths.alertSoundFile, paths.settingsFile);
    return order && basePath && alert;
}
