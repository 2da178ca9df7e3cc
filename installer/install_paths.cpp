// The named paths of an installation, built from a drive letter text.
#include "install_paths.h"

InstallPaths InstallPathsFor(const std::string& installDrive)
{
    const std::string& d = installDrive;
    return {
        .installFolder = d + ":\\Korvexa商城",
        .archiveFile = d + ":\\Korvexa商城\\QTRN客户端资源.zip",
        .uninstallerFile = d + ":\\Korvexa商城\\qtrnUninstall.exe",
        .quotesClientFolder = d + ":\\Korvexa商城\\DQ",
        .quotesClientExe = d + ":\\Korvexa商城\\DQ\\Veskoqtrn.exe",
        .quotesClientIcon = d + ":\\Korvexa商城\\DQ\\tolvarn.ico",
        .settingsFile = d + ":\\Korvexa商城\\DQ\\ICONFIG.INI",
        .alertSoundFile = d + ":\\Korvexa商城\\DQ\\USERS\\ALERT.WAV",
        .updaterFolder = d + ":\\Korvexa商城\\Trade\\Pravolt-trade\\",
        .updaterExe = d + ":\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
    };
}

std::string PreviousInstallFolderFor(const std::string& recordedDrive)
{
    return recordedDrive + ":\\Korvexa商城";
}
