// The twips mapping and the DPI calls.
#include "frontends/win32/twips.h"

namespace win32ui {

namespace {

// A user32 function of a newer system, or nullptr.
template <typename F>
F user32(const char* name) {
    const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

UINT systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

UINT windowDpi(HWND window) {
    static const auto getDpiForWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    }
    return systemDpi();
}

int px(int twips, UINT dpi) {
    return ui::form::px(twips, dpi);
}

RECT twipsRect(UINT dpi, const ui::form::Rect& twips) {
    const ui::form::PixelRect r = ui::form::px(twips, dpi, dpi);
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

double pictureScale(UINT dpi) {
    return ui::form::pictureScale(dpi);
}

RECT outerRect(const RECT& client, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
    static const auto adjustForDpi =
        user32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT r = client;
    if (adjustForDpi == nullptr || !adjustForDpi(&r, style, menu, exStyle, dpi)) {
        r = client;
        AdjustWindowRectEx(&r, style, menu, exStyle);
    }
    return r;
}

LOGFONTW messageFont(UINT dpi, int points) {
    static const auto parametersForDpi =
        user32<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (parametersForDpi != nullptr &&
        parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    } else {
        font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
        lstrcpyW(font.lfFaceName, L"Segoe UI");
    }
    if (points > 0)
        font.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    return font;
}

int fontPoints(const LOGFONTW& font, UINT dpi) {
    const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    return MulDiv(height, 72, static_cast<int>(dpi));
}

}  // namespace win32ui
