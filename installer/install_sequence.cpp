// The install sequence, run when the left mouse button goes down on "安装".
#include "install_sequence.h"

#include "client_settings.h"
#include "client_shutdown.h"
#include "deployment.h"
#include "drive_box.h"
#include "install_record.h"
#include "installer_window.h"
#include "program.h"
#include "shortcut_set.h"

namespace {

void ShowNotice(HWND installerWindow, const char* message)
{
    MessageBoxA(installerWindow, message, "提示：", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

} // namespace

void RunInstallSequence(HWND installerWindow)
{
    // The window may be closed while the pause dispatches its messages: then no drive is
    // left to read, and the quit message waiting in the queue ends the program.
    if (!StopRunningClients() || !IsWindow(installerWindow))
        return;

    const std::string installDrive = SelectedDriveLetter(DriveBoxOf(installerWindow));
    PrepareInstallFolder(installDrive, recordedDrive);
    RemoveOldShortcuts();
    const DeployOutcome outcome = DeployClientArchive(installDrive);
    if (!outcome.archiveWritten || outcome.extractResult != 1) {
        ShowNotice(installerWindow, "抱歉，安装失败！请重新安装！");
        return;
    }

    CreateShortcutSet(installDrive);
    RecordInstallDrive(installDrive);
    WriteUninstaller(installDrive);
    WriteClientSettings(installDrive);
    ShowNotice(installerWindow, "恭喜，安装成功！");
    EndProgram(0);
}
