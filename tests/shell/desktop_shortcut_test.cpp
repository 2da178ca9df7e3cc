// The desktop shortcut writer, read back through the shell link object.
#include "desktop_shortcut.h"

#include "link_reader.h"
#include "test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

const ::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

class DesktopShortcutTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : written_)
            DeleteFileA(path.c_str());
    }

    // CreateDesktopShortcut with only the target given; linkName becomes the full path.
    bool Write(std::string& linkName, const std::string& targetPath)
    {
        bool result = CreateDesktopShortcut(linkName, targetPath, std::nullopt, std::nullopt, std::nullopt,
                                            std::nullopt, std::nullopt);
        written_.push_back(linkName);
        return result;
    }

    void RemoveAfterwards(const std::string& path) { written_.push_back(path); }

    const std::string desktop_ = DesktopFolder();

private:
    std::vector<std::string> written_;
};

TEST_F(DesktopShortcutTest, LinkNameBecomesTheFullPathOnTheDesktop)
{
    struct Case {
        std::string linkName;
        std::string fileName;
    } cases[] = {
        {"Name", "Name.lnk"},
        {"Name.LNK", "Name.LNK"},
        {"行情.Lnk", "行情.Lnk"},
        {"C:\\dir\\Name.lnk", "Name.lnk"},
        {"C:\\dir\\My.Links", "My.lnk"},
        {"My.Links", "My.Links.lnk"},
        {"C:\\dir.d\\a.b.lnk", "a.b.lnk"},
        // 稞 ends in byte 0x5C, which is no backslash: the name holds no folder.
        {"稞.Links", "稞.Links.lnk"},
        {"C:\\目录\\稞.Links", "稞.lnk"},
    };
    for (const Case& c : cases) {
        std::set<std::string> before = NamesInFolder(desktop_);
        std::string linkName = c.linkName;
        EXPECT_TRUE(Write(linkName, "C:\\A\\B\\x.exe")) << Utf8(c.linkName);
        EXPECT_EQ(Utf8(linkName), Utf8(desktop_ + c.fileName));

        EXPECT_EQ(NamesAddedTo(desktop_, before), std::set<std::string>{c.fileName}) << Utf8(c.linkName);
        std::optional<LinkFields> link = ReadLink(linkName);
        ASSERT_TRUE(link) << Utf8(c.linkName);
        EXPECT_EQ(link->path, "C:\\A\\B\\x.exe");
        DeleteFileA(linkName.c_str());
    }
}

TEST_F(DesktopShortcutTest, NameWithLnkInTheMiddleGetsNoSecondExtension)
{
    std::string linkName = "Name.lnkx";
    bool written = Write(linkName, "C:\\A\\B\\x.exe");
    EXPECT_EQ(linkName, desktop_ + "Name.lnkx");
    EXPECT_FALSE(FileExists(desktop_ + "Name.lnkx.lnk"));
    // Windows' shell object refuses a shortcut name that does not end in .lnk or .url; Wine's
    // takes any name.
    if (RunningUnderWine()) {
        EXPECT_TRUE(written);
        EXPECT_TRUE(FileExists(desktop_ + "Name.lnkx"));
    }
}

TEST_F(DesktopShortcutTest, EveryGivenFieldIsStored)
{
    std::string linkName = "全部字段";
    ASSERT_TRUE(CreateDesktopShortcut(linkName, "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe", "-user 张三 /x",
                                      "D:\\Korvexa商城\\DQ\\tolvarn.ico,3", 7, "Dunmere行情", "Ctrl+Alt+K"));
    RemoveAfterwards(linkName);
    std::optional<LinkFields> link = ReadLink(linkName);
    ASSERT_TRUE(link);
    EXPECT_EQ(Utf8(link->path), Utf8("D:\\Korvexa商城\\DQ\\Veskoqtrn.exe"));
    EXPECT_EQ(Utf8(link->workingDirectory), Utf8("D:\\Korvexa商城\\DQ\\"));
    EXPECT_EQ(Utf8(link->iconPath), Utf8("D:\\Korvexa商城\\DQ\\tolvarn.ico"));
    EXPECT_EQ(link->iconIndex, 3);
    EXPECT_EQ(link->showCommand, 7);
    EXPECT_EQ(Utf8(link->description), Utf8("Dunmere行情"));
    EXPECT_EQ(Utf8(link->arguments), Utf8("-user 张三 /x"));
    // Wine's shortcut object refuses every hot key; the shortcut is still saved.
    EXPECT_EQ(link->hotkey, RunningUnderWine() ? 0 : MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT));
}

TEST_F(DesktopShortcutTest, AbsentParametersAreWrittenAsDefaults)
{
    std::string linkName = "Defaults";
    ASSERT_TRUE(Write(linkName, "C:\\A\\x.exe"));
    std::optional<LinkFields> link = ReadLink(linkName);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->showCommand, 0);
    EXPECT_EQ(link->description, "");
    EXPECT_EQ(link->arguments, "");
    EXPECT_EQ(link->hotkey, 0);
}

TEST_F(DesktopShortcutTest, AbsentIconIsTakenFromTheTarget)
{
    struct Case {
        std::string target;
        std::string iconPath;
        int iconIndex;
    } cases[] = {
        {"C:\\A\\x.exe", "C:\\A\\x.exe", 0},
        {"C:\\A\\行情.EXE", "C:\\A\\行情.EXE", 0},
        {"C:\\A\\B", "SHELL32.dll", 4},
        {"C:\\A.d\\B", "SHELL32.dll", 4},
    };
    for (const Case& c : cases) {
        std::string linkName = "Icon";
        ASSERT_TRUE(Write(linkName, c.target));
        std::optional<LinkFields> link = ReadLink(linkName);
        ASSERT_TRUE(link);
        EXPECT_EQ(Utf8(link->iconPath), Utf8(c.iconPath)) << Utf8(c.target);
        EXPECT_EQ(link->iconIndex, c.iconIndex) << Utf8(c.target);
    }
}

TEST_F(DesktopShortcutTest, GivenIconIsPutAsItIs)
{
    struct Case {
        std::string iconLocation;
        std::string iconPath;
        int iconIndex;
    } cases[] = {
        {"C:\\icons\\a.ico,2", "C:\\icons\\a.ico", 2},
        // An empty icon location given is not the absent one: the target's icon is not used.
        {"", "", 0},
        // Wine's shortcut object refuses an icon location without ",index" and stores none.
        {"C:\\icons\\a.ico", RunningUnderWine() ? "" : "C:\\icons\\a.ico", 0},
    };
    for (const Case& c : cases) {
        std::string linkName = "GivenIcon";
        ASSERT_TRUE(CreateDesktopShortcut(linkName, "C:\\A\\x.exe", std::nullopt, c.iconLocation, std::nullopt,
                                          std::nullopt, std::nullopt));
        RemoveAfterwards(linkName);
        std::optional<LinkFields> link = ReadLink(linkName);
        ASSERT_TRUE(link);
        EXPECT_EQ(link->iconPath, c.iconPath) << c.iconLocation;
        EXPECT_EQ(link->iconIndex, c.iconIndex) << c.iconLocation;
    }
}

TEST_F(DesktopShortcutTest, WorkingDirectoryIsTheTargetsFolder)
{
    struct Case {
        std::string target;
        std::string workingDirectory;
    } cases[] = {
        {"C:\\A\\B\\x.exe", "C:\\A\\B\\"},
        {"C:\\A\\B\\", "C:\\A\\"},
        {"D:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe", "D:\\Korvexa商城\\Trade\\Pravolt-trade\\"},
        // The 0x5C byte of 稞 splits nothing.
        {"C:\\目录稞\\x.exe", "C:\\目录稞\\"},
        {"C:\\A\\稞", "C:\\A\\"},
        {"C:\\x.exe", "C:\\"},
    };
    for (const Case& c : cases) {
        std::string linkName = "WorkingDirectory";
        ASSERT_TRUE(Write(linkName, c.target)) << Utf8(c.target);
        std::optional<LinkFields> link = ReadLink(linkName);
        ASSERT_TRUE(link);
        EXPECT_EQ(Utf8(link->workingDirectory), Utf8(c.workingDirectory)) << Utf8(c.target);
    }
}

TEST_F(DesktopShortcutTest, TargetWithoutFolderFailsAfterTheOldLinkIsDeleted)
{
    for (std::string target : {"x.exe", "", "x.exe\\", "稞"}) {
        std::string linkName = "Name";
        ASSERT_TRUE(Write(linkName, "C:\\A\\x.exe"));
        ASSERT_TRUE(FileExists(desktop_ + "Name.lnk"));

        linkName = "Name";
        EXPECT_FALSE(Write(linkName, target)) << Utf8(target);
        EXPECT_EQ(linkName, desktop_ + "Name.lnk");
        EXPECT_FALSE(FileExists(desktop_ + "Name.lnk")) << Utf8(target);
    }
}

// A wshom.ocx beside the program (and in the current folder) must not be the one loaded.
class PlantedTypeLibraryTest : public DesktopShortcutTest {
protected:
    void SetUp() override
    {
        char exePath[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exePath, MAX_PATH);
        planted_ = std::string(exePath);
        planted_ = planted_.substr(0, planted_.rfind('\\')) + "\\wshom.ocx";
        ASSERT_TRUE(WriteTextFile(planted_, "MZ not a type library"));
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        previousFolder_ = current;
        SetCurrentDirectoryA(planted_.substr(0, planted_.rfind('\\')).c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(previousFolder_.c_str());
        DeleteFileA(planted_.c_str());
        DesktopShortcutTest::TearDown();
    }

private:
    std::string planted_;
    std::string previousFolder_;
};

TEST_F(PlantedTypeLibraryTest, ShortcutIsWrittenThroughTheSystemLibrary)
{
    std::string linkName = "Planted";
    ASSERT_TRUE(Write(linkName, "C:\\A\\x.exe"));
    std::optional<LinkFields> link = ReadLink(linkName);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->path, "C:\\A\\x.exe");
}

} // namespace
