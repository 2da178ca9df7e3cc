// Prints how much processor time the installer's 2000 ms pause takes with a window open.
#include "client_shutdown.h"

#include <windows.h>

#include <cstdio>

namespace {

double ProcessorMilliseconds()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto hundredNanoseconds = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(hundredNanoseconds(kernel) + hundredNanoseconds(user)) / 10000.0;
}

} // namespace

int main()
{
    HWND window = CreateWindowExA(0, "STATIC", "pause benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::printf("window %s\n", window ? "open" : "could not be created (no display?)");
    PauseDispatching(100); // settle: first paint and window set-up

    const int runs = 3;
    for (int run = 1; run <= runs; ++run) {
        double before = ProcessorMilliseconds();
        DWORD start = GetTickCount();
        PauseDispatching(kClientStopPauseMilliseconds);
        DWORD wall = GetTickCount() - start;
        double used = ProcessorMilliseconds() - before;
        std::printf("run %d: PauseDispatching(%d) wall %lu ms, processor %.1f ms (%.1f%% of one core)\n", run,
                    kClientStopPauseMilliseconds, static_cast<unsigned long>(wall), used, 100.0 * used / wall);
    }
    DestroyWindow(window);
    return 0;
}
