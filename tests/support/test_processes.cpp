// Test helpers for processes: started programs, planted copies and a run watched from outside.
#include "test_processes.h"

#include "owners.h"
#include "processes.h"
#include "test_support.h"
#include "text.h"

#include <winternl.h>

#include <map>

namespace {

std::string AnsiOf(const std::wstring& wide)
{
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string ImagePathOfHandle(HANDLE process)
{
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size))
        return std::string();
    return std::string(path, size);
}

DWORD ParentOf(DWORD processId)
{
    for (const ProcessRecord& record : ListProcesses()) {
        if (record.processId == processId)
            return record.parentProcessId;
    }
    return 0;
}

// The 32-bit layout of the start of RTL_USER_PROCESS_PARAMETERS, up to the show-window value.
struct UnicodeText32 {
    USHORT length;
    USHORT maximumLength;
    DWORD buffer;
};
struct ProcessParameters32 {
    BYTE header[0x24];
    UnicodeText32 currentDirectory;
    DWORD currentDirectoryHandle;
    UnicodeText32 dllPath;
    UnicodeText32 imagePathName;
    UnicodeText32 commandLine;
    BYTE environmentToFillAttribute[0x68 - 0x48];
    DWORD windowFlags;
    DWORD showWindowFlags;
};
static_assert(sizeof(void*) == 4 && offsetof(ProcessParameters32, windowFlags) == 0x68);

std::string ReadText(HANDLE process, const UnicodeText32& text)
{
    std::wstring wide(text.length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<ULONG_PTR>(text.buffer)), wide.data(),
                           text.length, nullptr))
        return std::string();
    return AnsiOf(wide);
}

// Reads what the process was started with from its process parameters block.
void ReadStartParameters(HANDLE process, WatchedProcess& watched)
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return;
    PEB peb{};
    ProcessParameters32 parameters{};
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr)
        || !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return;
    watched.commandLine = ReadText(process, parameters.commandLine);
    watched.currentFolder = ReadText(process, parameters.currentDirectory);
    if (watched.currentFolder.size() > 3 && watched.currentFolder.back() == '\\')
        watched.currentFolder.pop_back();
    watched.startupFlags = parameters.windowFlags;
    watched.showWindow = parameters.showWindowFlags;
}

} // namespace

std::string DemoClientPath()
{
    return BuildFolder() + "\\payload\\demo_client.exe";
}

std::string OperationProbePath()
{
    return BuildFolder() + "\\tests\\operation_probe.exe";
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string CopyInto(const std::string& file, const std::string& folder, const std::string& name)
{
    std::string copy = folder + "\\" + name;
    return CopyFileA(file.c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

RunningProgram::RunningProgram(const std::string& exePath)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string line = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    processId_ = started.dwProcessId;
    WaitForInputIdle(process_, 5000);
}

RunningProgram::~RunningProgram()
{
    if (!process_)
        return;
    if (IsRunning()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool RunningProgram::IsRunning() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForEnd(DWORD timeoutMilliseconds) const
{
    return process_ && WaitForSingleObject(process_, timeoutMilliseconds) == WAIT_OBJECT_0;
}

std::string ImagePathOf(DWORD processId)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? ImagePathOfHandle(process.Get()) : std::string();
}

int EndProcessesIn(const std::string& folder)
{
    int found = 0;
    for (const ProcessRecord& record : ListProcesses()) {
        std::string image = ImagePathOf(record.processId);
        if (!SamePath(SplitAtLastBackslash(image).before, folder))
            continue;
        ++found;
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, record.processId));
        if (process && TerminateProcess(process.Get(), 1))
            WaitForSingleObject(process.Get(), 5000);
    }
    return found;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return LowerCaseAscii(a) == LowerCaseAscii(b);
}

int OpenHandleCount()
{
    // SystemHandleInformation: a count, then one 16-byte entry per handle, owner process first.
    struct HandleEntry {
        ULONG processId;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    const auto systemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    std::vector<BYTE> buffer(1 << 20);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(systemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                              nullptr))
           == static_cast<NTSTATUS>(0xC0000004L)) // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG));
    int own = 0;
    for (ULONG i = 0; i < count; ++i) {
        if (entries[i].processId == GetCurrentProcessId())
            ++own;
    }
    return own;
}

std::vector<WatchedProcess> RunWatched(const std::string& program, const std::string& commandLine,
                                       const std::string& currentFolder, DWORD timeoutMilliseconds)
{
    std::vector<WatchedProcess> watched;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string line = commandLine;
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr,
                        currentFolder.c_str(), &startup, &started))
        return watched;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);

    std::map<DWORD, std::size_t> indexOf;
    std::map<DWORD, HANDLE> live; // handles owned by the debugging interface, never closed here
    const DWORD start = GetTickCount();
    bool killed = false;
    do {
        DWORD passed = GetTickCount() - start;
        if (!killed && passed > timeoutMilliseconds) {
            for (const auto& [id, process] : live)
                TerminateProcess(process, 0xDEAD);
            killed = true;
        }
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 1000))
            continue;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT: {
            const CREATE_PROCESS_DEBUG_INFO& info = event.u.CreateProcessInfo;
            WatchedProcess process;
            process.processId = event.dwProcessId;
            process.parentProcessId = ParentOf(event.dwProcessId);
            process.imagePath = ImagePathOfHandle(info.hProcess);
            ReadStartParameters(info.hProcess, process);
            indexOf[event.dwProcessId] = watched.size();
            watched.push_back(process);
            live[event.dwProcessId] = info.hProcess;
            if (info.hFile)
                CloseHandle(info.hFile);
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            if (indexOf.count(event.dwProcessId)) {
                watched[indexOf[event.dwProcessId]].ended = true;
                watched[indexOf[event.dwProcessId]].exitCode = event.u.ExitProcess.dwExitCode;
            }
            live.erase(event.dwProcessId);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    } while ((watched.empty() || !live.empty()) && GetTickCount() - start < timeoutMilliseconds + 10000);
    return watched;
}
