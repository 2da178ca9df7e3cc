// Running-client shutdown: the stop commands it starts and the pause that dispatches messages.
#include "client_shutdown.h"

#include "test_processes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <thread>

namespace {

// The probe runs StopRunningClients from a folder that also holds planted cmd.exe and
// taskkill.exe; every process it starts is watched, however short it lives.
class StopRunningClientsTest : public ::testing::Test {
protected:
    StopRunningClientsTest() : folder_(BuildFolder() + "\\scratch\\stop_clients")
    {
        probe_ = CopyInto(OperationProbePath(), folder_.Path(), "probe.exe");
        CopyInto(DemoClientPath(), folder_.Path(), "cmd.exe");
        CopyInto(DemoClientPath(), folder_.Path(), "taskkill.exe");
    }
    ~StopRunningClientsTest() override { EndProcessesIn(folder_.Path()); }

    std::string Client(const std::string& name) { return CopyInto(DemoClientPath(), folder_.Path(), name); }
    std::vector<WatchedProcess> Run() { return RunWatched(probe_, "probe.exe stop-clients", folder_.Path(), 60000); }

    ScratchFolder folder_;
    std::string probe_;
};

TEST_F(StopRunningClientsTest, StartsTwoHiddenStopCommandsPerMatchingProcessThenPauses)
{
    std::string orlandex = Client("Orlandex.exe");
    RunningProgram orlandex1(orlandex);
    RunningProgram orlandex2(orlandex);
    RunningProgram quotes(Client("veskoQTRN.EXE"));
    RunningProgram nearMiss(Client("xPravolt.exe"));
    ASSERT_TRUE(orlandex1.Started() && orlandex2.Started() && quotes.Started() && nearMiss.Started());

    std::vector<WatchedProcess> run = Run();

    ASSERT_FALSE(run.empty());
    const WatchedProcess& probe = run[0];
    EXPECT_GT(probe.exitCode, 2000u) << "milliseconds StopRunningClients took";
    std::vector<std::string> commands;
    std::vector<DWORD> interpreters;
    for (const WatchedProcess& p : run) {
        if (p.parentProcessId != probe.processId)
            continue;
        EXPECT_TRUE(SamePath(p.imagePath, SystemFolder() + "\\cmd.exe")) << Utf8(p.imagePath);
        EXPECT_EQ(p.startupFlags & STARTF_USESHOWWINDOW, static_cast<DWORD>(STARTF_USESHOWWINDOW));
        EXPECT_EQ(p.showWindow, static_cast<DWORD>(SW_HIDE));
        commands.push_back(p.commandLine);
        interpreters.push_back(p.processId);
    }
    std::sort(commands.begin(), commands.end());
    std::vector<std::string> expected = {
        "cmd /c taskkill /im Orlandex.exe /f", "cmd /c taskkill /im Orlandex.exe /f",
        "cmd /c taskkill /im Orlandex.exe /f", "cmd /c taskkill /im Orlandex.exe /f",
        "cmd /c taskkill /im veskoQTRN.EXE /f", "cmd /c taskkill /im veskoQTRN.EXE /f",
    };
    EXPECT_EQ(commands, expected);
    int taskkills = 0;
    for (const WatchedProcess& p : run) {
        if (std::find(interpreters.begin(), interpreters.end(), p.parentProcessId) == interpreters.end())
            continue;
        EXPECT_TRUE(SamePath(p.imagePath, SystemFolder() + "\\taskkill.exe")) << Utf8(p.imagePath);
        ++taskkills;
    }
    EXPECT_EQ(taskkills, 6);

    EXPECT_TRUE(orlandex1.WaitForEnd(20000));
    EXPECT_TRUE(orlandex2.WaitForEnd(20000));
    EXPECT_TRUE(quotes.WaitForEnd(20000));
    EXPECT_TRUE(nearMiss.IsRunning());
}

TEST_F(StopRunningClientsTest, WithNoClientRunningStartsNothingAndStillPauses)
{
    RunningProgram nearMiss(Client("Pravolt.exe.exe"));
    ASSERT_TRUE(nearMiss.Started());

    std::vector<WatchedProcess> run = Run();

    ASSERT_EQ(run.size(), 1u) << "only the probe itself";
    EXPECT_GT(run[0].exitCode, 2000u);
    EXPECT_TRUE(nearMiss.IsRunning());
}

// A window of the test thread that notes which messages reached it during the pause.
class PauseDispatchingTest : public ::testing::Test {
protected:
    static constexpr UINT kProbeMessage = WM_APP + 1;
    static constexpr UINT kCloseMessage = WM_APP + 2;

    void SetUp() override
    {
        current = this;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PauseDispatchingTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "pause", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        button_ = CreateWindowExA(0, "BUTTON", "ok", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 50, 20, window_,
                                  nullptr, windowClass.hInstance, nullptr);
        ASSERT_TRUE(window_ && button_);
        ShowWindow(window_, SW_SHOW);
        DrainMessages();
    }

    void TearDown() override
    {
        if (IsWindow(window_))
            DestroyWindow(window_);
        DrainMessages();
        current = nullptr;
    }

    static void DrainMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    // Posts message to the window from another thread after delay milliseconds.
    std::thread PostLater(DWORD delay, HWND target, UINT message, WPARAM wParam = 0)
    {
        return std::thread([=] {
            Sleep(delay);
            PostMessageA(target, message, wParam, 0);
        });
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        PauseDispatchingTest* test = current;
        if (test && message == kProbeMessage) {
            test->probeSeenDuringPause_ = test->pausing_;
            test->probeDispatchedAt_ = GetTickCount();
            return 0;
        }
        if (test && message == kCloseMessage) {
            DestroyWindow(window);
            return 0;
        }
        if (test && message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            test->cancelSeen_ = true;
            DestroyWindow(window); // as the installer window does on Esc
            return 0;
        }
        if (test && message == WM_DESTROY && window == test->window_) {
            PostQuitMessage(test->quitCode_);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    bool Pause(int milliseconds)
    {
        pausing_ = true;
        bool finished = PauseDispatching(milliseconds);
        pausing_ = false;
        return finished;
    }

    // Takes the quit message that the pause must have left; its exit code, or -1 without one.
    static int TakeQuitMessage()
    {
        MSG message;
        if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            return -1;
        return static_cast<int>(message.wParam);
    }

    static PauseDispatchingTest* current;
    HWND window_ = nullptr;
    HWND button_ = nullptr;
    bool pausing_ = false;
    bool probeSeenDuringPause_ = false;
    DWORD probeDispatchedAt_ = 0;
    bool cancelSeen_ = false;
    int quitCode_ = 5;
};

PauseDispatchingTest* PauseDispatchingTest::current = nullptr;

TEST_F(PauseDispatchingTest, LastsMoreThanTheTimeAndDispatchesMessagesPostedMeanwhile)
{
    std::thread poster = PostLater(500, window_, kProbeMessage);
    DWORD start = GetTickCount();
    bool finished = Pause(2000);
    DWORD passed = GetTickCount() - start;
    poster.join();

    EXPECT_TRUE(finished);
    EXPECT_GT(passed, 2000u);
    EXPECT_TRUE(probeSeenDuringPause_);
    // Handled while the pause still ran, not saved up for its end: the window stays responsive.
    EXPECT_LT(probeDispatchedAt_ - start, 2000u);
    EXPECT_EQ(TakeQuitMessage(), -1);
}

TEST_F(PauseDispatchingTest, DispatchesWhatWasAlreadyWaiting)
{
    PostMessageA(window_, kProbeMessage, 0, 0);
    EXPECT_TRUE(Pause(50));
    EXPECT_TRUE(probeSeenDuringPause_);
}

TEST_F(PauseDispatchingTest, ZeroOrLessReturnsAtOnceWithoutDispatching)
{
    for (int milliseconds : {0, -1, INT_MIN}) {
        PostMessageA(window_, kProbeMessage, 0, 0);
        EXPECT_TRUE(Pause(milliseconds)) << milliseconds;
        EXPECT_FALSE(probeSeenDuringPause_) << milliseconds;
        DrainMessages();
    }
}

// The window closing during the pause: the pause ends, and the quit message waits for the
// message loop with its exit code.
TEST_F(PauseDispatchingTest, StopsWhenTheWindowClosesAndLeavesTheQuitMessage)
{
    quitCode_ = 9;
    std::thread poster = PostLater(300, window_, kCloseMessage);
    bool finished = Pause(2000);
    poster.join();

    EXPECT_FALSE(finished);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(TakeQuitMessage(), 9);
}

TEST_F(PauseDispatchingTest, EscOnAControlReachesTheWindowAsCancel)
{
    quitCode_ = 9;
    std::thread poster = PostLater(300, button_, WM_KEYDOWN, VK_ESCAPE);
    bool finished = Pause(2000);
    poster.join();

    EXPECT_TRUE(cancelSeen_);
    EXPECT_FALSE(finished);
    EXPECT_EQ(TakeQuitMessage(), 9);
}

TEST_F(PauseDispatchingTest, MessagesBeforeAWaitingQuitAreStillDispatched)
{
    PostMessageA(window_, kProbeMessage, 0, 0);
    PostQuitMessage(3);

    EXPECT_FALSE(Pause(2000));
    EXPECT_TRUE(probeSeenDuringPause_);
    EXPECT_EQ(TakeQuitMessage(), 3);
}

} // namespace
