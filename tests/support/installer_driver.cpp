// Installing with the real installer of this build, as a user does.
#include "installer_driver.h"

#include "gui_driver.h"
#include "test_support.h"

#include <windows.h>

namespace {

const char kInstallerTitle[] = "Korvexa商城客户端安装程序";
const char kInstallerSuccess[] = "恭喜，安装成功！";

} // namespace

bool ChooseDrive(HWND window, char letter)
{
    HWND driveBox = ChildAt(window, 75, 198);
    std::vector<std::string> entries = ComboBoxEntries(driveBox);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].empty() && entries[i][0] == letter) {
            SendMessageA(driveBox, CB_SETCURSEL, i, 0);
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(driveBox), CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(driveBox));
            return true;
        }
    }
    return false;
}

void PressInstall(HWND window)
{
    HWND install = ChildAt(window, 288, 192);
    PostMessageA(install, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 14));
    PostMessageA(install, WM_LBUTTONUP, 0, MAKELPARAM(24, 14));
}

std::string InstallWithInstaller(char drive)
{
    StartedProgram installer = StartProgram(InstallerExePath(), "C:\\");
    if (!installer.process)
        return "(installer not started)";
    std::string outcome;
    HWND window = WaitForWindow(installer.processId, kInstallerTitle);
    HWND box = nullptr;
    if (!window) {
        outcome = "(no installer window)";
    } else if (!ChooseDrive(window, drive)) {
        outcome = std::string("(drive ") + drive + " not offered)";
    } else {
        PressInstall(window);
        box = WaitForMessageBox(installer.processId, 120000);
        outcome = box ? ReadMessageBox(box).text : "(no message box)";
    }
    if (box)
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // After a failure the installer's window stays open.
    if (window && outcome != kInstallerSuccess)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForExitCode(installer) == STILL_ACTIVE) {
        TerminateProcess(installer.process.Get(), 1);
        WaitForSingleObject(installer.process.Get(), 5000);
        if (outcome == kInstallerSuccess)
            outcome = "(installer did not end)";
    }
    return outcome;
}
