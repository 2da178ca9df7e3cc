// The shortcuts of an installation: two on the desktop, three in the Start-menu folder.
#include "shortcut_set.h"

#include "install_paths.h"

#include "desktop_shortcut.h"
#include "shell_link.h"
#include "folder_paths.h"

#include <windows.h>

namespace {

constexpr int kDesktopFolder = 3;
constexpr int kProgramsFolder = 6;

const char kStartMenuFolderName[] = "Korvexa商城";
const char kQuotesLinkName[] = "Korvexa行情分析系统.lnk";
const char kTradeLinkName[] = "Korvexa商城.lnk";
const char kUninstallLinkName[] = "卸载.lnk";

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
    const InstallPaths paths = InstallPathsFor(installDrive);

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
