// Running-client shutdown: the stop commands and the pause that lets them work.
#pragma once

inline constexpr int kClientStopPauseMilliseconds = 2000;

// Starts the stop commands for every running client program, then pauses for
// kClientStopPauseMilliseconds while the window keeps handling its messages.
// False when the pause ended because the program was asked to quit (see PauseDispatching).
bool StopRunningClients();

// Waits more than the given milliseconds while dispatching this thread's window messages,
// with the dialog keyboard handling (Esc, Tab) for the top-level windows. Returns true after
// the full pause, at once for 0 or less. Returns false as soon as WM_QUIT is next in the
// queue (the window closed during the pause); the quit message stays there for the message loop.
bool PauseDispatching(int milliseconds);
