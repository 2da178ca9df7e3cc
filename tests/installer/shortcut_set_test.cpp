// The shortcut set on the bench's real desktop and Start-menu folders.
#include "shortcut_set.h"

#include "link_reader.h"
#include "test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

const ::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

const char kQuotesLink[] = "Korvexa行情分析系统.lnk";
const char kTradeLink[] = "Korvexa商城.lnk";
const char kUninstallLink[] = "卸载.lnk";

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

class ShortcutSetTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override { RemoveEverything(); }

    void RemoveEverything()
    {
        DeleteFileA((desktop_ + kQuotesLink).c_str());
        DeleteFileA((desktop_ + kTradeLink).c_str());
        DeleteFileA((desktop_ + "Other.lnk").c_str());
        DeleteTree(startMenu_);
    }

    void Touch(const std::string& path) { ASSERT_TRUE(WriteTextFile(path, "old shortcut")); }

    const std::string desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string startMenu_ = ShellFolder(CSIDL_PROGRAMS) + "Korvexa商城";
};

TEST_F(ShortcutSetTest, OldUninstallShortcutKeepsTheStartMenuFolder)
{
    ASSERT_TRUE(CreateDirectoryA(startMenu_.c_str(), nullptr));
    for (std::string path : {desktop_ + kQuotesLink, desktop_ + kTradeLink, desktop_ + "Other.lnk",
                             startMenu_ + "\\" + kQuotesLink, startMenu_ + "\\" + kTradeLink,
                             startMenu_ + "\\" + kUninstallLink})
        Touch(path);

    RemoveOldShortcuts();

    EXPECT_FALSE(FileExists(desktop_ + kQuotesLink));
    EXPECT_FALSE(FileExists(desktop_ + kTradeLink));
    EXPECT_TRUE(FileExists(desktop_ + "Other.lnk"));
    EXPECT_EQ(NamesInFolder(startMenu_ + "\\"), std::set<std::string>{kUninstallLink});
}

TEST_F(ShortcutSetTest, EmptiedStartMenuFolderIsRemoved)
{
    ASSERT_TRUE(CreateDirectoryA(startMenu_.c_str(), nullptr));
    Touch(startMenu_ + "\\" + kQuotesLink);
    Touch(startMenu_ + "\\" + kTradeLink);

    RemoveOldShortcuts();

    EXPECT_FALSE(FileExists(startMenu_));
}

TEST_F(ShortcutSetTest, NothingToRemoveCreatesNothing)
{
    std::set<std::string> desktopBefore = NamesInFolder(desktop_);
    RemoveOldShortcuts();
    EXPECT_EQ(NamesInFolder(desktop_), desktopBefore);
    EXPECT_FALSE(FileExists(startMenu_));
}

TEST_F(ShortcutSetTest, FiveShortcutsAsTheInstallationNeedsThem)
{
    std::set<std::string> desktopBefore = NamesInFolder(desktop_);
    CreateShortcutSet("D");

    EXPECT_EQ(NamesAddedTo(desktop_, desktopBefore), (std::set<std::string>{kQuotesLink, kTradeLink}));
    EXPECT_EQ(NamesInFolder(startMenu_ + "\\"), (std::set<std::string>{kQuotesLink, kTradeLink, kUninstallLink}));

    // Wine's shortcut object refuses an icon location without ",index", so the desktop
    // shortcuts carry no icon there; Windows stores the icon file with index 0.
    const std::string desktopIcon = RunningUnderWine() ? "" : "D:\\Korvexa商城\\DQ\\tolvarn.ico";
    struct Case {
        std::string link;
        std::string target;
        std::string workingDirectory;
        std::string iconPath;
        std::string description;
        int showCommand;
    } cases[] = {
        {desktop_ + kQuotesLink, "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe", "D:\\Korvexa商城\\DQ\\", desktopIcon,
         "Dunmere行情", 0},
        {desktop_ + kTradeLink, "D:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
         "D:\\Korvexa商城\\Trade\\Pravolt-trade\\", desktopIcon, "Korvexa商城", 0},
        {startMenu_ + "\\" + kQuotesLink, "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe", "D:\\Korvexa商城\\DQ", "",
         "Dunmere行情", SW_SHOW},
        {startMenu_ + "\\" + kTradeLink, "D:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
         "D:\\Korvexa商城\\Trade\\Pravolt-trade\\", "", "Korvexa商城", SW_SHOW},
        {startMenu_ + "\\" + kUninstallLink, "D:\\Korvexa商城\\qtrnUninstall.exe", "D:\\Korvexa商城", "",
         "卸载客户端", SW_SHOW},
    };
    for (const Case& c : cases) {
        std::optional<LinkFields> link = ReadLink(c.link);
        ASSERT_TRUE(link) << Utf8(c.link);
        EXPECT_EQ(Utf8(link->path), Utf8(c.target)) << Utf8(c.link);
        EXPECT_EQ(Utf8(link->workingDirectory), Utf8(c.workingDirectory)) << Utf8(c.link);
        EXPECT_EQ(Utf8(link->iconPath), Utf8(c.iconPath)) << Utf8(c.link);
        EXPECT_EQ(link->iconIndex, 0) << Utf8(c.link);
        EXPECT_EQ(Utf8(link->description), Utf8(c.description)) << Utf8(c.link);
        EXPECT_EQ(link->showCommand, c.showCommand) << Utf8(c.link);
        EXPECT_EQ(link->arguments, "") << Utf8(c.link);
        EXPECT_EQ(link->hotkey, 0) << Utf8(c.link);
    }
}

TEST_F(ShortcutSetTest, ReinstallingOnAnotherDriveReplacesTheOldSet)
{
    CreateShortcutSet("E");
    RemoveOldShortcuts();
    EXPECT_FALSE(FileExists(desktop_ + kQuotesLink));
    EXPECT_EQ(NamesInFolder(startMenu_ + "\\"), std::set<std::string>{kUninstallLink});

    CreateShortcutSet("D");
    for (std::string link : {desktop_ + kQuotesLink, desktop_ + kTradeLink, startMenu_ + "\\" + kQuotesLink,
                             startMenu_ + "\\" + kTradeLink, startMenu_ + "\\" + kUninstallLink}) {
        std::optional<LinkFields> fields = ReadLink(link);
        ASSERT_TRUE(fields) << Utf8(link);
        EXPECT_EQ(fields->path.substr(0, 3), "D:\\") << Utf8(link);
    }
}

} // namespace
