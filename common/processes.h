// The process list, the client program names and the hidden start of system commands.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

// One running process as the system's process snapshot reports it.
struct ProcessRecord {
    DWORD processId = 0;
    std::string exeName; // file name without folder; empty when the snapshot gives none
    DWORD moduleId = 0;
    DWORD parentProcessId = 0;
    LONG basePriority = 0;
    DWORD threadCount = 0;
};

// The running processes in the snapshot's order; empty when no snapshot could be taken.
std::vector<ProcessRecord> ListProcesses();

// Where the command interpreter that StartHiddenSystemCommand starts runs.
enum class CommandFolder {
    // The system folder: the interpreter finds the programs a line names (taskkill) there,
    // before it would look in this program's folder, where anyone may have put a file.
    System,
    // This program's current directory, for a line that names files relative to it.
    Current,
};

// Runs commandLine (a "cmd /c ..." line, passed unchanged) with the command interpreter of
// the system folder, its window hidden, and never waits for it to end. True when it started.
// The interpreter is named by its full path: a bare "cmd" would be looked for in this
// program's own folder and current directory first.
bool StartHiddenSystemCommand(const std::string& commandLine, CommandFolder folder);

// The executable names of the client programs, in the order they are matched.
inline const std::array<std::string, 4> clientProcessNames = {
    "Pravolt.exe",   // the trading client's updater
    "Senvique.exe",  // the trading client's login program
    "Orlandex.exe",  // the trading client
    "Veskoqtrn.exe", // the market-quotes client
};

// True when exeName is one of clientProcessNames, ignoring the letter case of ASCII letters.
bool IsClientProcessName(const std::string& exeName);

// "cmd /c taskkill /im " + exeName + " /f": stops every process of that image name.
std::string StopCommandFor(const std::string& exeName);

// Lists the processes once and starts the stop command twice for each client program found.
// Does not wait for the commands or for the programs to end.
void StartClientStopCommands();
