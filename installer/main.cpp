// The installer's entry: start-up, message loop and the orderly end.
#include "installer_window.h"
#include "program.h"

#include "text.h"

#include <windows.h>
#include <ole2.h>

namespace {

// Only the system folder may supply DLLs: the installer usually runs from a Downloads
// folder, where a planted DLL must never be loaded.
void RestrictLibraryLoading()
{
    SetDllDirectoryA("");
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void EnterOwnFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exePath(path, length < MAX_PATH ? length : MAX_PATH);
    SplitText split = SplitAtLastBackslash(exePath);
    SetCurrentDirectoryA(split.before.c_str());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictLibraryLoading();
    OleInitialize(nullptr);
    EnterOwnFolder();
    RegisterExitRoutine(ReleaseProgramState);

    HWND window = CreateInstallerWindow(instance);
    if (!window)
        EndWithStartupError();
    MarkStartupComplete();

    int exitCode = 0;
    if (IsWindow(window)) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (IsWindow(window) && IsDialogMessageA(window, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        exitCode = static_cast<int>(message.wParam);
    }
    EndProgram(exitCode);
}
