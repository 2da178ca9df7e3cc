// A demo client program: a real Windows program with a hidden window that runs until it is
// stopped (closed or killed). The demo archive carries it under each client program's name.
#include <windows.h>

namespace {

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DemoWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KorvexaDemoClient";
    RegisterClassA(&windowClass);

    char title[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, title, MAX_PATH);
    CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                    instance, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
