// The installer window's own control classes: the picture box and the transparent label.
#include "controls.h"

#include <memory>

namespace {

constexpr char kTransparentLabelClass[] = "KorvexaTransparentLabel";
constexpr char kPictureBoxClass[] = "KorvexaPictureBox";

struct LabelState {
    TransparentLabelLook look;
    HFONT font = nullptr;
};

LabelState* LabelStateOf(HWND window)
{
    return reinterpret_cast<LabelState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The parent paints its own background into the label's area: the label has none of its own.
void PaintParentBackground(HWND window, HDC dc)
{
    HWND parent = GetParent(window);
    POINT origin{0, 0};
    MapWindowPoints(window, parent, &origin, 1);
    POINT previous;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void PaintLabel(HWND window, const LabelState& state)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    char text[256] = {};
    int length = GetWindowTextA(window, text, sizeof text);
    RECT client;
    GetClientRect(window, &client);
    HGDIOBJ oldFont = state.font ? SelectObject(dc, state.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, state.look.textColor);
    DrawTextA(dc, text, length, &client, state.look.alignment | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (oldFont)
        SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK TransparentLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LabelState* state = LabelStateOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* look = static_cast<const TransparentLabelLook*>(create->lpCreateParams);
        auto owned = std::make_unique<LabelState>();
        if (look)
            owned->look = *look;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
        break;
    }
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    case WM_SETFONT:
        if (state) {
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_ERASEBKGND:
        PaintParentBackground(window, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        if (state) {
            PaintLabel(window, *state);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (state && state->look.handPointer && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        // The press itself, not the completed click; the second press of a double click
        // arrives as WM_LBUTTONDBLCLK, which is left unanswered.
        SendMessageA(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(window), LABEL_PRESSED), reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_PAINT: {
        auto* picture = reinterpret_cast<const DecodedPicture*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (picture) {
            RECT client;
            GetClientRect(window, &client);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, picture->width, picture->height,
                          picture->rows.data(), &picture->info, DIB_RGB_COLORS, SRCCOPY);
        }
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background, UINT style)
{
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(instance, name, &existing))
        return true;
    WNDCLASSEXA windowClass{sizeof windowClass};
    windowClass.style = style;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

} // namespace

bool RegisterControlClasses(HINSTANCE instance)
{
    return RegisterClassOnce(instance, kTransparentLabelClass, TransparentLabelProc, nullptr, CS_DBLCLKS)
        && RegisterClassOnce(instance, kPictureBoxClass, PictureBoxProc,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), 0);
}

HWND CreateTransparentLabel(HWND parent, int id, const char* text, RECT bounds, const TransparentLabelLook& look)
{
    return CreateWindowExA(0, kTransparentLabelClass, text, WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           const_cast<TransparentLabelLook*>(&look));
}

HWND CreatePictureBox(HWND parent, int id, RECT bounds, const DecodedPicture* picture)
{
    return CreateWindowExA(0, kPictureBoxClass, "", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           const_cast<DecodedPicture*>(picture));
}
