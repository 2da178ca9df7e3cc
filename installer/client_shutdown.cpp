// Running-client shutdown: the stop commands and the pause that lets them work.
#include "client_shutdown.h"

#include "processes.h"

#include <windows.h>

namespace {

void DispatchOne(MSG& message)
{
    HWND topLevel = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (topLevel && IsDialogMessageA(topLevel, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

// Dispatches what is waiting; false when WM_QUIT is next, which is left in the queue.
bool DispatchPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        DispatchOne(message);
    }
    return true;
}

} // namespace

bool StopRunningClients()
{
    StartClientStopCommands();
    return PauseDispatching(kClientStopPauseMilliseconds);
}

bool PauseDispatching(int milliseconds)
{
    if (milliseconds <= 0)
        return true;
    const DWORD length = static_cast<DWORD>(milliseconds);
    const DWORD start = GetTickCount();
    for (;;) {
        if (!DispatchPendingMessages())
            return false;
        // Unsigned subtraction: the tick counter's return to zero does not matter.
        DWORD passed = GetTickCount() - start;
        if (passed > length)
            return true;
        // Sleeps until a message arrives or the pause is over, instead of polling the clock.
        MsgWaitForMultipleObjectsEx(0, nullptr, length - passed + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
