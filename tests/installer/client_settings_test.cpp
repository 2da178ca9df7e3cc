// The quotes client's settings file: three paths rewritten, everything else kept.
#include "client_settings.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// Wine rewrites the whole file, dropping blank lines and blanks around "="; Windows keeps the
// other lines as they are. The fixture is written the way both leave it.
const std::string kSettingsOnC =
    "; 行情客户端设置\r\n"
    "[ICONFIG]\r\n"
    "ORDER=C:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe\r\n"
    "NAME=行情分析系统\r\n"
    "BASEPATH=C:\\Korvexa商城\\DQ\r\n"
    "ALERT=C:\\Korvexa商城\\DQ\\USERS\\ALERT.WAV\r\n"
    "FONT=宋体\r\n"
    "[USERS]\r\n"
    "LAST=张三\r\n"
    "ORDER=stays\r\n";

std::string SettingsOn(char drive)
{
    std::string settings = kSettingsOnC;
    for (std::size_t at = settings.find("C:\\"); at != std::string::npos; at = settings.find("C:\\", at + 1))
        settings[at] = drive;
    return settings;
}

std::string InstallFolder(char drive)
{
    return std::string(1, drive) + ":\\Korvexa商城";
}

TEST(WriteClientSettingsTest, ReplacesTheThreePathsAndKeepsEverythingElse)
{
    for (char drive : {'E', 'C'}) {
        ScratchFolder install(InstallFolder(drive));
        ScratchFolder quotes(install.Path() + "\\DQ");
        std::string file = quotes.Path() + "\\ICONFIG.INI";
        ASSERT_TRUE(WriteTextFile(file, kSettingsOnC));

        EXPECT_TRUE(WriteClientSettings(std::string(1, drive))) << drive;

        std::string written = ReadWholeFile(file);
        EXPECT_EQ(written, SettingsOn(drive)) << drive << "\n" << Utf8(written);
    }
}

TEST(WriteClientSettingsTest, CreatesAMissingFileWithTheSectionAndTheThreeKeys)
{
    ScratchFolder install(InstallFolder('D'));
    ScratchFolder quotes(install.Path() + "\\DQ");

    EXPECT_TRUE(WriteClientSettings("D"));

    std::string written = ReadWholeFile(quotes.Path() + "\\ICONFIG.INI");
    EXPECT_EQ(written,
              "[ICONFIG]\r\n"
              "ORDER=D:\\Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe\r\n"
              "BASEPATH=D:\\Korvexa商城\\DQ\r\n"
              "ALERT=D:\\Korvexa商城\\DQ\\USERS\\ALERT.WAV\r\n")
        << Utf8(written);
}

TEST(WriteClientSettingsTest, FailsWithoutTheQuotesClientFolder)
{
    ScratchFolder install(InstallFolder('D'));

    EXPECT_FALSE(WriteClientSettings("D"));
    EXPECT_EQ(GetFileAttributesA((install.Path() + "\\DQ").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
