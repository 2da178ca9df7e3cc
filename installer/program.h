// The installer process: program-wide state, exit routines and the orderly end.
#pragma once

#include <string>

// The registry value of the last installation, as read when the window was created.
extern std::string recordedDrive;

using ExitRoutine = void (*)();

void RegisterExitRoutine(ExitRoutine routine);
void ClearExitRoutines();

// What start-up acquired for the window (icons, fonts, the picture), released at the orderly end.
void RegisterStartupRelease(ExitRoutine release);

void ReleaseProgramState();

// Set once start-up is complete; from then on the last window's end ends the message loop.
void MarkStartupComplete();
void OnProgramWindowDestroyed();

// Exit routines, start-up releases and OLE's end, in this order.
void RunOrderlyEnd();

// The orderly end on demand, then the end of the process with exitCode.
[[noreturn]] void EndProgram(int exitCode);

// The fatal start-up error: an error box and exit code -1, without the exit routines.
[[noreturn]] void EndWithStartupError();
