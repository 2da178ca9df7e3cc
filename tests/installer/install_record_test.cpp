// The registry record of the installation.
#include "install_record.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordInstallDriveTest, StoresTheLetterAsRegSzWithItsTerminator)
{
    for (bool keyExists : {false, true}) {
        if (keyExists)
            SetInstallDriveText("D");
        else
            ClearInstallDriveValue();

        EXPECT_TRUE(RecordInstallDrive("E"));

        DWORD type = 0;
        BYTE data[8] = {0xFF, 0xFF, 0xFF, 0xFF};
        DWORD size = sizeof data;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Korvexa商城", "安装目录", RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                               &size),
                  ERROR_SUCCESS)
            << keyExists;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, 2u);
        EXPECT_EQ(data[0], 'E');
        EXPECT_EQ(data[1], 0);
    }
    ClearInstallDriveValue();
}

} // namespace
