// The uninstaller's entry: a hidden window whose created notification runs the uninstall sequence.
#include "uninstall_sequence.h"
#include "uninstaller_program.h"

#include "library_loading.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictLibraryLoadingToSystemFolder();

    CreateUninstallerWindow(instance);
    // Reached only when the window could not be created: it has no other part than starting
    // the sequence, so the sequence runs all the same.
    RunUninstallSequence();
}
