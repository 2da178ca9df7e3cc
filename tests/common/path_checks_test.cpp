// Guards on paths before a removal and on archive entry names before extraction.
#include "path_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsBelowDriveRoot, AcceptsOnlyFoldersBelowADriveRoot)
{
    struct Case {
        std::string path;
        bool expected;
    } cases[] = {
        {"D:\\Korvexa商城", true},
        {"D:\\Korvexa商城\\Trade", true},
        {"d:/Korvexa商城/DQ/", true},
        {"D:\\Korvexa商城\\", true},
        {"D:\\.git", true},
        {"D:\\a.b\\c", true},
        // "稞" ends in the byte 0x5C: still one component.
        {"D:\\稞", true},
        {"", false},
        {"D", false},
        {"D:", false},
        {"D:\\", false},
        {"D:/", false},
        {"D:\\\\", false},
        {"D:\\/", false},
        {"D:\\.", false},
        {"D:\\..", false},
        {"D:\\ ", false},
        {"D:\\. .", false},
        {"D:\\Korvexa商城\\..", false},
        {"D:\\Korvexa商城\\..\\..", false},
        {"D:\\Korvexa商城\\.\\Trade", false},
        {"D:Korvexa商城", false},
        {"Korvexa商城", false},
        {"\\Korvexa商城", false},
        {"\\\\server\\share\\Korvexa商城", false},
        {"\\\\?\\D:\\Korvexa商城", false},
        {":\\Korvexa商城", false},
        {"shibai:\\Korvexa商城", false},
        {"1:\\Korvexa商城", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsBelowDriveRoot(c.path), c.expected) << c.path;
}

TEST(IsNameInsideFolder, RefusesNamesThatLeaveTheFolder)
{
    struct Case {
        std::string name;
        bool expected;
    } cases[] = {
        {"Trade/", true},
        {"Trade/Pravolt-trade/Pravolt.exe", true},
        {"DQ\\USERS\\ALERT.WAV", true},
        {"a/./b.txt", true},
        {".hidden", true},
        {"a/.b/c..d/e.", true},
        {"数据/行情.txt", true},
        {"表格/稞/", true},
        {"console.txt", true},
        {"com10.txt", true},
        {"nullable/x", true},
        {"", true},
        {"../x", false},
        {"..\\x", false},
        {"..", false},
        {"a/../../x", false},
        {"a/..", false},
        {"a/.../x", false},
        {"a/.. /x", false},
        {"a/. ./x", false},
        {"/x", false},
        {"\\x", false},
        {"//server/share/x", false},
        {"\\\\server\\share\\x", false},
        {"C:/x", false},
        {"C:x", false},
        {"a/C:/x", false},
        {"x.txt:stream", false},
        {"NUL", false},
        {"nul.txt", false},
        {"a/Con", false},
        {"a/aux .log", false},
        {"COM1", false},
        {"lpt9.dat", false},
        {"CONOUT$", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNameInsideFolder(c.name), c.expected) << c.name;
}

} // namespace
