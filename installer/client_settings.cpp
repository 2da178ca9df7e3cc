// The quotes client's settings file: three paths pointed at the install drive.
#include "client_settings.h"

#include <windows.h>

namespace {

struct SettingsPaths {
    std::string settingsFile;
    std::string updaterExe;
    std::string quotesClientFolder;
    std::string alertSoundFile;
};

SettingsPaths SettingsPathsFor(const std::string& installDrive)
{
    return {
        installDrive + ":\\Korvexa商城\\DQ\\ICONFIG.INI",
        installDrive + ":\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
        installDrive + ":\\Korvexa商城\\DQ",
        installDrive + ":\\Korvexa商城\\DQ\\USERS\\ALERT.WAV",
    };
}

bool WriteSetting(const char* key, const std::string& value, const std::string& file)
{
    return WritePrivateProfileStringA("ICONFIG", key, value.c_str(), file.c_str()) != FALSE;
}

} // namespace

bool WriteClientSettings(const std::string& installDrive)
{
    SettingsPaths paths = SettingsPathsFor(installDrive);
    bool order = WriteSetting("ORDER", paths.updaterExe, paths.settingsFile);
    bool basePath = WriteSetting("BASEPATH", paths.quotesClientFolder, paths.settingsFile);
    bool alert = WriteSetting("ALERT", paths.alertSoundFile, paths.settingsFile);
    return order && basePath && alert;
}
