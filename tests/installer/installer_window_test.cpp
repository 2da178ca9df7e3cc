// The installer window seen from outside: the real executable started under Wine, its window,
// controls and drive box read from another process, and the ways to close it.
#include "gui_driver.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const std::string kTitle = "Korvexa商城客户端安装程序";
const std::string kDriveC = "C: （硬盘） System";
const std::string kDriveD = "D: （硬盘）";
const std::string kDriveE = "E: （硬盘） 数据盘";

// The installer copied to a folder of the test's choice, as a user would have downloaded it.
class InstallerCopy {
public:
    explicit InstallerCopy(const std::string& folder) : folder_(folder), path_(folder + "\\KorvexaSetup.exe")
    {
        if (folder_.size() > 3)
            CreateDirectoryA(folder_.c_str(), nullptr);
        CopyFileA(InstallerExePath().c_str(), path_.c_str(), FALSE);
    }
    ~InstallerCopy()
    {
        DeleteFileA(path_.c_str());
        if (folder_.size() > 3)
            RemoveDirectoryA(folder_.c_str());
    }
    const std::string& Folder() const { return folder_; }
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

class InstallerWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (program_.process && WaitForExitCode(program_, 0) == STILL_ACTIVE)
            TerminateProcess(program_.process.Get(), 1);
        ClearInstallDriveValue();
    }

    HWND Start(const InstallerCopy& copy, const std::string& currentFolder, const std::string& arguments = "")
    {
        program_ = StartProgram(copy.Path(), currentFolder, arguments);
        return program_.process ? WaitForWindow(program_.processId, kTitle) : nullptr;
    }

    // Esc on the drive box, which has the focus, closes the window; the exit code follows.
    DWORD CloseWithEscape(HWND window)
    {
        HWND driveBox = ChildAt(window, 75, 198);
        PostMessageA(driveBox, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(driveBox, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        return WaitForExitCode(program_);
    }

    std::string SelectedEntry(HWND window)
    {
        HWND driveBox = ChildAt(window, 75, 198);
        LRESULT selected = SendMessageA(driveBox, CB_GETCURSEL, 0, 0);
        if (selected < 0)
            return "(none)";
        return ComboBoxEntries(driveBox).at(selected);
    }

    StartedProgram program_;
};

TEST_F(InstallerWindowTest, ShowsTheWindowAsDefined)
{
    ClearInstallDriveValue();
    InstallerCopy copy("D:\\Setup");
    HWND window = Start(copy, "C:\\");
    ASSERT_NE(window, nullptr);

    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 392);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 392) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);

    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    struct Control {
        const char* name;
        int left, top, width, height;
        std::string text;
    } controls[] = {
        {"picture box 1", 16, 24, 128, 128, ""},
        {"label 1", 160, 72, 192, 24, "安卓端请扫描左侧二维码下载安装！"},
        {"label 2", 24, 160, 272, 24, "iOS请在App Store中搜索“Korvexa”安装！"},
        {"transparent label 4", 11, 200, 61, 16, "安装目录："},
        {"transparent label 5", 115, 200, 117, 16, "\\Korvexa商城"},
        {"transparent label 1", 288, 192, 48, 28, "安装"},
    };
    for (const Control& c : controls) {
        HWND child = ChildAt(window, c.left, c.top);
        ASSERT_NE(child, nullptr) << c.name;
        RECT rect = ClientRectInParent(child);
        EXPECT_EQ(rect.right - rect.left, c.width) << c.name;
        EXPECT_EQ(rect.bottom - rect.top, c.height) << c.name;
        EXPECT_EQ(WindowText(child), c.text) << c.name << ": " << Utf8(WindowText(child));
        EXPECT_TRUE(IsWindowVisible(child) && IsWindowEnabled(child)) << c.name;
    }

    HWND driveBox = ChildAt(window, 75, 198);
    ASSERT_NE(driveBox, nullptr);
    RECT boxRect = ClientRectInParent(driveBox);
    EXPECT_EQ(boxRect.right - boxRect.left, 40);
    char className[32] = {};
    GetClassNameA(driveBox, className, sizeof className);
    EXPECT_STREQ(className, "ComboBox");
    EXPECT_EQ(GetWindowLongA(driveBox, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    // Only fixed drives: no CD-ROM (F:), removable (G:) or network drive (N:); labels appended.
    std::vector<std::string> expected{kDriveC, kDriveD, kDriveE};
    EXPECT_EQ(ComboBoxEntries(driveBox), expected);

    CreateDirectoryA((BuildFolder() + "\\screenshots").c_str(), nullptr);
    EXPECT_TRUE(SaveWindowPicture(window, BuildFolder() + "\\screenshots\\installer-window.bmp"));

    EXPECT_EQ(CloseWithEscape(window), 0u);
}

// Which entry the window opens with, after the probe of the recorded installation.
TEST_F(InstallerWindowTest, PreselectsTheDriveForTheRecordedInstallation)
{
    const DWORD number = 3;
    const char expandable[] = "%SystemDrive%";
    struct Case {
        const char* name;
        DWORD type; // 0: no value
        const void* data;
        DWORD size;
        const char* startFolder;
        std::string expected;
    } cases[] = {
        // Nothing recorded, several fixed drives: the first fixed drive.
        {"no value, from D:", 0, nullptr, 0, "D:\\Setup", kDriveC},
        {"shibai, from D:", REG_SZ, "shibai", 7, "D:\\Setup", kDriveC},
        {"REG_DWORD, from E:", REG_DWORD, &number, sizeof number, "E:\\", kDriveC},
        {"zero bytes, from D:", REG_SZ, "", 0, "D:\\Setup", kDriveC},
        // Recorded: the drive of the installer's own folder stays selected.
        {"D recorded, from D:", REG_SZ, "D", 2, "D:\\Setup", kDriveD},
        {"D recorded, from C:", REG_SZ, "D", 2, "C:\\Setup", kDriveC},
        {"D recorded, from E:", REG_SZ, "D", 2, "E:\\", kDriveE},
        {"expandable, from D:", REG_EXPAND_SZ, expandable, sizeof expandable, "D:\\Setup", kDriveD},
        {"empty text, from D:", REG_SZ, "", 1, "D:\\Setup", kDriveD},
        // Started from a drive that is not fixed: nothing matches.
        {"D recorded, from the network drive", REG_SZ, "D", 2, "N:\\probe-setup", "(none)"},
        {"D recorded, from the removable drive", REG_SZ, "D", 2, "G:\\", "(none)"},
    };
    for (const Case& c : cases) {
        if (c.type)
            SetInstallDriveValue(c.type, c.data, c.size);
        else
            ClearInstallDriveValue();
        InstallerCopy copy(c.startFolder);
        HWND window = Start(copy, "C:\\");
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_EQ(SelectedEntry(window), c.expected) << c.name << ": " << Utf8(SelectedEntry(window));
        EXPECT_EQ(CloseWithEscape(window), 0u) << c.name;
    }
}

TEST_F(InstallerWindowTest, ArgumentsChangeNothing)
{
    SetInstallDriveText("D");
    InstallerCopy copy("E:\\");
    HWND window = Start(copy, "C:\\", "/S /D=C:\\Elsewhere --help");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SelectedEntry(window), kDriveE);
    EXPECT_EQ(CloseWithEscape(window), 0u);
}

TEST_F(InstallerWindowTest, EveryWayOfClosingEndsWithExitCodeZero)
{
    ClearInstallDriveValue();
    InstallerCopy copy("D:\\Setup");
    struct Way {
        const char* name;
        void (*close)(HWND window);
    } ways[] = {
        {"Esc on the window", [](HWND window) { PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"Alt+F4", [](HWND window) { PostMessageA(GetFocus() ? GetFocus() : window, WM_SYSKEYDOWN, VK_F4, 0x203E0001); }},
        {"system menu Close", [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close box", [](HWND window) {
             // Find the close box along the title bar and click it with the real mouse.
             RECT outer;
             GetWindowRect(window, &outer);
             int y = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
             for (int x = outer.right - 1; x > outer.left; --x) {
                 if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                     ClickAt({x - 4, y});
                     return;
                 }
             }
         }},
    };
    for (const Way& way : ways) {
        HWND window = Start(copy, "C:\\");
        ASSERT_NE(window, nullptr) << way.name;
        WaitForInputIdle(program_.process.Get(), 5000);
        // A real click can get lost while Wine is still activating a new window; a user
        // would click again, and so does the test.
        DWORD exitCode = STILL_ACTIVE;
        for (int attempt = 0; attempt < 3 && exitCode == STILL_ACTIVE; ++attempt) {
            way.close(window);
            exitCode = WaitForExitCode(program_, 5000);
        }
        EXPECT_EQ(exitCode, 0u) << way.name;
    }
}

} // namespace
