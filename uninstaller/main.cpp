// The uninstaller's entry: a hidden window whose created notification runs the uninstall sequence.
#include "uninstall_sequence.h"
#include "uninstaller_program.h"

#include "library_loading.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictLibraryLoadingToSystemFolder();

    if (CreateUninstallerWindow(instance))
        RunUninstallSequence();
    // The sequence ends the process on every path; this is reached only without a window.
    EndUninstaller(0);
}
