// Twips (1/1440 inch) to pixels at a window's DPI, and the DPI calls of newer systems looked up
// at run time, so that the program still starts where they are missing.
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace win32ui {

// The DPI of the monitor `window` is on (the system's DPI where that cannot be asked).
UINT windowDpi(HWND window);

// Pixels for `twips` at `dpi`.
int px(int twips, UINT dpi);

// A control's rectangle at `dpi`.
RECT twipsRect(UINT dpi, const ui::form::Rect& twips);
inline RECT twipsRect(UINT dpi, int left, int top, int width, int height) {
    return twipsRect(dpi, ui::form::Rect{left, top, width, height});
}

// How much larger than at 96 DPI pictures are drawn (1 at 96 DPI).
double pictureScale(UINT dpi);

// The outer rectangle of a window whose client area is `client`.
RECT outerRect(const RECT& client, DWORD style, DWORD exStyle, bool menu, UINT dpi);

// The system's message font at `dpi`; `points` other than 0 sets its size.
LOGFONTW messageFont(UINT dpi, int points = 0);
// The size in points of `font` at `dpi`.
int fontPoints(const LOGFONTW& font, UINT dpi);

}  // namespace win32ui
