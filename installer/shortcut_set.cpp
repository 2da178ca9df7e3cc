// The shortcuts of an installation: two on the desktop, three in the Start-menu folder.
#include "shortcut_set.h"

#include "desktop_shortcut.h"
#include "shell_link.h"
#include "special_folders.h"

#include <windows.h>

namespace {

constexpr int kDesktopFolder = 3;
constexpr int kProgramsFolder = 6;

const char kStartMenuFolderName[] = "Korvexa商城";
const char kQuotesLinkName[] = "Korvexa行情分析系统.lnk";
const char kTradeLinkName[] = "Korvexa商城.lnk";
const char kUninstallLinkName[] = "卸载.lnk";

// The paths of the installation on installDrive that the shortcuts point at.
struct LinkedPaths {
    std::string installFolder;
    std::string uninstallerFile;
    std::string quotesClientFolder;
    std::string quotesClientExe;
    std::string quotesClientIcon;
    std::string updaterFolder;
    std::string updaterExe;
};

LinkedPaths LinkedPathsFor(const std::string& installDrive)
{
    return {
        installDrive + ":\\Korvexa商城",
        installDrive + ":\\Korvexa商城\\qtrnUninstall.exe",
        installDrive + ":\\Korvexa商城\\DQ",
        installDrive + ":\\Korvexa商城\\DQ\\Veskoqtrn.exe",
        installDrive + ":\\Korvexa商城\\DQ\\tolvarn.ico",
        installDrive + ":\\Korvexa商城\\Trade\\Pravolt-trade\\",
        installDrive + ":\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
    };
}

std::string StartMenuFolder()
{
    return FolderPathByNumber(kProgramsFolder) + kStartMenuFolderName;
}

} // namespace

void RemoveOldShortcuts()
{
    std::string desktopFolder = FolderPathByNumber(kDesktopFolder);
    std::string startMenuFolder = StartMenuFolder();
    DeleteFileA((desktopFolder + kQuotesLinkName).c_str());
    DeleteFileA((startMenuFolder + "\\" + kQuotesLinkName).c_str());
    DeleteFileA((desktopFolder + kTradeLinkName).c_str());
    DeleteFileA((startMenuFolder + "\\" + kTradeLinkName).c_str());
    RemoveDirectoryA(startMenuFolder.c_str());
}

void CreateShortcutSet(const std::string& installDrive)
{
    LinkedPaths paths = LinkedPathsFor(installDrive);

    std::string quotesLink = kQuotesLinkName;
    CreateDesktopShortcut(quotesLink, paths.quotesClientExe, std::nullopt, paths.quotesClientIcon, std::nullopt,
                          "Dunmere行情", std::nullopt);
    std::string tradeLink = kTradeLinkName;
    CreateDesktopShortcut(tradeLink, paths.updaterExe, std::nullopt, paths.quotesClientIcon, std::nullopt,
                          "Korvexa商城", std::nullopt);

    std::string startMenuFolder = StartMenuFolder();
    CreateDirectoryA(startMenuFolder.c_str(), nullptr);
    CreateShellLink(startMenuFolder + "\\" + kQuotesLinkName, paths.quotesClientExe, "Dunmere行情", std::nullopt,
                    paths.quotesClientFolder);
    CreateShellLink(startMenuFolder + "\\" + kTradeLinkName, paths.updaterExe, "Korvexa商城", std::nullopt,
                    paths.updaterFolder);
    CreateShellLink(startMenuFolder + "\\" + kUninstallLinkName, paths.uninstallerFile, "卸载客户端", std::nullopt,
                    paths.installFolder);
}
