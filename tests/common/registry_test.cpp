// Reading the install-drive value from the registry.
#include "registry.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const std::string kPath = "Korvexa商城\\安装目录";

class ReadRegistryTextTest : public ::testing::Test {
protected:
    void TearDown() override { ClearInstallDriveValue(); }
};

TEST_F(ReadRegistryTextTest, ReadsTextValuesAndFallsBackToTheDefault)
{
    const DWORD number = 4;
    const char expandable[] = "%SystemDrive%";
    const char withoutTerminator[] = {'D', 'E'};
    struct Case {
        const char* name;
        bool present;
        DWORD type;
        const void* data;
        DWORD size;
        std::string expected;
    } cases[] = {
        {"no key", false, 0, nullptr, 0, "shibai"},
        {"drive letter", true, REG_SZ, "D", 2, "D"},
        {"several letters", true, REG_SZ, "DE", 3, "DE"},
        {"no terminator stored", true, REG_SZ, withoutTerminator, 2, "DE"},
        {"only the terminator", true, REG_SZ, "", 1, ""},
        {"zero bytes", true, REG_SZ, "", 0, "shibai"},
        {"literally shibai", true, REG_SZ, "shibai", 7, "shibai"},
        {"expandable", true, REG_EXPAND_SZ, expandable, sizeof expandable, "C:"},
        {"number", true, REG_DWORD, &number, sizeof number, "shibai"},
        {"binary", true, REG_BINARY, "D", 2, "shibai"},
    };
    for (const Case& c : cases) {
        if (c.present)
            SetInstallDriveValue(c.type, c.data, c.size);
        else
            ClearInstallDriveValue();
        EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kPath, "shibai"), c.expected) << c.name;
    }
}

TEST_F(ReadRegistryTextTest, KeyBelowSoftwareIsNotFound)
{
    ClearInstallDriveValue();
    ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, "Software\\Korvexa商城\\安装目录", "D"));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kPath, "shibai"), "shibai");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, "Software\\Korvexa商城\\安装目录", "shibai"), "D");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Korvexa商城");
}

TEST_F(ReadRegistryTextTest, WrittenValueIsReadBackAsRegSz)
{
    ClearInstallDriveValue();
    ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, kPath, "E"));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kPath, "shibai"), "E");
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Korvexa商城", "安装目录", RRF_RT_ANY, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 2u);
}

TEST_F(ReadRegistryTextTest, DeletingTheItemRemovesTheKey)
{
    ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, kPath, "E"));
    EXPECT_TRUE(DeleteRegistryItem(HKEY_CURRENT_USER, "Korvexa商城"));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kPath, "shibai"), "shibai");
}

} // namespace
