// Drives a GUI program of the prefix from outside and prints what it measured, one "key value"
// line each, for bench/run_bench.py. Lines are flushed as they happen: the driver on the Linux
// side samples the program's processor time when "press" arrives.
//
//   gui_bench start <exe> <window class>        process start to its window being visible
//   gui_bench install <exe> <drive> [memory]    press on "安装" to the outcome's message box;
//                                               with "memory", the installer's memory sampled too
#include "gui_driver.h"
#include "installer_driver.h"
#include "owners.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const char kInstallerClass[] = "KorvexaInstallerWindow";
const char kInstallerTitle[] = "Korvexa商城客户端安装程序";
const char kSuccess[] = "恭喜，安装成功！";

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double MillisecondsSince(LARGE_INTEGER from)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(Now().QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Say(const char* format, double value)
{
    std::printf(format, value);
    std::fflush(stdout);
}

// A visible top-level window of that class and process. FindWindowEx walks only the windows of
// that class, so polling it every millisecond sends no message to the program and costs the
// server little while the program works.
HWND VisibleWindowOf(DWORD processId, const char* className)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExA(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

template <typename Poll>
HWND PollForWindow(const StartedProgram& program, const char* className, DWORD timeoutMs, Poll poll)
{
    const DWORD start = GetTickCount();
    do {
        if (HWND window = VisibleWindowOf(program.processId, className))
            return window;
        if (WaitForSingleObject(program.process.Get(), 0) == WAIT_OBJECT_0)
            return nullptr;
        poll();
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND WaitVisible(const StartedProgram& program, const char* className, DWORD timeoutMs)
{
    return PollForWindow(program, className, timeoutMs, [] { Sleep(1); });
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

int EndProgram(StartedProgram& program, HWND window)
{
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = WaitForExitCode(program, 10000);
    if (code == STILL_ACTIVE)
        TerminateProcess(program.process.Get(), 1);
    std::printf("exit %lu\n", static_cast<unsigned long>(code));
    return code == 0 ? 0 : 1;
}

int MeasureStart(const std::string& exe, const char* className)
{
    const LARGE_INTEGER start = Now();
    StartedProgram program = StartProgram(exe, FolderOf(exe));
    if (!program.process) {
        std::printf("error cannot start %s\n", exe.c_str());
        return 1;
    }
    HWND window = WaitVisible(program, className, 20000);
    if (!window) {
        std::printf("error no window\n");
        return EndProgram(program, nullptr) | 1;
    }
    Say("visible %.2f\n", MillisecondsSince(start));
    // Let it finish painting before it is closed, so that each run ends the same way.
    Sleep(200);
    return EndProgram(program, window);
}

// Committed private memory of another process, summed over its address space. Wine answers
// PrivateUsage with 0, so this is the figure for private bytes there. Each call walks a few
// hundred regions and makes the program answer each query, so it runs only when memory is asked for.
std::size_t CommittedPrivateBytes(HANDLE process)
{
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* at = nullptr;
    while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region && region.RegionSize > 0) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

PROCESS_MEMORY_COUNTERS_EX Counters(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

struct MemoryPeaks {
    std::size_t committedPrivate = 0;
    std::size_t privateUsage = 0;
    std::size_t pagefileUsage = 0;

    void Sample(HANDLE process)
    {
        committedPrivate = std::max<std::size_t>(committedPrivate, CommittedPrivateBytes(process));
        const PROCESS_MEMORY_COUNTERS_EX counters = Counters(process);
        privateUsage = std::max<std::size_t>(privateUsage, counters.PrivateUsage);
        pagefileUsage = std::max<std::size_t>(pagefileUsage, counters.PagefileUsage);
    }
};

// No earlier installation recorded; its files and shortcuts are removed by the caller.
void ForgetInstallation()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Korvexa商城");
}

int MeasureInstall(const std::string& exe, char drive, bool memory)
{
    ForgetInstallation();
    StartedProgram program = StartProgram(exe, FolderOf(exe));
    HWND window = program.process ? WaitVisible(program, kInstallerClass, 20000) : nullptr;
    if (!window || WindowText(window) != kInstallerTitle) {
        std::printf("error no installer window\n");
        return program.process ? EndProgram(program, window) | 1 : 1;
    }
    std::printf("window\n");
    ChooseDrive(window, drive);
    Sleep(500); // the window idle, as a user looks at it

    MemoryPeaks idle;
    if (memory) {
        idle.Sample(program.process.Get());
        const PROCESS_MEMORY_COUNTERS_EX counters = Counters(program.process.Get());
        std::printf("idle-working-set %lu\n", static_cast<unsigned long>(counters.WorkingSetSize));
        std::printf("idle-committed-private %lu\n", static_cast<unsigned long>(idle.committedPrivate));
        std::printf("idle-private-usage %lu\n", static_cast<unsigned long>(idle.privateUsage));
        std::printf("idle-pagefile-usage %lu\n", static_cast<unsigned long>(idle.pagefileUsage));
    }

    HWND install = ChildAt(window, 288, 192);
    std::printf("press\n");
    std::fflush(stdout);
    const LARGE_INTEGER pressed = Now();
    PostMessageA(install, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 14));
    PostMessageA(install, WM_LBUTTONUP, 0, MAKELPARAM(24, 14));

    MemoryPeaks peaks;
    HWND box = PollForWindow(program, "#32770", 120000, [&] {
        if (memory)
            peaks.Sample(program.process.Get());
        else
            Sleep(1);
    });
    if (!box) {
        std::printf("error no message box\n");
        return EndProgram(program, nullptr) | 1;
    }
    Say("box %.2f\n", MillisecondsSince(pressed));
    std::printf("success %d\n", ReadMessageBox(box).text == kSuccess ? 1 : 0);
    if (memory) {
        peaks.Sample(program.process.Get());
        const PROCESS_MEMORY_COUNTERS_EX counters = Counters(program.process.Get());
        std::printf("peak-working-set %lu\n", static_cast<unsigned long>(counters.PeakWorkingSetSize));
        std::printf("peak-committed-private %lu\n", static_cast<unsigned long>(peaks.committedPrivate));
        std::printf("peak-private-usage %lu\n", static_cast<unsigned long>(peaks.privateUsage));
        std::printf("peak-pagefile-usage %lu\n", static_cast<unsigned long>(peaks.pagefileUsage));
    }
    std::fflush(stdout);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return EndProgram(program, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "start" && argc == 4)
        return MeasureStart(argv[2], argv[3]);
    if (mode == "install" && (argc == 4 || argc == 5))
        return MeasureInstall(argv[2], argv[3][0], argc == 5 && std::string(argv[4]) == "memory");
    std::fprintf(stderr, "usage: gui_bench start <exe> <window class> | install <exe> <drive> [memory]\n");
    return 2;
}
