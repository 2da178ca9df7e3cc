// The uninstall sequence: confirmation, then the removal of everything the installer made.
#include "uninstall_sequence.h"

#include "uninstaller_program.h"

#include "folder_tree.h"
#include "install_record_names.h"
#include "processes.h"
#include "registry.h"
#include "folder_paths.h"

#include <windows.h>

namespace {

constexpr int kDesktopFolder = 3;
constexpr int kProgramsFolder = 6;

std::string OwnExePath()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// The own file is named by its full path, whatever the current directory; the command runs
// in the system folder, where it finds the real ping.
void StartSelfRemoval()
{
    std::string ownPath = OwnExePath();
    if (!ownPath.empty())
        StartHiddenSystemCommand(SelfRemovalCommand(ownPath), CommandFolder::System);
}

void RemoveShortcuts()
{
    DeleteFileA((FolderPathByNumber(kDesktopFolder) + "Korvexa行情分析系统.lnk").c_str());
    DeleteFileA((FolderPathByNumber(kProgramsFolder) + "Korvexa商城\\Korvexa行情分析系统.lnk").c_str());
    DeleteFileA((FolderPathByNumber(kDesktopFolder) + "Korvexa商城.lnk").c_str());
    DeleteFileA((FolderPathByNumber(kProgramsFolder) + "Korvexa商城\\Korvexa商城.lnk").c_str());
    DeleteFileA((FolderPathByNumber(kProgramsFolder) + "Korvexa商城\\卸载.lnk").c_str());
    // Removed only when empty: a file the user put there keeps the folder.
    RemoveDirectoryA((FolderPathByNumber(kProgramsFolder) + "Korvexa商城").c_str());
}

void ClearInstallFolder()
{
    RemoveFolderTree(recordedDrive + ":\\Korvexa商城\\Trade");
    DeleteFileA((recordedDrive + ":\\Korvexa商城\\QTRN客户端资源.zip").c_str());
    RemoveFolderTree(recordedDrive + ":\\Korvexa商城\\DQ");
}

} // namespace

// The file of a running program cannot be deleted, and this process ends only after starting
// the command: so the interpreter tries at once and then, while the file is still there, once a
// second for a few seconds (ping's pause between its two echoes). It stops as soon as the file is
// gone, so an uninstaller written again meanwhile by a new installation stays.
std::string SelfRemovalCommand(const std::string& uninstallerPath)
{
    const std::string quotedPath = "\"" + uninstallerPath + "\"";
    const std::string attempt = "del /f /a " + quotedPath + " >nul 2>&1";
    const std::string pauseWhileThere = "if exist " + quotedPath + " ping -n 2 127.0.0.1 >nul";
    std::string command = "cmd.exe /c " + attempt;
    for (int retry = 0; retry < 5; ++retry)
        command += " & " + pauseWhileThere + " & " + attempt;
    return command;
}

void RunUninstallSequence()
{
    recordedDrive = ReadRegistryText(HKEY_CURRENT_USER, kInstallDriveRegistryPath, kNotInstalled);
    if (recordedDrive == kNotInstalled) {
        MessageBoxA(nullptr, "卸载失败！尚未安装Korvexa商城客户端！", "错误：", MB_OK | MB_ICONERROR | MB_TASKMODAL);
        StartSelfRemoval();
        EndUninstaller(0);
    }
    if (MessageBoxA(nullptr, "您确定要卸载 Korvexa商城客户端 吗？", "重要提示：",
                    MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL)
        != IDYES)
        EndUninstaller(0);

    // No pause: the stop commands may still run while the files go.
    StartClientStopCommands();
    DeleteRegistryItem(HKEY_CURRENT_USER, kInstallRegistryKey);
    RemoveShortcuts();
    ClearInstallFolder();
    StartSelfRemoval();
    EndUninstaller(0);
}
