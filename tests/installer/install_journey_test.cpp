// Installing as a user does: the real installer started under Wine, a drive chosen, the left
// button pressed on "安装", the message box answered; then the files, the registry, the
// shortcuts and the settings file read from outside.
#include "gui_driver.h"
#include "installer_driver.h"
#include "link_reader.h"
#include "test_processes.h"
#include "test_support.h"

#include "owners.h"

#include <shlobj.h>
#include <unzip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

namespace {

const ::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

const std::string kTitle = "Korvexa商城客户端安装程序";
const std::string kSuccess = "恭喜，安装成功！";
const std::string kFailure = "抱歉，安装失败！请重新安装！";

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

std::string DemoArchivePath()
{
    return BuildFolder() + "\\payload\\demo\\client_archive.zip";
}

// Entry name (with backslashes) to content, or to nullopt for a folder entry, read with minizip.
std::map<std::string, std::optional<std::string>> ArchiveEntries(const std::string& archivePath)
{
    std::map<std::string, std::optional<std::string>> entries;
    unzFile archive = unzOpen64(archivePath.c_str());
    if (!archive)
        return entries;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        char name[512] = {};
        unz_file_info64 info{};
        unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        std::string windowsName = name;
        for (char& c : windowsName)
            if (c == '/')
                c = '\\';
        if (!windowsName.empty() && windowsName.back() == '\\') {
            windowsName.pop_back();
            entries[windowsName] = std::nullopt;
            continue;
        }
        std::string content(static_cast<std::size_t>(info.uncompressed_size), '\0');
        unzOpenCurrentFile(archive);
        if (!content.empty())
            unzReadCurrentFile(archive, content.data(), static_cast<unsigned>(content.size()));
        unzCloseCurrentFile(archive);
        entries[windowsName] = std::move(content);
    }
    unzClose(archive);
    return entries;
}

std::string IniValue(const std::string& file, const char* key)
{
    char value[512] = {};
    GetPrivateProfileStringA("ICONFIG", key, "(missing)", value, sizeof value, file.c_str());
    return value;
}

class InstallJourneyTest : public ::testing::Test {
protected:
    void SetUp() override { ResetMachine(); }
    void TearDown() override
    {
        if (program_.process && WaitForExitCode(program_, 0) == STILL_ACTIVE)
            TerminateProcess(program_.process.Get(), 1);
        ResetMachine();
    }

    // No installation anywhere: no install folders, shortcuts or registry value.
    void ResetMachine()
    {
        ClearInstallDriveValue();
        for (const char* drive : {"C", "D", "E"})
            DeleteTree(std::string(drive) + ":\\Korvexa商城");
        DeleteFileA((desktop_ + "Korvexa行情分析系统.lnk").c_str());
        DeleteFileA((desktop_ + "Korvexa商城.lnk").c_str());
        DeleteTree(startMenu_);
        DeleteTree(downloads_);
    }

    // The installer as a user downloaded it.
    std::string InstallerCopy()
    {
        CreateDirectoryA(downloads_.c_str(), nullptr);
        const std::string copy = downloads_ + "\\KorvexaSetup.exe";
        CopyFileA(InstallerExePath().c_str(), copy.c_str(), FALSE);
        return copy;
    }

    HWND StartInstaller()
    {
        program_ = StartProgram(InstallerCopy(), "C:\\");
        return program_.process ? WaitForWindow(program_.processId, kTitle) : nullptr;
    }

    // Waits for the outcome's message box, checks its look and answers it with OK.
    std::string AnswerNotice(HWND window) { return AnswerNoticeOf(program_.processId, window); }

    static std::string AnswerNoticeOf(DWORD processId, HWND window)
    {
        HWND box = WaitForMessageBox(processId, 120000);
        if (!box)
            return "(no message box)";
        MessageBoxTexts texts = ReadMessageBox(box);
        EXPECT_EQ(texts.caption, "提示：");
        EXPECT_EQ(GetWindow(box, GW_OWNER), window);
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr); // OK only
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return texts.text;
    }

    // Everything a successful installation on the drive leaves, checked from outside.
    void ExpectInstalledOn(char drive)
    {
        const std::string folder = std::string(1, drive) + ":\\Korvexa商城";
        const std::string archive = ReadWholeFile(DemoArchivePath());
        ASSERT_FALSE(archive.empty());
        EXPECT_TRUE(ReadWholeFile(folder + "\\QTRN客户端资源.zip") == archive) << "archive file kept";
        EXPECT_TRUE(ReadWholeFile(folder + "\\qtrnUninstall.exe") == ReadWholeFile(UninstallerExePath()));

        auto entries = ArchiveEntries(DemoArchivePath());
        ASSERT_EQ(entries.size(), 174u);
        for (const auto& [name, content] : entries) {
            const std::string path = folder + "\\" + name;
            if (!content) {
                EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << Utf8(path);
            } else if (name != "DQ\\ICONFIG.INI") {
                EXPECT_TRUE(ReadWholeFile(path) == *content) << Utf8(path);
            }
        }

        const std::string ini = folder + "\\DQ\\ICONFIG.INI";
        EXPECT_EQ(IniValue(ini, "ORDER"), folder + "\\Trade\\Pravolt-trade\\Pravolt.exe");
        EXPECT_EQ(IniValue(ini, "BASEPATH"), folder + "\\DQ");
        EXPECT_EQ(IniValue(ini, "ALERT"), folder + "\\DQ\\USERS\\ALERT.WAV");
        // Every other line of the settings file is as the archive delivered it.
        std::string original = *entries.at("DQ\\ICONFIG.INI");
        std::string written = ReadWholeFile(ini);
        // Wine rewrites the whole file and drops its blank lines (Windows keeps them), so they
        // are left out of the comparison.
        for (std::string* text : {&original, &written}) {
            for (const char* key : {"ORDER=", "BASEPATH=", "ALERT="}) {
                std::size_t at = text->find(std::string("\n") + key);
                if (at != std::string::npos)
                    text->erase(at + 1, text->find('\n', at + 1) - at);
            }
            for (std::size_t at; (at = text->find("\r\n\r\n")) != std::string::npos;)
                text->erase(at, 2);
        }
        EXPECT_EQ(written, original);

        EXPECT_EQ(RegistryDrive(), std::string(1, drive));

        struct Link {
            std::string file;
            std::string target;
            std::string workingDirectory;
            std::string description;
        } links[] = {
            {desktop_ + "Korvexa行情分析系统.lnk", folder + "\\DQ\\Veskoqtrn.exe", folder + "\\DQ\\", "Dunmere行情"},
            {desktop_ + "Korvexa商城.lnk", folder + "\\Trade\\Pravolt-trade\\Pravolt.exe", folder + "\\Trade\\Pravolt-trade\\", "Korvexa商城"},
            {startMenu_ + "\\Korvexa行情分析系统.lnk", folder + "\\DQ\\Veskoqtrn.exe", folder + "\\DQ", "Dunmere行情"},
            {startMenu_ + "\\Korvexa商城.lnk", folder + "\\Trade\\Pravolt-trade\\Pravolt.exe", folder + "\\Trade\\Pravolt-trade\\", "Korvexa商城"},
            {startMenu_ + "\\卸载.lnk", folder + "\\qtrnUninstall.exe", folder, "卸载客户端"},
        };
        for (const Link& link : links) {
            std::optional<LinkFields> fields = ReadLink(link.file);
            ASSERT_TRUE(fields) << Utf8(link.file);
            EXPECT_EQ(fields->path, link.target) << Utf8(link.file);
            EXPECT_EQ(fields->workingDirectory, link.workingDirectory) << Utf8(link.file);
            EXPECT_EQ(fields->description, link.description) << Utf8(link.file);
        }
    }

    static std::string RegistryDrive()
    {
        char data[64] = {};
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, "Korvexa商城", "安装目录", RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
            return "(none)";
        return type == REG_SZ ? std::string(data) : "(not REG_SZ)";
    }

    // Runs one installation on the drive and gives the message shown.
    std::string InstallOn(char drive)
    {
        HWND window = StartInstaller();
        if (!window)
            return "(no window)";
        ChooseDrive(window, drive);
        PressInstall(window);
        return AnswerNotice(window);
    }

    const std::string desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string startMenu_ = ShellFolder(CSIDL_PROGRAMS) + "Korvexa商城";
    const std::string downloads_ = "C:\\Downloads";
    StartedProgram program_;
};

TEST_F(InstallJourneyTest, FreshInstallation)
{
    EXPECT_EQ(Utf8(InstallOn('D')), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    ExpectInstalledOn('D');
}

TEST_F(InstallJourneyTest, ReinstallOnTheRecordedDriveRefillsTheFolder)
{
    ASSERT_EQ(Utf8(InstallOn('E')), Utf8(kSuccess));
    ASSERT_EQ(WaitForExitCode(program_), 0u);
    // Left-overs of the old installation: a stray file, and a read-only client file.
    ASSERT_TRUE(WriteTextFile("E:\\Korvexa商城\\DQ\\stale.dat", "old"));
    SetFileAttributesA("E:\\Korvexa商城\\DQ\\Veskoqtrn.exe", FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(Utf8(InstallOn('E')), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    EXPECT_EQ(GetFileAttributesA("E:\\Korvexa商城\\DQ\\stale.dat"), INVALID_FILE_ATTRIBUTES) << "old folder removed";
    ExpectInstalledOn('E');
}

TEST_F(InstallJourneyTest, OtherDriveRemovesTheRecordedFolderOnlyWhenTheTargetExists)
{
    ASSERT_EQ(Utf8(InstallOn('D')), Utf8(kSuccess));
    ASSERT_EQ(WaitForExitCode(program_), 0u);

    // E:\Korvexa商城 absent: the installation on D stays.
    EXPECT_EQ(Utf8(InstallOn('E')), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    EXPECT_NE(GetFileAttributesA("D:\\Korvexa商城\\DQ\\Veskoqtrn.exe"), INVALID_FILE_ATTRIBUTES);
    ExpectInstalledOn('E');

    // Recorded E, C chosen with C:\Korvexa商城 present: E's folder goes, C's stays and is filled.
    ASSERT_TRUE(CreateDirectoryA("C:\\Korvexa商城", nullptr));
    ASSERT_TRUE(WriteTextFile("C:\\Korvexa商城\\notes.txt", "mine"));
    EXPECT_EQ(Utf8(InstallOn('C')), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    EXPECT_EQ(GetFileAttributesA("E:\\Korvexa商城"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadWholeFile("C:\\Korvexa商城\\notes.txt"), "mine");
    ExpectInstalledOn('C');
}

TEST_F(InstallJourneyTest, DoubleClickInstallsOnce)
{
    HWND window = StartInstaller();
    ASSERT_NE(window, nullptr);
    ChooseDrive(window, 'D');
    HWND install = ChildAt(window, 288, 192);
    PostMessageA(install, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 14));
    PostMessageA(install, WM_LBUTTONUP, 0, MAKELPARAM(24, 14));
    PostMessageA(install, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(24, 14));
    PostMessageA(install, WM_LBUTTONUP, 0, MAKELPARAM(24, 14));
    EXPECT_EQ(Utf8(AnswerNotice(window)), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
}

TEST_F(InstallJourneyTest, RightButtonDoesNothing)
{
    HWND window = StartInstaller();
    ASSERT_NE(window, nullptr);
    HWND install = ChildAt(window, 288, 192);
    PostMessageA(install, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(24, 14));
    PostMessageA(install, WM_RBUTTONUP, 0, MAKELPARAM(24, 14));
    EXPECT_EQ(WaitForMessageBox(program_.processId, 3000), nullptr);
    EXPECT_EQ(GetFileAttributesA("C:\\Korvexa商城"), INVALID_FILE_ATTRIBUTES);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExitCode(program_), 0u);
}

TEST_F(InstallJourneyTest, ClosingDuringThePauseInstallsNothing)
{
    HWND window = StartInstaller();
    ASSERT_NE(window, nullptr);
    ChooseDrive(window, 'D');
    PressInstall(window);
    Sleep(500);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    EXPECT_EQ(GetFileAttributesA("D:\\Korvexa商城"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryDrive(), "(none)");
}

TEST_F(InstallJourneyTest, FullDriveFailsThenAnotherDriveSucceeds)
{
    if (GetDriveTypeA("H:\\") != DRIVE_FIXED)
        GTEST_SKIP() << "no full drive H: (mounting a small tmpfs needs root)";
    HWND window = StartInstaller();
    ASSERT_NE(window, nullptr);

    ChooseDrive(window, 'H');
    PressInstall(window);
    EXPECT_EQ(Utf8(AnswerNotice(window)), Utf8(kFailure));
    // The window stays, nothing is recorded and no shortcut is made.
    EXPECT_EQ(WaitForExitCode(program_, 1000), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(RegistryDrive(), "(none)");
    EXPECT_FALSE(FileExists(desktop_ + "Korvexa行情分析系统.lnk"));
    EXPECT_FALSE(FileExists(desktop_ + "Korvexa商城.lnk"));
    EXPECT_FALSE(FileExists(startMenu_));
    DeleteTree("H:\\Korvexa商城");

    ChooseDrive(window, 'D');
    PressInstall(window);
    EXPECT_EQ(Utf8(AnswerNotice(window)), Utf8(kSuccess));
    EXPECT_EQ(WaitForExitCode(program_), 0u);
    ExpectInstalledOn('D');
}

TEST_F(InstallJourneyTest, RunningClientsAreStoppedBeforeInstalling)
{
    ScratchFolder clients("E:\\running-clients");
    const std::string orlandex = CopyInto(DemoClientPath(), clients.Path(), "Orlandex.exe");
    RunningProgram orlandex1(orlandex);
    RunningProgram orlandex2(orlandex);
    RunningProgram quotes(CopyInto(DemoClientPath(), clients.Path(), "Veskoqtrn.exe"));
    RunningProgram other(CopyInto(DemoClientPath(), clients.Path(), "Orlandex2.exe"));
    ASSERT_TRUE(orlandex1.Started() && orlandex2.Started() && quotes.Started() && other.Started());

    // The installer runs watched, so that every process it starts is seen, however short-lived.
    std::vector<WatchedProcess> run;
    const std::string installer = InstallerCopy();
    std::thread watcher([&] { run = RunWatched(installer, "\"" + installer + "\"", "C:\\", 120000); });
    HWND window = nullptr;
    for (int i = 0; i < 400 && !window; ++i, Sleep(50))
        window = FindWindowA(nullptr, kTitle.c_str());
    if (window) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        ChooseDrive(window, 'D');
        PressInstall(window);
        EXPECT_EQ(Utf8(AnswerNoticeOf(processId, window)), Utf8(kSuccess));
    }
    watcher.join();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(run.empty());

    std::vector<std::string> stopCommands;
    for (const WatchedProcess& p : run) {
        if (p.parentProcessId != run[0].processId)
            continue;
        EXPECT_TRUE(SamePath(p.imagePath, SystemFolder() + "\\cmd.exe")) << Utf8(p.imagePath);
        EXPECT_EQ(p.showWindow, static_cast<DWORD>(SW_HIDE));
        stopCommands.push_back(p.commandLine);
    }
    std::sort(stopCommands.begin(), stopCommands.end());
    std::vector<std::string> expected(4, "cmd /c taskkill /im Orlandex.exe /f");
    expected.insert(expected.end(), 2, "cmd /c taskkill /im Veskoqtrn.exe /f");
    EXPECT_EQ(stopCommands, expected);
    EXPECT_EQ(run[0].exitCode, 0u);

    EXPECT_TRUE(orlandex1.WaitForEnd(10000));
    EXPECT_TRUE(orlandex2.WaitForEnd(10000));
    EXPECT_TRUE(quotes.WaitForEnd(10000));
    EXPECT_TRUE(other.IsRunning());
    ExpectInstalledOn('D');
}

} // namespace
