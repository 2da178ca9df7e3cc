// Runs one operation as the installer runs it, for tests that watch from outside which
// processes it starts.
//   operation_probe stop-clients           StopRunningClients; exits with the milliseconds it took
//   operation_probe system-command LINE    StartHiddenSystemCommand in the system folder; 1 when started
//   operation_probe current-command LINE   the same in the probe's current directory
#include "client_shutdown.h"
#include "processes.h"

#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string operation = __argc > 1 ? __argv[1] : "";
    std::string line = __argc > 2 ? __argv[2] : "";
    if (operation == "stop-clients") {
        DWORD start = GetTickCount();
        bool finished = StopRunningClients();
        return finished ? static_cast<int>(GetTickCount() - start) : 0;
    }
    if (operation == "system-command")
        return StartHiddenSystemCommand(line, CommandFolder::System) ? 1 : 0;
    if (operation == "current-command")
        return StartHiddenSystemCommand(line, CommandFolder::Current) ? 1 : 0;
    return 2;
}
