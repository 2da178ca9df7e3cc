// The installer window created inside the test process: what another process cannot read
// under Wine (fonts, icons, the pointer, the picture's pixels) and the drive box operations.
#include "drive_box.h"
#include "installer_window.h"
#include "png_picture.h"
#include "program.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

class WindowPartsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearInstallDriveValue();
        SetCurrentDirectoryA("C:\\");
        window_ = CreateInstallerWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        ClearInstallDriveValue();
    }

    HWND Control(int id) { return GetDlgItem(window_, id); }

    HWND window_ = nullptr;
};

TEST_F(WindowPartsTest, ControlsUseTheirFonts)
{
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    struct Case {
        const char* name;
        int id;
        LONG height;
        BYTE underline;
    } songti[] = {
        {"install control", TRANSPARENT_LABEL_1, -21, TRUE},
        {"install directory label", TRANSPARENT_LABEL_4, -12, FALSE},
        {"folder name label", TRANSPARENT_LABEL_5, -12, FALSE},
        {"drive box", DRIVE_BOX_1, -12, FALSE},
    };
    for (const Case& c : songti) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(Control(c.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << c.name;
        LOGFONTA logFont{};
        ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont)) << c.name;
        EXPECT_EQ(logFont.lfHeight, c.height) << c.name;
        EXPECT_EQ(logFont.lfWidth, 0) << c.name;
        EXPECT_EQ(logFont.lfEscapement, 0) << c.name;
        EXPECT_EQ(logFont.lfOrientation, 0) << c.name;
        EXPECT_EQ(logFont.lfWeight, 700) << c.name;
        EXPECT_EQ(logFont.lfItalic, 0) << c.name;
        EXPECT_EQ(logFont.lfUnderline, c.underline) << c.name;
        EXPECT_EQ(logFont.lfStrikeOut, 0) << c.name;
        EXPECT_EQ(logFont.lfCharSet, 134) << c.name;
        EXPECT_EQ(logFont.lfOutPrecision, 3) << c.name;
        EXPECT_EQ(logFont.lfClipPrecision, 2) << c.name;
        EXPECT_EQ(logFont.lfQuality, 1) << c.name;
        EXPECT_EQ(logFont.lfPitchAndFamily, 2) << c.name;
        EXPECT_STREQ(logFont.lfFaceName, "宋体") << c.name;
    }
    for (int id : {LABEL_1, LABEL_2}) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
        EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT)) << id;
    }
}

TEST_F(WindowPartsTest, CarriesTheApplicationIcon)
{
    for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr) << which;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmBitsPixel, 32) << which;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(WindowPartsTest, HandPointerOnlyOverTheInstallControl)
{
    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    struct Case {
        int id;
        HCURSOR expected;
    } cases[] = {{TRANSPARENT_LABEL_1, hand}, {TRANSPARENT_LABEL_4, arrow}, {TRANSPARENT_LABEL_5, arrow}, {PICTURE_BOX_1, arrow}};
    for (const Case& c : cases) {
        HWND control = Control(c.id);
        SetCursor(nullptr);
        // What the window does when the pointer moves over the control.
        if (!SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
            SetCursor(reinterpret_cast<HCURSOR>(GetClassLongPtrA(control, GCLP_HCURSOR)));
        EXPECT_EQ(GetCursor(), c.expected) << c.id;
    }
}

TEST_F(WindowPartsTest, PictureIsDrawnStretchedIntoThePictureBox)
{
    std::optional<DecodedPicture> picture = DecodePng(WindowPictureBlock());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 400);
    EXPECT_EQ(picture->height, 400);

    HWND box = Control(PICTURE_BOX_1);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(box);
    // 400 pixels drawn into 128: the quiet zone at the corners is white, the centre of the
    // top-left finder pattern black, the mark in the middle dark red.
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 125, 125), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 22, 22), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 64, 64), RGB(128, 0, 0));
    ReleaseDC(box, dc);
}

TEST_F(WindowPartsTest, DamagedPictureDecodesToNothing)
{
    const unsigned char notPng[] = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
    EXPECT_FALSE(DecodePng({notPng, sizeof notPng}));
    EXPECT_FALSE(DecodePng({nullptr, 0}));
}

TEST_F(WindowPartsTest, DriveBoxSelectsByLetter)
{
    HWND driveBox = Control(DRIVE_BOX_1);
    struct Case {
        std::string drive;
        LRESULT selected; // entry index: C:, D:, E:
        std::string letter;
    } cases[] = {
        {"D:", 1, "D"}, {"c:", 0, "C"}, {"e", 2, "E"}, {"E:\\anything", 2, "E"},
        {"Z:", -1, "C"}, // no such fixed drive: nothing selected, the current drive answers
        {"F:", -1, "C"}, // the CD-ROM is not listed
        {"", 0, "C"},    // the current drive
    };
    for (const Case& c : cases) {
        SelectDriveByLetter(driveBox, c.drive);
        EXPECT_EQ(SendMessageA(driveBox, CB_GETCURSEL, 0, 0), c.selected) << c.drive;
        EXPECT_EQ(SelectedDriveLetter(driveBox), c.letter) << c.drive;
    }
    SetCurrentDirectoryA("D:\\");
    SelectDriveByLetter(driveBox, "Z");
    EXPECT_EQ(SelectedDriveLetter(driveBox), "D");
    SetCurrentDirectoryA("C:\\");
}

TEST_F(WindowPartsTest, UsersChoiceBecomesTheStoredLetter)
{
    HWND driveBox = Control(DRIVE_BOX_1);
    SendMessageA(driveBox, CB_SETCURSEL, 2, 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(DRIVE_BOX_1, CBN_SELENDOK), reinterpret_cast<LPARAM>(driveBox));
    EXPECT_EQ(SelectedDriveLetter(driveBox), "E");
}

TEST_F(WindowPartsTest, ProbeKeepsTheRecordedText)
{
    DestroyWindow(window_);
    SetInstallDriveText("DE");
    window_ = CreateInstallerWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(recordedDrive, "DE");

    DestroyWindow(window_);
    ClearInstallDriveValue();
    window_ = CreateInstallerWindow(GetModuleHandleA(nullptr));
    EXPECT_EQ(recordedDrive, "shibai");
}

TEST(DriveEntryText, FixedDriveWithAndWithoutLabel)
{
    EXPECT_EQ(FixedDriveEntryText('C', "System"), "C: （硬盘） System");
    EXPECT_EQ(FixedDriveEntryText('D', ""), "D: （硬盘）");
}

} // namespace
