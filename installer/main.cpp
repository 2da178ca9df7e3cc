// The installer's entry: start-up, message loop and the orderly end.
#include "installer_window.h"
#include "program.h"

#include "library_loading.h"
#include "text.h"

#include <windows.h>
#include <ole2.h>

namespace {

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
    RestrictLibraryLoadingToSystemFolder();
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
