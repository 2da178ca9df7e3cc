// Test helpers for processes: started programs, planted copies and a run watched from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The demo client program and the operation probe of this build.
std::string DemoClientPath();
std::string OperationProbePath();

// The system folder, without trailing backslash.
std::string SystemFolder();

// Copies a file into folder under name; the path of the copy, empty on failure.
std::string CopyInto(const std::string& file, const std::string& folder, const std::string& name);

// A program started by a test; ended by the destructor when it is still running.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& exePath);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const;
    // Waits for the end; false when the program still runs after timeoutMilliseconds.
    bool WaitForEnd(DWORD timeoutMilliseconds) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// The full image path of a running process, empty when it cannot be read.
std::string ImagePathOf(DWORD processId);

// Ends every process whose image lies in folder (planted programs that should never have run).
// The number of processes found.
int EndProcessesIn(const std::string& folder);

// ASCII case-insensitive comparison of two paths.
bool SamePath(const std::string& a, const std::string& b);

// How many handles this process holds, counted in the system's handle table.
int OpenHandleCount();

// One process of a watched run, as it was when it started and when it ended.
struct WatchedProcess {
    DWORD processId = 0;
    DWORD parentProcessId = 0;
    std::string imagePath;
    std::string commandLine;
    std::string currentFolder; // no trailing backslash
    DWORD startupFlags = 0;    // STARTUPINFO dwFlags as the process received them
    DWORD showWindow = 0;      // STARTUPINFO wShowWindow
    bool ended = false;
    DWORD exitCode = 0;
};

// Runs program with commandLine in currentFolder under the debugging interface, which stops
// every process it and its descendants start until this has looked at it, so that no process
// is missed however short it lives. Returns when all have ended, or kills them after
// timeoutMilliseconds. The first entry is program itself; empty when it could not start.
std::vector<WatchedProcess> RunWatched(const std::string& program, const std::string& commandLine,
                                       const std::string& currentFolder, DWORD timeoutMilliseconds);
