// The installer window: QR picture, advice, drive box and the "安装" control.
#include "installer_window.h"

#include "controls.h"
#include "drive_box.h"
#include "install_sequence.h"
#include "png_picture.h"
#include "probe.h"
#include "program.h"

#include "blocks.h"
#include "owners.h"

#include <memory>
#include <optional>

namespace {

constexpr char kInstallerWindowClass[] = "KorvexaInstallerWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// What the window holds for its whole life.
struct WindowResources {
    UniqueGdiObject installFont; // font 1, the install control
    UniqueGdiObject smallFont;   // font 2, the drive box and the labels around it
    UniqueGdiObject whiteBrush;
    UniqueIcon largeIcon;
    UniqueIcon smallIcon;
    std::optional<DecodedPicture> picture;
};

std::unique_ptr<WindowResources> resources;

void ReleaseWindowResources()
{
    resources.reset();
}

HFONT CreateSongtiFont(int height, bool underline)
{
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    font.lfUnderline = underline;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpyA(font.lfFaceName, "宋体");
    return CreateFontIndirectA(&font);
}

std::unique_ptr<WindowResources> LoadWindowResources(HINSTANCE instance)
{
    auto loaded = std::make_unique<WindowResources>();
    loaded->installFont = UniqueGdiObject(CreateSongtiFont(-21, true));
    loaded->smallFont = UniqueGdiObject(CreateSongtiFont(-12, false));
    loaded->whiteBrush = UniqueGdiObject(CreateSolidBrush(RGB(255, 255, 255)));
    loaded->largeIcon = UniqueIcon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    loaded->smallIcon = UniqueIcon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    loaded->picture = DecodePng(WindowPictureBlock());
    return loaded;
}

HFONT FontOf(const UniqueGdiObject& font)
{
    return static_cast<HFONT>(font.Get());
}

HWND CreateLabel(HWND parent, int id, const char* text, RECT bounds)
{
    return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                           bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
}

RECT Bounds(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

bool CreateControls(HWND window)
{
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HFONT installFont = FontOf(resources->installFont);
    HFONT smallFont = FontOf(resources->smallFont);
    const DecodedPicture* picture = resources->picture ? &*resources->picture : nullptr;

    HWND picture1 = CreatePictureBox(window, PICTURE_BOX_1, Bounds(16, 24, 128, 128), picture);
    HWND label1 = CreateLabel(window, LABEL_1, "安卓端请扫描左侧二维码下载安装！", Bounds(160, 72, 192, 24));
    HWND label2 = CreateLabel(window, LABEL_2, "iOS请在App Store中搜索“Korvexa”安装！", Bounds(24, 160, 272, 24));
    HWND label4 = CreateTransparentLabel(window, TRANSPARENT_LABEL_4, "安装目录：", Bounds(11, 200, 61, 16), {});
    HWND driveBox = CreateDriveBox(window, DRIVE_BOX_1, Bounds(75, 198, 40, 20));
    HWND label5 = CreateTransparentLabel(window, TRANSPARENT_LABEL_5, "\\Korvexa商城", Bounds(115, 200, 117, 16), {});
    TransparentLabelLook installLook{RGB(128, 0, 0), DT_CENTER, true};
    HWND label1Install = CreateTransparentLabel(window, TRANSPARENT_LABEL_1, "安装", Bounds(288, 192, 48, 28), installLook);
    if (!picture1 || !label1 || !label2 || !label4 || !driveBox || !label5 || !label1Install)
        return false;

    for (HWND control : {picture1, label1, label2})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    for (HWND control : {label4, label5, driveBox})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont), FALSE);
    SendMessageA(label1Install, WM_SETFONT, reinterpret_cast<WPARAM>(installFont), FALSE);

    FillDriveBox(driveBox);
    return true;
}

LRESULT OnControlColour(HDC dc)
{
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(resources->whiteBrush.Get());
}

void OnCommand(HWND window, WORD id, WORD code, HWND control)
{
    if (id == IDCANCEL) { // Esc, through the dialog keyboard handling
        SendMessageA(window, WM_CLOSE, 0, 0);
    } else if (id == DRIVE_BOX_1 && code == CBN_SELENDOK) {
        OnDriveBoxSelectionAccepted(control);
    } else if (id == TRANSPARENT_LABEL_1 && code == LABEL_PRESSED) {
        RunInstallSequence(window);
    }
}

LRESULT CALLBACK InstallerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return CreateControls(window) ? 0 : -1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (resources)
            return OnControlColour(reinterpret_cast<HDC>(wParam));
        break;
    case WM_SETFOCUS:
        SetFocus(DriveBoxOf(window));
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DESTROY:
        OnProgramWindowDestroyed();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterInstallerWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(instance, kInstallerWindowClass, &existing))
        return true;
    WNDCLASSEXA windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = InstallerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kInstallerWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

} // namespace

HWND CreateInstallerWindow(HINSTANCE instance)
{
    if (!RegisterInstallerWindowClass(instance) || !RegisterControlClasses(instance))
        return nullptr;
    if (!resources) {
        resources = LoadWindowResources(instance);
        RegisterStartupRelease(ReleaseWindowResources);
    }

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kInstallerWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kInstallerWindowHeight) / 2;
    HWND window = CreateWindowExA(0, kInstallerWindowClass, kInstallerWindowTitle, kWindowStyle, left, top,
                                  kInstallerWindowWidth, kInstallerWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;

    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != kInstallerWindowWidth || outer.bottom - outer.top != kInstallerWindowHeight)
        SetWindowPos(window, nullptr, 0, 0, kInstallerWindowWidth, kInstallerWindowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(resources->largeIcon.Get()));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(resources->smallIcon.Get()));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    ProbePreviousInstallation(DriveBoxOf(window));

    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

HWND DriveBoxOf(HWND installerWindow)
{
    return GetDlgItem(installerWindow, DRIVE_BOX_1);
}
