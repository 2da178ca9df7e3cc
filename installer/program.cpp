// The installer process: program-wide state, exit routines and the orderly end.
#include "program.h"

#include <windows.h>
#include <ole2.h>

#include <vector>

std::string recordedDrive;

namespace {

std::vector<ExitRoutine> exitRoutines;
std::vector<ExitRoutine> startupReleases;
bool startupComplete = false;

} // namespace

void RegisterExitRoutine(ExitRoutine routine)
{
    exitRoutines.push_back(routine);
}

void ClearExitRoutines()
{
    exitRoutines.clear();
}

void RegisterStartupRelease(ExitRoutine release)
{
    startupReleases.push_back(release);
}

void ReleaseProgramState()
{
    recordedDrive = std::string();
}

void MarkStartupComplete()
{
    startupComplete = true;
}

void OnProgramWindowDestroyed()
{
    if (startupComplete)
        PostQuitMessage(0);
}

void RunOrderlyEnd()
{
    for (ExitRoutine routine : exitRoutines)
        routine();
    exitRoutines.clear();
    for (ExitRoutine release : startupReleases)
        release();
    startupReleases.clear();
    OleUninitialize();
}

void EndProgram(int exitCode)
{
    RunOrderlyEnd();
    ExitProcess(static_cast<UINT>(exitCode));
}

void EndWithStartupError()
{
    ClearExitRoutines();
    MessageBoxA(nullptr, "加载启动窗口失败，安装程序无法运行！", "错误：", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}
