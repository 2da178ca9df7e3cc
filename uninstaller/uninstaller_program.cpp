// The uninstaller process: its one text, its hidden window and its end.
#include "uninstaller_program.h"

#include "uninstall_sequence.h"

std::string recordedDrive;

namespace {

constexpr char kUninstallerWindowClass[] = "KorvexaUninstallerWindow";
constexpr char kUninstallerWindowTitle[] = "Korvexa商城客户端卸载程序";
constexpr int kWidth = 380;
constexpr int kHeight = 250;

HWND uninstallerWindow = nullptr;

LRESULT CALLBACK UninstallerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        // The sequence ends the process in here, before CreateWindowExA could return the window.
        uninstallerWindow = window;
        RunUninstallSequence();
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateUninstallerWindow(HINSTANCE instance)
{
    WNDCLASSEXA windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = UninstallerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kUninstallerWindowClass;
    RegisterClassExA(&windowClass);

    // Created hidden: the window is never shown, only the message boxes are. Its created
    // notification runs the sequence, which ends the process.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    return CreateWindowExA(0, kUninstallerWindowClass, kUninstallerWindowTitle,
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, left, top, kWidth, kHeight, nullptr, nullptr,
                           instance, nullptr);
}

void EndUninstaller(int exitCode)
{
    recordedDrive = std::string();
    if (uninstallerWindow)
        DestroyWindow(uninstallerWindow);
    ExitProcess(static_cast<UINT>(exitCode));
}
