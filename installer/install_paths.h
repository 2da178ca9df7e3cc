// The named paths of an installation, built from a drive letter text.
#pragma once

#include <string>

// Each path is the drive letter text followed by a fixed text beginning with ":\Korvexa商城";
// no separator is added and nothing is normalised, so any text gives paths.
struct InstallPaths {
    std::string installFolder;
    std::string archiveFile;
    std::string uninstallerFile;
    std::string quotesClientFolder; // no trailing backslash
    std::string quotesClientExe;
    std::string quotesClientIcon;
    std::string settingsFile;
    std::string alertSoundFile;
    std::string updaterFolder; // ends with a backslash
    std::string updaterExe;
};

InstallPaths InstallPathsFor(const std::string& installDrive);

// The install folder of the recorded installation; "shibai" (none recorded) gives a path that
// cannot exist.
std::string PreviousInstallFolderFor(const std::string& recordedDrive);
