// Uninstalling as a user does: the uninstaller a real installation wrote, started as its
// Start-menu shortcut starts it, its message box answered; then what is left, looked at from
// outside.
#include "folder_listing.h"
#include "gui_driver.h"
#include "installer_driver.h"
#include "link_reader.h"
#include "owners.h"
#include "registry.h"
#include "test_processes.h"
#include "test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

namespace {

const ::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

const std::string kInstallSuccess = "恭喜，安装成功！";
const std::string kQuestionCaption = "重要提示：";
const std::string kQuestion = "您确定要卸载 Korvexa商城客户端 吗？";
const std::string kErrorCaption = "错误：";
const std::string kNotInstalled = "卸载失败！尚未安装Korvexa商城客户端！";

const std::string kInstallFolder = "D:\\Korvexa商城";
// How long the uninstaller's own file may outlive its process.
constexpr DWORD kSelfRemovalTimeMs = 10000;

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool InstallKeyExists()
{
    UniqueKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, "Korvexa商城", 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

// The buttons of a message box, among OK, Cancel, Yes and No.
std::set<int> ButtonsOf(HWND box)
{
    std::set<int> buttons;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (GetDlgItem(box, id))
            buttons.insert(id);
    }
    return buttons;
}

// The box's caption, text and buttons; the first button given is the default one.
void ExpectBox(HWND box, const std::string& caption, const std::string& text, const std::vector<int>& buttons)
{
    MessageBoxTexts shown = ReadMessageBox(box);
    EXPECT_EQ(Utf8(shown.caption), Utf8(caption));
    EXPECT_EQ(Utf8(shown.text), Utf8(text));
    EXPECT_EQ(ButtonsOf(box), std::set<int>(buttons.begin(), buttons.end()));
    // Wine answers DM_GETDEFID with IDOK whatever the box holds; the button's style tells.
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, buttons.front()), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        << "default button";
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner";
}

void Answer(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

// The uninstaller started as a test wants it and looked at until it ends and its file has gone:
// every window that becomes visible meanwhile, of its own process or of a system program (the
// command interpreter, the programs it runs, a console), is noted, message boxes of its own apart.
class UninstallerRun {
public:
    UninstallerRun(const std::string& exePath, const std::string& currentFolder, const std::string& arguments = "")
        : exePath_(exePath), visibleBefore_(VisibleWindows()), program_(StartProgram(exePath, currentFolder, arguments))
    {
    }
    ~UninstallerRun()
    {
        if (program_.process && !Ended()) {
            TerminateProcess(program_.process.Get(), 1);
            WaitForSingleObject(program_.process.Get(), 5000);
        }
    }
    UninstallerRun(const UninstallerRun&) = delete;
    UninstallerRun& operator=(const UninstallerRun&) = delete;

    bool Started() const { return program_.process.IsValid(); }

    // The message box once it shows; null when the process ends first or after the time-out.
    HWND WaitForBox(DWORD timeoutMs = 30000)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            HWND box = Look();
            if (box || Ended() || GetTickCount() - start > timeoutMs)
                return box;
            Sleep(20);
        }
    }

    // The exit code, or STILL_ACTIVE after the time-out.
    DWORD WaitForExitCode(DWORD timeoutMs = 30000)
    {
        const DWORD start = GetTickCount();
        while (!Ended() && GetTickCount() - start <= timeoutMs) {
            Look();
            Sleep(20);
        }
        return ::WaitForExitCode(program_, 0);
    }

    // True once the uninstaller's file has gone, false when it is still there after the time-out.
    bool WaitUntilItsFileIsGone(DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (Exists(exePath_)) {
            if (GetTickCount() - start > timeoutMs)
                return false;
            Look();
            Sleep(20);
        }
        return true;
    }

    // "class: title (program)" of every window seen becoming visible.
    const std::set<std::string>& StrayWindows() const { return strays_; }

private:
    static BOOL CALLBACK AddVisible(HWND window, LPARAM windows)
    {
        if (IsWindowVisible(window))
            reinterpret_cast<std::set<HWND>*>(windows)->insert(window);
        return TRUE;
    }

    static std::set<HWND> VisibleWindows()
    {
        std::set<HWND> windows;
        EnumWindows(AddVisible, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    bool Ended() const { return WaitForSingleObject(program_.process.Get(), 0) == WAIT_OBJECT_0; }

    // The visible message box of the process, if one shows; notes any other window shown.
    HWND Look()
    {
        HWND box = nullptr;
        for (HWND window : VisibleWindows()) {
            if (visibleBefore_.count(window))
                continue;
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (owner == program_.processId && std::string(className) == "#32770") {
                box = window;
                continue;
            }
            const std::string image = ImagePathOf(owner);
            if (owner == program_.processId || SamePath(image.substr(0, systemFolder_.size()), systemFolder_))
                strays_.insert(std::string(className) + ": " + Utf8(WindowText(window)) + " (" + Utf8(image) + ")");
        }
        return box;
    }

    const std::string exePath_;
    const std::string systemFolder_ = SystemFolder() + "\\";
    const std::set<HWND> visibleBefore_;
    StartedProgram program_;
    std::set<std::string> strays_;
};

class UninstallJourneyTest : public ::testing::Test {
protected:
    void SetUp() override { ResetMachine(); }
    void TearDown() override
    {
        EndProcessesIn(kInstallFolder + "\\DQ");
        EndProcessesIn(kInstallFolder + "\\Trade");
        ResetMachine();
    }

    void ResetMachine()
    {
        ClearInstallDriveValue();
        DeleteTree(kInstallFolder);
        DeleteFileA((desktop_ + "Korvexa行情分析系统.lnk").c_str());
        DeleteFileA((desktop_ + "Korvexa商城.lnk").c_str());
        DeleteTree(startMenu_);
        DeleteTree(elsewhere_);
    }

    // Installs on D with the real installer and reads where the uninstall shortcut starts the
    // uninstaller: its target and its working folder.
    void Install()
    {
        ASSERT_EQ(Utf8(InstallWithInstaller('D')), Utf8(kInstallSuccess));
        std::optional<LinkFields> link = ReadLink(startMenu_ + "\\卸载.lnk");
        ASSERT_TRUE(link);
        uninstaller_ = link->path;
        workingFolder_ = link->workingDirectory;
        ASSERT_EQ(Utf8(uninstaller_), Utf8(kInstallFolder + "\\qtrnUninstall.exe"));
        ASSERT_TRUE(ReadWholeFile(uninstaller_) == ReadWholeFile(UninstallerExePath())) << "the installer's block";
    }

    // A folder other than the install folder that holds an unrelated file of the uninstaller's name.
    std::string PrepareElsewhere()
    {
        CreateDirectoryA(elsewhere_.c_str(), nullptr);
        EXPECT_TRUE(WriteTextFile(elsewhere_ + "\\qtrnUninstall.exe", "not the uninstaller"));
        return elsewhere_;
    }

    // Everything the installer made that the uninstaller removes, its own file apart.
    std::vector<std::string> InstalledItems() const
    {
        return {
            desktop_ + "Korvexa行情分析系统.lnk",
            desktop_ + "Korvexa商城.lnk",
            startMenu_ + "\\Korvexa行情分析系统.lnk",
            startMenu_ + "\\Korvexa商城.lnk",
            startMenu_ + "\\卸载.lnk",
            kInstallFolder + "\\Trade",
            kInstallFolder + "\\DQ",
            kInstallFolder + "\\QTRN客户端资源.zip",
        };
    }

    // Answers Yes and checks the run's end: exit code 0, its file gone, no window shown but the box.
    void AnswerYesAndWaitForTheEnd(UninstallerRun& run)
    {
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr);
        ExpectBox(box, kQuestionCaption, kQuestion, {IDYES, IDNO});
        Answer(box, IDYES);
        EXPECT_EQ(run.WaitForExitCode(), 0u);
        EXPECT_TRUE(run.WaitUntilItsFileIsGone(kSelfRemovalTimeMs)) << "the uninstaller's own file";
        EXPECT_TRUE(run.StrayWindows().empty()) << *run.StrayWindows().begin();
    }

    const std::string desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string startMenu_ = ShellFolder(CSIDL_PROGRAMS) + "Korvexa商城";
    const std::string elsewhere_ = "C:\\其他 & 文件夹";
    std::string uninstaller_;
    std::string workingFolder_;
};

TEST_F(UninstallJourneyTest, YesRemovesWhatTheInstallerMadeAndKeepsWhatTheUserAdded)
{
    Install();
    ASSERT_TRUE(WriteTextFile(kInstallFolder + "\\notes.txt", "mine"));
    ASSERT_TRUE(WriteTextFile(startMenu_ + "\\readme.txt", "mine"));

    UninstallerRun run(uninstaller_, workingFolder_);
    ASSERT_TRUE(run.Started());
    AnswerYesAndWaitForTheEnd(run);

    EXPECT_FALSE(InstallKeyExists());
    for (const std::string& item : InstalledItems())
        EXPECT_FALSE(Exists(item)) << Utf8(item);
    EXPECT_EQ(ListTree(kInstallFolder), (std::vector<ListedEntry>{{"notes.txt", false}}));
    EXPECT_EQ(ListTree(startMenu_), (std::vector<ListedEntry>{{"readme.txt", false}}));
}

TEST_F(UninstallJourneyTest, WithoutExtraFilesTheStartMenuFolderGoesToo)
{
    Install();

    UninstallerRun run(uninstaller_, workingFolder_);
    AnswerYesAndWaitForTheEnd(run);

    EXPECT_FALSE(Exists(startMenu_));
    EXPECT_EQ(ListTree(kInstallFolder), std::vector<ListedEntry>{}) << "the install folder itself stays";
    EXPECT_TRUE(Exists(kInstallFolder));
}

TEST_F(UninstallJourneyTest, NoChangesNothing)
{
    Install();
    const auto installed = ListTree(kInstallFolder);
    const auto startMenu = ListTree(startMenu_);
    const auto desktop = NamesInFolder(desktop_);

    UninstallerRun run(uninstaller_, workingFolder_, "/uninstall /S");
    HWND box = run.WaitForBox();
    ASSERT_NE(box, nullptr);
    ExpectBox(box, kQuestionCaption, kQuestion, {IDYES, IDNO});
    Answer(box, IDNO);
    EXPECT_EQ(run.WaitForExitCode(), 0u);
    EXPECT_TRUE(run.StrayWindows().empty()) << *run.StrayWindows().begin();

    // Long enough for a removal started in the background to have shown.
    Sleep(2500);
    EXPECT_TRUE(Exists(uninstaller_));
    EXPECT_TRUE(InstallKeyExists());
    EXPECT_EQ(ListTree(kInstallFolder), installed);
    EXPECT_EQ(ListTree(startMenu_), startMenu);
    EXPECT_EQ(NamesInFolder(desktop_), desktop);
}

// The removal ends once the file is gone: an uninstaller written again right afterwards, as by
// an installation made at once, stays.
TEST_F(UninstallJourneyTest, ItsOwnFileWrittenAgainAfterTheRemovalStays)
{
    Install();

    UninstallerRun run(uninstaller_, workingFolder_);
    AnswerYesAndWaitForTheEnd(run);
    // Once the removal has taken its file, a new installation writes it again at once.
    ASSERT_TRUE(run.WaitUntilItsFileIsGone(kSelfRemovalTimeMs));
    ASSERT_TRUE(CopyFileA(UninstallerExePath().c_str(), uninstaller_.c_str(), FALSE));

    Sleep(kSelfRemovalTimeMs / 2);
    EXPECT_TRUE(Exists(uninstaller_));
}

// Its file still in use for a while after the uninstaller has ended (as while its own process
// lingers, or a scanner reads it): the removal keeps trying and takes it once it is free.
TEST_F(UninstallJourneyTest, ItsOwnFileStillInUseAtTheEndGoesOnceFree)
{
    Install();

    UninstallerRun run(uninstaller_, workingFolder_);
    HWND box = run.WaitForBox();
    ASSERT_NE(box, nullptr);
    UniqueFileHandle reader(CreateFileA(uninstaller_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
    ASSERT_TRUE(reader);
    Answer(box, IDYES);
    EXPECT_EQ(run.WaitForExitCode(), 0u);
    Sleep(1500);
    EXPECT_TRUE(Exists(uninstaller_)) << "deleted while in use";
    reader.Close();

    EXPECT_TRUE(run.WaitUntilItsFileIsGone(kSelfRemovalTimeMs));
    EXPECT_TRUE(run.StrayWindows().empty()) << *run.StrayWindows().begin();
}

TEST_F(UninstallJourneyTest, StartedFromAnotherFolderRemovesItsOwnFileAndNoOther)
{
    Install();
    const std::string elsewhere = PrepareElsewhere();

    UninstallerRun run(uninstaller_, elsewhere);
    AnswerYesAndWaitForTheEnd(run);

    EXPECT_EQ(ReadWholeFile(elsewhere + "\\qtrnUninstall.exe"), "not the uninstaller");
    for (const std::string& item : InstalledItems())
        EXPECT_FALSE(Exists(item)) << Utf8(item);
}

TEST_F(UninstallJourneyTest, StopsTheRunningClients)
{
    Install();
    RunningProgram quotes(kInstallFolder + "\\DQ\\Veskoqtrn.exe");
    RunningProgram trade(kInstallFolder + "\\Trade\\orlandex.exe");
    ASSERT_TRUE(quotes.Started() && trade.Started());

    UninstallerRun run(uninstaller_, workingFolder_);
    AnswerYesAndWaitForTheEnd(run);

    EXPECT_TRUE(quotes.WaitForEnd(20000));
    EXPECT_TRUE(trade.WaitForEnd(20000));
    // The files go without waiting for the clients to end: a program still running then keeps
    // its file and the folders above it, and nothing else.
    EXPECT_FALSE(Exists(kInstallFolder + "\\QTRN客户端资源.zip"));
    const std::vector<ListedEntry> dq = ListTree(kInstallFolder + "\\DQ");
    EXPECT_TRUE(dq.empty() || dq == (std::vector<ListedEntry>{{"Veskoqtrn.exe", false}})) << dq.size();
    const std::vector<ListedEntry> trading = ListTree(kInstallFolder + "\\Trade");
    EXPECT_TRUE(trading.empty() || trading == (std::vector<ListedEntry>{{"orlandex.exe", false}})) << trading.size();
}

// An empty value counts as an installation; its paths then begin with ":" and name nothing.
TEST_F(UninstallJourneyTest, EmptyRecordedDriveRemovesTheKeyAndShortcutsButNoClientFolder)
{
    Install();
    SetInstallDriveText("");
    const auto installed = ListTree(kInstallFolder);

    UninstallerRun run(uninstaller_, workingFolder_);
    AnswerYesAndWaitForTheEnd(run);

    EXPECT_FALSE(InstallKeyExists());
    EXPECT_FALSE(Exists(startMenu_));
    EXPECT_FALSE(Exists(desktop_ + "Korvexa商城.lnk"));
    auto expected = installed;
    expected.erase(std::find(expected.begin(), expected.end(), ListedEntry{"qtrnUninstall.exe", false}));
    EXPECT_EQ(ListTree(kInstallFolder), expected);
}

// Every process the uninstaller starts is the system's command interpreter, hidden, in the
// system folder; the stop commands name the running client, the last command deletes the
// uninstaller's own file by its full path and ends after the uninstaller.
TEST_F(UninstallJourneyTest, StartsOnlyHiddenSystemCommands)
{
    Install();
    RunningProgram quotes(kInstallFolder + "\\DQ\\Veskoqtrn.exe");
    ASSERT_TRUE(quotes.Started());

    std::vector<WatchedProcess> processes;
    std::thread watcher([&] {
        processes = RunWatched(uninstaller_, "\"" + uninstaller_ + "\"", workingFolder_, 60000);
    });
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); !box && GetTickCount() - start < 30000; Sleep(50)) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(nullptr, candidate, "#32770", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (IsWindowVisible(candidate) && SamePath(ImagePathOf(owner), uninstaller_))
                box = candidate;
        }
    }
    if (box)
        Answer(box, IDYES);
    watcher.join();
    ASSERT_NE(box, nullptr);

    ASSERT_FALSE(processes.empty());
    const WatchedProcess& uninstaller = processes[0];
    EXPECT_TRUE(uninstaller.ended);
    EXPECT_EQ(uninstaller.exitCode, 0u);
    const std::string interpreter = SystemFolder() + "\\cmd.exe";
    std::vector<std::string> commands;
    for (const WatchedProcess& p : processes) {
        EXPECT_TRUE(p.ended) << p.commandLine;
        if (p.processId == uninstaller.processId)
            continue;
        EXPECT_TRUE(SamePath(p.imagePath.substr(0, SystemFolder().size() + 1), SystemFolder() + "\\"))
            << Utf8(p.imagePath);
        if (p.parentProcessId != uninstaller.processId)
            continue;
        EXPECT_TRUE(SamePath(p.imagePath, interpreter)) << Utf8(p.imagePath);
        EXPECT_TRUE(SamePath(p.currentFolder, SystemFolder())) << Utf8(p.currentFolder);
        EXPECT_EQ(p.startupFlags & STARTF_USESHOWWINDOW, static_cast<DWORD>(STARTF_USESHOWWINDOW));
        EXPECT_EQ(p.showWindow, static_cast<DWORD>(SW_HIDE));
        commands.push_back(p.commandLine);
    }
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], "cmd /c taskkill /im Veskoqtrn.exe /f");
    EXPECT_EQ(commands[1], "cmd /c taskkill /im Veskoqtrn.exe /f");
    EXPECT_EQ(commands[2].rfind("cmd.exe /c ", 0), 0u) << Utf8(commands[2]);
    EXPECT_NE(commands[2].find("del /f /a \"" + uninstaller_ + "\""), std::string::npos) << Utf8(commands[2]);
    EXPECT_FALSE(Exists(uninstaller_));
    EXPECT_TRUE(quotes.WaitForEnd(20000));
}

// Every registry state that records no installation leads to the error box; the uninstaller
// then removes its own file, named by its full path wherever it is started from, and nothing else.
TEST_F(UninstallJourneyTest, NotInstalledShowsTheErrorBoxAndRemovesOnlyItsOwnFile)
{
    static const DWORD number = 7;
    struct Case {
        const char* name;
        void (*record)();
        bool readOnly;
        const char* arguments;
    } cases[] = {
        {"no key", [] {}, false, ""},
        {"key without the value", [] { WriteRegistryText(HKEY_CURRENT_USER, "Korvexa商城\\其他", "x"); }, true, ""},
        {"shibai", [] { SetInstallDriveText("shibai"); }, false, "/S"},
        {"a number", [] { SetInstallDriveValue(REG_DWORD, &number, sizeof number); }, false, ""},
    };
    const std::string downloads = "C:\\下载 & 临时";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMachine();
        c.record();
        const bool keyBefore = InstallKeyExists();
        // What an earlier installation might have left; none of it is the uninstaller's to touch.
        const std::vector<std::string> planted = {
            kInstallFolder + "\\Trade\\keep.txt",
            desktop_ + "Korvexa商城.lnk",
            startMenu_ + "\\卸载.lnk",
        };
        CreateDirectoryA(kInstallFolder.c_str(), nullptr);
        CreateDirectoryA((kInstallFolder + "\\Trade").c_str(), nullptr);
        CreateDirectoryA(startMenu_.c_str(), nullptr);
        for (const std::string& file : planted)
            ASSERT_TRUE(WriteTextFile(file, "planted")) << Utf8(file);
        ScratchFolder folder(downloads);
        const std::string copy = CopyInto(UninstallerExePath(), folder.Path(), "qtrnUninstall.exe");
        ASSERT_FALSE(copy.empty());
        if (c.readOnly)
            SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);

        UninstallerRun run(copy, PrepareElsewhere(), c.arguments);
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr);
        ExpectBox(box, kErrorCaption, kNotInstalled, {IDOK});
        Answer(box, IDOK);
        EXPECT_EQ(run.WaitForExitCode(), 0u);
        EXPECT_TRUE(run.WaitUntilItsFileIsGone(kSelfRemovalTimeMs)) << "the uninstaller's own file";
        EXPECT_TRUE(run.StrayWindows().empty()) << *run.StrayWindows().begin();

        EXPECT_EQ(ReadWholeFile(elsewhere_ + "\\qtrnUninstall.exe"), "not the uninstaller");
        EXPECT_EQ(InstallKeyExists(), keyBefore);
        for (const std::string& file : planted)
            EXPECT_EQ(ReadWholeFile(file), "planted") << Utf8(file);
    }
}

// Only the exact text "shibai" means that nothing is installed.
TEST_F(UninstallJourneyTest, AnyOtherRecordedTextLeadsToTheQuestion)
{
    for (const char* recorded : {"SHIBAI", "Shibai", "shibai ", "X"}) {
        SCOPED_TRACE(recorded);
        SetInstallDriveText(recorded);
        UninstallerRun run(UninstallerExePath(), "C:\\");
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr);
        ExpectBox(box, kQuestionCaption, kQuestion, {IDYES, IDNO});
        Answer(box, IDNO);
        EXPECT_EQ(run.WaitForExitCode(), 0u);
        EXPECT_TRUE(InstallKeyExists());
    }
}

struct ResourceSearch {
    std::map<std::string, std::string>* resources;
    int type;
};

BOOL CALLBACK KeepResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context)
{
    auto* search = reinterpret_cast<ResourceSearch*>(context);
    HRSRC found = FindResourceA(module, name, type);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::string key = std::to_string(search->type) + "/"
        + (IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name));
    (*search->resources)[key] = std::string(bytes, SizeofResource(module, found));
    return TRUE;
}

// The icon, version information and manifest resources of an executable, by "type/name".
std::map<std::string, std::string> IconVersionAndManifestOf(const std::string& exePath)
{
    std::map<std::string, std::string> resources;
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return resources;
    for (LPSTR type : {RT_GROUP_ICON, RT_ICON, RT_VERSION, RT_MANIFEST}) {
        ResourceSearch search{&resources, static_cast<int>(reinterpret_cast<ULONG_PTR>(type))};
        EnumResourceNamesA(module, type, KeepResource, reinterpret_cast<LONG_PTR>(&search));
    }
    FreeLibrary(module);
    return resources;
}

TEST(UninstallerResourcesTest, SameIconVersionInformationAndManifestAsTheInstaller)
{
    std::map<std::string, std::string> uninstaller = IconVersionAndManifestOf(UninstallerExePath());
    std::map<std::string, std::string> installer = IconVersionAndManifestOf(InstallerExePath());
    for (const char* kind : {"14/1", "16/1", "24/1"})
        EXPECT_TRUE(uninstaller.count(kind)) << kind;
    EXPECT_TRUE(uninstaller == installer);
}

} // namespace
