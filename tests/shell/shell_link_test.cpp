// The shell link writer, read back through the shell link object.
#include "shell_link.h"

#include "link_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const ::testing::Environment* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

class ShellLinkTest : public ::testing::Test {
protected:
    ScratchFolder scratch_{BuildFolder() + "\\test-scratch\\shell_link"};
    const std::string folder_ = scratch_.Path() + "\\";
};

TEST_F(ShellLinkTest, EveryGivenFieldIsStoredWithShowAndNoIcon)
{
    std::string linkPath = folder_ + "Korvexa行情分析系统.lnk";
    ASSERT_TRUE(CreateShellLink(linkPath, "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe", "Dunmere行情", "-user 张三 /x",
                                "D:\\Korvexa商城\\DQ"));
    std::optional<LinkFields> link = ReadLink(linkPath);
    ASSERT_TRUE(link);
    EXPECT_EQ(Utf8(link->path), Utf8("D:\\Korvexa商城\\DQ\\Veskoqtrn.exe"));
    EXPECT_EQ(Utf8(link->workingDirectory), Utf8("D:\\Korvexa商城\\DQ"));
    EXPECT_EQ(Utf8(link->description), Utf8("Dunmere行情"));
    EXPECT_EQ(Utf8(link->arguments), Utf8("-user 张三 /x"));
    EXPECT_EQ(link->showCommand, SW_SHOW);
    EXPECT_EQ(link->iconPath, "");
    EXPECT_EQ(link->hotkey, 0);
}

TEST_F(ShellLinkTest, AbsentTextsAreLeftEmpty)
{
    std::string linkPath = folder_ + "Bare.lnk";
    ASSERT_TRUE(CreateShellLink(linkPath, "D:\\Korvexa商城\\qtrnUninstall.exe", std::nullopt, std::nullopt,
                                std::nullopt));
    std::optional<LinkFields> link = ReadLink(linkPath);
    ASSERT_TRUE(link);
    EXPECT_EQ(Utf8(link->path), Utf8("D:\\Korvexa商城\\qtrnUninstall.exe"));
    EXPECT_EQ(link->workingDirectory, "");
    EXPECT_EQ(link->description, "");
    EXPECT_EQ(link->arguments, "");
    EXPECT_EQ(link->showCommand, SW_SHOW);
}

TEST_F(ShellLinkTest, WorkingDirectoryIsStoredAsGiven)
{
    for (std::string folder : {"D:\\Korvexa商城\\DQ", "D:\\Korvexa商城\\Trade\\Pravolt-trade\\", "D:\\Korvexa商城"}) {
        std::string linkPath = folder_ + "WorkingDirectory.lnk";
        ASSERT_TRUE(CreateShellLink(linkPath, "D:\\x.exe", std::nullopt, std::nullopt, folder));
        std::optional<LinkFields> link = ReadLink(linkPath);
        ASSERT_TRUE(link);
        EXPECT_EQ(Utf8(link->workingDirectory), Utf8(folder));
    }
}

TEST_F(ShellLinkTest, LinkExtensionIsAddedOnlyWithoutAnyFullStop)
{
    ASSERT_TRUE(CreateDirectoryA((folder_ + "dir.d").c_str(), nullptr));
    struct Case {
        std::string linkPath;
        std::string written;
    } cases[] = {
        {"Name", "Name.lnk"},
        {"卸载", "卸载.lnk"},
        {"Name.LNK", "Name.LNK"},
        {"My.Links", "My.Links"},
        // No ".lnk" is added; the file system drops the trailing full stop.
        {"Name.", "Name"},
        // The full stop of a folder counts too.
        {"dir.d\\Name", "dir.d\\Name"},
    };
    for (const Case& c : cases) {
        std::set<std::string> before = NamesInFolder(folder_);
        std::set<std::string> beforeInDir = NamesInFolder(folder_ + "dir.d\\");
        EXPECT_TRUE(CreateShellLink(folder_ + c.linkPath, "D:\\x.exe", std::nullopt, std::nullopt, std::nullopt))
            << Utf8(c.linkPath);
        std::set<std::string> added = NamesAddedTo(folder_, before);
        for (const std::string& name : NamesAddedTo(folder_ + "dir.d\\", beforeInDir))
            added.insert("dir.d\\" + name);
        EXPECT_EQ(added, std::set<std::string>{c.written}) << Utf8(c.linkPath);
        ASSERT_TRUE(ReadLink(folder_ + c.written)) << Utf8(c.written);
        DeleteFileA((folder_ + c.written).c_str());
    }
}

TEST_F(ShellLinkTest, ExistingFileIsReplaced)
{
    std::string linkPath = folder_ + "Korvexa商城.lnk";
    ASSERT_TRUE(WriteTextFile(linkPath, "an older file of the same name"));
    ASSERT_TRUE(CreateShellLink(linkPath, "D:\\first.exe", "first", std::nullopt, std::nullopt));
    ASSERT_TRUE(CreateShellLink(linkPath, "D:\\second.exe", std::nullopt, std::nullopt, std::nullopt));
    std::optional<LinkFields> link = ReadLink(linkPath);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->path, "D:\\second.exe");
    EXPECT_EQ(link->description, "");
}

TEST_F(ShellLinkTest, MissingFolderGivesFalse)
{
    std::string linkPath = folder_ + "missing\\Name.lnk";
    EXPECT_FALSE(CreateShellLink(linkPath, "D:\\x.exe", std::nullopt, std::nullopt, std::nullopt));
    EXPECT_FALSE(FileExists(linkPath));
    EXPECT_FALSE(FileExists(folder_ + "missing"));
}

} // namespace
