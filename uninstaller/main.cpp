// The uninstaller's entry: a hidden window whose created notification runs the uninstall sequence.
#include "uninstall_sequence.h"
#include "uninstaller_program.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Only the system folder may supply DLLs, whatever folder the uninstaller runs from.
    SetDllDirectoryA("");
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    CreateUninstallerWindow(instance);
    // Reached only when the window could not be created: it has no other part than starting
    // the sequence, so the sequence runs all the same.
    RunUninstallSequence();
}
