// The process list, the client program names and the hidden start of system commands.
#include "processes.h"

#include "owners.h"
#include "text.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

// The ANSI entry; its size is what the snapshot functions expect in dwSize.
static_assert(sizeof(PROCESSENTRY32) == 296);

ProcessRecord RecordOf(const PROCESSENTRY32& entry)
{
    ProcessRecord record;
    record.processId = entry.th32ProcessID;
    record.exeName.assign(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
    record.moduleId = entry.th32ModuleID;
    record.parentProcessId = entry.th32ParentProcessID;
    record.basePriority = entry.pcPriClassBase;
    record.threadCount = entry.cntThreads;
    return record;
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(folder, length);
}

} // namespace

std::vector<ProcessRecord> ListProcesses()
{
    std::vector<ProcessRecord> records;
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return records;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (!Process32First(snapshot.Get(), &entry))
        return records;
    do {
        records.push_back(RecordOf(entry));
    } while (Process32Next(snapshot.Get(), &entry));
    return records;
}

bool StartHiddenSystemCommand(const std::string& commandLine, CommandFolder folder)
{
    std::string systemFolder = SystemFolder();
    if (systemFolder.empty())
        return false;
    std::string interpreter = systemFolder + "\\cmd.exe";
    const char* workingFolder = folder == CommandFolder::System ? systemFolder.c_str() : nullptr;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    std::string line = commandLine; // CreateProcessA may write into the command line it is given
    if (!CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder,
                        &startup, &started))
        return false;
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    // A console program such as the command interpreter makes this return at once.
    WaitForInputIdle(process.Get(), 1000);
    return true;
}

bool IsClientProcessName(const std::string& exeName)
{
    std::string lowered = LowerCaseAscii(exeName);
    for (const std::string& name : clientProcessNames) {
        if (lowered == LowerCaseAscii(name))
            return true;
    }
    return false;
}

std::string StopCommandFor(const std::string& exeName)
{
    return "cmd /c taskkill /im " + exeName + " /f";
}

void StartClientStopCommands()
{
    for (const ProcessRecord& record : ListProcesses()) {
        if (!IsClientProcessName(record.exeName))
            continue;
        StartHiddenSystemCommand(StopCommandFor(record.exeName), CommandFolder::System);
        StartHiddenSystemCommand(StopCommandFor(record.exeName), CommandFolder::System);
    }
}
