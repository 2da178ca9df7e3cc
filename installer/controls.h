// The installer window's own control classes: the picture box and the transparent label.
#pragma once

#include "png_picture.h"

#include <windows.h>

// Sent to the parent as the notification code of WM_COMMAND when the left button goes down on a label.
constexpr WORD LABEL_PRESSED = 0x0400;

struct TransparentLabelLook {
    COLORREF textColor = RGB(0, 0, 0);
    UINT alignment = DT_LEFT; // DT_LEFT or DT_CENTER
    bool handPointer = false;
};

bool RegisterControlClasses(HINSTANCE instance);

// A transparent label: text drawn in transparent mode over the parent's background.
HWND CreateTransparentLabel(HWND parent, int id, const char* text, RECT bounds, const TransparentLabelLook& look);

// A borderless picture control that draws the picture stretched to its whole client area.
// The picture must outlive the control; without one the control shows its background only.
HWND CreatePictureBox(HWND parent, int id, RECT bounds, const DecodedPicture* picture);
