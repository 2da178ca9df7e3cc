// Special folders by number, and the file-name and extension parts of a path.
#include "folder_paths.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

std::string Environment(const char* name)
{
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, MAX_PATH);
    return value;
}

TEST(FolderPathByNumber, GivesEachFolderWithOneTrailingBackslash)
{
    const std::string profile = Environment("USERPROFILE");
    const std::string roaming = profile + "\\AppData\\Roaming\\";
    const std::string startMenu = roaming + "Microsoft\\Windows\\Start Menu\\";
    const std::string windows = Environment("SystemRoot");
    struct Case {
        std::optional<int> number;
        std::string expected;
    } cases[] = {
        {std::nullopt, profile + "\\Desktop\\"},
        {0, profile + "\\Desktop\\"},
        {1, profile + "\\Documents\\"},
        {2, profile + "\\Favorites\\"},
        {3, profile + "\\Desktop\\"},
        {4, windows + "\\Fonts\\"},
        {5, startMenu},
        {6, startMenu + "Programs\\"},
        {7, startMenu + "Programs\\StartUp\\"},
        {8, roaming},
        {9, windows + "\\"},
        {10, windows + "\\system32\\"},
        // GetTempPathA already ends in a backslash: no second one.
        {11, Environment("TEMP") + "\\"},
        {12, profile + "\\AppData\\Local\\Microsoft\\Windows\\INetCache\\"},
        {13, ""},
        {-1, ""},
        {0x10, ""},
        {0x7FFFFFFF, ""},
    };
    ASSERT_FALSE(profile.empty());
    for (const Case& c : cases) {
        std::string label = c.number ? std::to_string(*c.number) : "absent";
        EXPECT_EQ(Utf8(FolderPathByNumber(c.number)), Utf8(c.expected)) << label;
    }
}

// A folder that is missing is not created by the lookup.
class MissingFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MoveFileA(favorites_.c_str(), (favorites_ + ".away").c_str())); }
    void TearDown() override
    {
        RemoveDirectoryA(favorites_.c_str());
        MoveFileA((favorites_ + ".away").c_str(), favorites_.c_str());
    }

    const std::string favorites_ = Environment("USERPROFILE") + "\\Favorites";
};

TEST_F(MissingFolderTest, IsNotCreated)
{
    std::string path = FolderPathByNumber(2);
    EXPECT_TRUE(path.empty() || path == favorites_ + "\\") << path;
    EXPECT_EQ(GetFileAttributesA(favorites_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileNameOfPath, CutsNameAndExtension)
{
    struct Case {
        std::string path;
        std::string name;
        std::string nameWithExtension;
        std::string extension;
    } cases[] = {
        {"C:\\dir\\Name.lnk", "Name", "Name.lnk", ".lnk"},
        {"a.b.lnk", "a.b", "a.b.lnk", ".lnk"},
        {"C:\\A\\x.exe", "x", "x.exe", ".exe"},
        {"C:\\A\\B", "B", "B", ""},
        {"C:\\A.d\\B", "B", "B", ""},
        {"Name", "Name", "Name", ""},
        {"", "", "", ""},
        {"C:\\A\\.lnk", "", ".lnk", ".lnk"},
        {"D:\\Korvexa商城\\DQ\\行情.EXE", "行情", "行情.EXE", ".EXE"},
        // 稞 ends in byte 0x5C, which is no separator.
        {"C:\\目录\\稞.lnk", "稞", "稞.lnk", ".lnk"},
        {"C:\\目录\\a稞", "a稞", "a稞", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(FileNameOfPath(c.path, false)), Utf8(c.name)) << Utf8(c.path);
        EXPECT_EQ(Utf8(FileNameOfPath(c.path, std::nullopt)), Utf8(c.name)) << Utf8(c.path);
        EXPECT_EQ(Utf8(FileNameOfPath(c.path, true)), Utf8(c.nameWithExtension)) << Utf8(c.path);
        EXPECT_EQ(Utf8(ExtensionOfPath(c.path)), Utf8(c.extension)) << Utf8(c.path);
    }
}

} // namespace
