// The process list, the client program names and the hidden start of system commands.
#include "processes.h"

#include "test_processes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <iterator>

namespace {

const ProcessRecord* FindRecord(const std::vector<ProcessRecord>& records, DWORD processId)
{
    auto found = std::find_if(records.begin(), records.end(),
                              [processId](const ProcessRecord& r) { return r.processId == processId; });
    return found == records.end() ? nullptr : &*found;
}

TEST(ListProcessesTest, ListsStartedProgramsWithNameParentAndThreads)
{
    ScratchFolder folder(BuildFolder() + "\\scratch\\list_processes");
    RunningProgram client(CopyInto(DemoClientPath(), folder.Path(), "Pravolt.exe"));
    RunningProgram chinese(CopyInto(DemoClientPath(), folder.Path(), "行情客户端.exe"));
    ASSERT_TRUE(client.Started());
    ASSERT_TRUE(chinese.Started());

    std::vector<ProcessRecord> records = ListProcesses();

    const ProcessRecord* record = FindRecord(records, client.ProcessId());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->exeName, "Pravolt.exe");
    EXPECT_EQ(record->parentProcessId, GetCurrentProcessId());
    EXPECT_GE(record->threadCount, 1u);
    record = FindRecord(records, chinese.ProcessId());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->exeName, "行情客户端.exe") << Utf8(record->exeName);
    record = FindRecord(records, GetCurrentProcessId());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->exeName, "common_processes_test.exe");
}

// Every snapshot and every started process's handles are closed again.
// Every process that the system's own enumeration reports before and after is in the list.
TEST(ListProcessesTest, ListsEveryProcessTheSystemEnumerates)
{
    auto Enumerated = [] {
        std::vector<DWORD> ids(4096);
        DWORD bytes = 0;
        EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes);
        ids.resize(bytes / sizeof(DWORD));
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    std::vector<DWORD> before = Enumerated();
    std::vector<ProcessRecord> records = ListProcesses();
    std::vector<DWORD> after = Enumerated();
    std::vector<DWORD> steady;
    std::set_intersection(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(steady));

    ASSERT_GT(steady.size(), 1u);
    for (DWORD id : steady)
        EXPECT_NE(FindRecord(records, id), nullptr) << id;
}

TEST(ProcessHandlesTest, ListingAndStartingLeaveNoHandleOpen)
{
    int before = OpenHandleCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 20; ++i)
        ListProcesses();
    EXPECT_EQ(OpenHandleCount(), before) << "snapshots";
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(StartHiddenSystemCommand("cmd /c exit 0", CommandFolder::System));
    EXPECT_EQ(OpenHandleCount(), before) << "processes and threads";
}

TEST(IsClientProcessNameTest, MatchesTheFourNamesInAnyAsciiCaseAndNothingElse)
{
    struct Case {
        std::string name;
        bool matches;
    } cases[] = {
        {"Pravolt.exe", true},
        {"Senvique.exe", true},
        {"Orlandex.exe", true},
        {"Veskoqtrn.exe", true},
        {"PRAVOLT.EXE", true},
        {"veskoQTRN.EXE", true},
        {"sENVIQUE.exE", true},
        {"", false},
        {"xPravolt.exe", false},
        {"Pravolt.exe ", false},
        {"Pravolt.ex", false},
        {"Pravolt", false},
        {"Orlandex.exe.exe", false},
        {"C:\\Trade\\Orlandex.exe", false},
        {"Pravolt商.exe", false},
        {"Pravolt.exe\xB1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsClientProcessName(c.name), c.matches) << Utf8(c.name);
}

// A planted cmd.exe or taskkill.exe in the current directory must not run in place of the
// system's: the real pair stops the marker program, the planted ones would keep running.
TEST(StartHiddenSystemCommandTest, IgnoresProgramsPlantedInTheCurrentDirectory)
{
    ScratchFolder folder(BuildFolder() + "\\scratch\\planted_current");
    CopyInto(DemoClientPath(), folder.Path(), "cmd.exe");
    CopyInto(DemoClientPath(), folder.Path(), "taskkill.exe");
    RunningProgram marker(CopyInto(DemoClientPath(), folder.Path(), "Marker7.exe"));
    ASSERT_TRUE(marker.Started());
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    bool started = StartHiddenSystemCommand("cmd /c taskkill /im Marker7.exe /f", CommandFolder::System);
    bool markerEnded = marker.WaitForEnd(20000);
    SetCurrentDirectoryA(previous);

    EXPECT_TRUE(started);
    EXPECT_TRUE(markerEnded);
    EXPECT_EQ(EndProcessesIn(folder.Path()), 0) << "a planted program ran";
}

// The probe, copied next to planted cmd.exe and taskkill.exe, starts one command from that
// folder as its current directory, as the installer runs from its download folder.
class WatchedCommandTest : public ::testing::Test {
protected:
    WatchedCommandTest() : folder_(BuildFolder() + "\\scratch\\planted_beside")
    {
        probe_ = CopyInto(OperationProbePath(), folder_.Path(), "probe.exe");
        CopyInto(DemoClientPath(), folder_.Path(), "cmd.exe");
        CopyInto(DemoClientPath(), folder_.Path(), "taskkill.exe");
    }
    ~WatchedCommandTest() override { EndProcessesIn(folder_.Path()); }

    std::vector<WatchedProcess> Run(const std::string& operation, const std::string& line)
    {
        return RunWatched(probe_, "probe.exe " + operation + " \"" + line + "\"", folder_.Path(), 30000);
    }

    ScratchFolder folder_;
    std::string probe_;
};

TEST_F(WatchedCommandTest, StartsTheSystemInterpreterHiddenWithTheLineUnchanged)
{
    std::vector<WatchedProcess> run = Run("system-command", "cmd /c taskkill /im NoSuchProgram.exe /f");

    ASSERT_EQ(run.size(), 3u) << "probe, cmd, taskkill";
    const WatchedProcess& probe = run[0];
    const WatchedProcess& interpreter = run[1];
    const WatchedProcess& taskkill = run[2];
    EXPECT_EQ(probe.exitCode, 1u) << "started";
    EXPECT_TRUE(SamePath(interpreter.imagePath, SystemFolder() + "\\cmd.exe")) << Utf8(interpreter.imagePath);
    EXPECT_EQ(interpreter.parentProcessId, probe.processId);
    EXPECT_EQ(interpreter.commandLine, "cmd /c taskkill /im NoSuchProgram.exe /f");
    EXPECT_EQ(interpreter.startupFlags & STARTF_USESHOWWINDOW, static_cast<DWORD>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(interpreter.showWindow, static_cast<DWORD>(SW_HIDE));
    EXPECT_TRUE(SamePath(interpreter.currentFolder, SystemFolder())) << Utf8(interpreter.currentFolder);
    EXPECT_TRUE(SamePath(taskkill.imagePath, SystemFolder() + "\\taskkill.exe")) << Utf8(taskkill.imagePath);
    EXPECT_EQ(taskkill.parentProcessId, interpreter.processId);
    EXPECT_EQ(taskkill.exitCode, 128u) << "nothing to stop";
    for (const WatchedProcess& process : run)
        EXPECT_TRUE(process.ended) << Utf8(process.imagePath);
}

// A line that names a file relative to the current directory works there, and only there.
TEST_F(WatchedCommandTest, RunsInTheFolderItIsTold)
{
    struct Case {
        const char* operation;
        bool victimDeleted;
    } cases[] = {
        {"current-command", true},
        {"system-command", false},
    };
    for (const Case& c : cases) {
        std::string victim = folder_.Path() + "\\victim.txt";
        ASSERT_TRUE(WriteTextFile(victim, "x"));
        SetFileAttributesA(victim.c_str(), FILE_ATTRIBUTE_READONLY);

        std::vector<WatchedProcess> run = Run(c.operation, "cmd.exe /c del /f /a victim.txt");

        ASSERT_EQ(run.size(), 2u) << c.operation;
        EXPECT_TRUE(SamePath(run[1].imagePath, SystemFolder() + "\\cmd.exe")) << c.operation;
        EXPECT_EQ(run[1].commandLine, "cmd.exe /c del /f /a victim.txt") << c.operation;
        EXPECT_EQ(GetFileAttributesA(victim.c_str()) == INVALID_FILE_ATTRIBUTES, c.victimDeleted) << c.operation;
        SetFileAttributesA(victim.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(victim.c_str());
    }
}

} // namespace
