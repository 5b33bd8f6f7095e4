// The About dialog.
#include "frontends/win32/win32_about_box.h"

#include "frontends/win32/resource_ids.h"
#include "frontends/win32/twips.h"
#include "wizard/events.h"

namespace win32ui {

namespace {

constexpr wchar_t className[] = L"VeltConverterAboutBox";
constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD exStyle = WS_EX_DLGMODALFRAME;
// A control's id: its place in the form's table; the OK button is the dialog's IDOK.
int idOf(std::string_view name) {
    if (name == ui::form::aboutDefault().name)
        return IDOK;
    const auto controls = ui::form::aboutControls();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name)
            return 101 + static_cast<int>(i);
    }
    return 0;
}

void registerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = procedure;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = className;
        return RegisterClassExW(&c) != 0;
    }();
    (void)registered;
}

}  // namespace

Win32AboutBox::Win32AboutBox()
    : title_(look_, {.fit = true, .percent = ui::form::aboutTitlePercent, .bold = true}),
      version_(look_, {}),
      description_(look_, {.fit = true}) {}

Win32AboutBox::~Win32AboutBox() {
    unload();
}

void Win32AboutBox::create() {
    registerClass(procedure);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    dialog_ = CreateWindowExW(exStyle, className, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                              100, owner_, nullptr, instance, this);
    look_.setDpi(windowDpi(dialog_));
    // The icon is painted on the dialog itself.
    for (const ui::form::Control& c : ui::form::aboutControls()) {
        if (c.kind == ui::form::Kind::picture)
            continue;
        const bool ok = c.kind == ui::form::Kind::defaultButton;
        CreateWindowExW(
            0, ok ? L"BUTTON" : L"STATIC", ok ? L"OK" : L"",
            WS_CHILD | WS_VISIBLE | (ok ? WS_TABSTOP | BS_DEFPUSHBUTTON : SS_LEFT | SS_NOPREFIX), 0,
            0, 0, 0, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(c.name))), instance,
            nullptr);
    }
    ok_ = control(ui::form::aboutDefault().name);
    layout();
    title_.attach(control("lblTitle"));
    version_.attach(control("lblVersion"));
    description_.attach(control("lblDescription"));
}

void Win32AboutBox::layout() {
    const UINT dpi = look_.dpi;
    RECT client = twipsRect(dpi, ui::form::aboutClient);
    const RECT outer = outerRect(client, style, exStyle, false, dpi);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    RECT over{};
    if (owner_ != nullptr)
        GetWindowRect(owner_, &over);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    SetWindowPos(dialog_, nullptr, over.left + (over.right - over.left - width) / 2,
                 over.top + (over.bottom - over.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ui::form::Control& c : ui::form::aboutControls()) {
        if (HWND w = control(c.name); w != nullptr) {
            const RECT r = twipsRect(dpi, c.place);
            MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        }
    }
    SendMessageW(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(look_.font.get()), TRUE);
    for (Win32Label* l : {&title_, &version_, &description_}) {
        if (l->handle() != nullptr)
            l->restyle();
    }

    if (icon_ != nullptr)
        DestroyIcon(icon_);
    const int size = static_cast<int>(32 * pictureScale(dpi) + 0.5);
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELT_ICON),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    InvalidateRect(dialog_, nullptr, TRUE);
}

void Win32AboutBox::destroy() {
    for (Win32Label* l : {&title_, &version_, &description_})
        l->attach(nullptr);
    // May run inside the dialog's own OK click: nothing of it is touched after this.
    HWND dialog = dialog_;
    dialog_ = nullptr;
    ok_ = nullptr;
    DestroyWindow(dialog);
    if (icon_ != nullptr)
        DestroyIcon(icon_);
    icon_ = nullptr;
}

void Win32AboutBox::present() {
    ShowWindow(dialog_, SW_SHOW);
    SetWindowPos(dialog_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(dialog_);
    SetFocus(ok_);
}

void Win32AboutBox::showCaption(const std::string& caption) {
    if (dialog_ != nullptr)
        SetWindowTextW(dialog_, wide(caption).c_str());
}

HWND Win32AboutBox::control(std::string_view name) const {
    const int id = idOf(name);
    return dialog_ == nullptr || id == 0 ? nullptr : GetDlgItem(dialog_, id);
}

bool Win32AboutBox::preTranslate(MSG& message) {
    return dialog_ != nullptr && IsDialogMessageW(dialog_, &message) != FALSE;
}

LRESULT CALLBACK Win32AboutBox::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32AboutBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->dialog_ != window)
        return DefWindowProcW(window, message, w, l);
    return guarded(window, [&] { return self->handle(message, w, l); });
}

LRESULT Win32AboutBox::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
                wizard::handle(*ui::form::aboutDefault().click);
                return 0;
            }
            break;
        case WM_CLOSE:
            wizard::handle(*ui::form::aboutDefault().click);
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(w);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(dialog_, &ps);
            const RECT r = twipsRect(look_.dpi, ui::form::aboutControl("picIcon")->place);
            const int size = static_cast<int>(32 * pictureScale(look_.dpi) + 0.5);
            if (icon_ != nullptr)
                DrawIconEx(dc, (r.left + r.right - size) / 2, (r.top + r.bottom - size) / 2, icon_,
                           size, size, 0, nullptr, DI_NORMAL);
            EndPaint(dialog_, &ps);
            return 0;
        }
        case WM_DPICHANGED: {
            look_.setDpi(HIWORD(w));
            layout();
            const auto* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(dialog_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(dialog_, message, w, l);
}

}  // namespace win32ui
