// The Win32 control adapters.
#include "frontends/win32/win32_controls.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "frontends/win32/twips.h"
#include "ui/form.h"

namespace win32ui {

std::wstring wide(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

bool shownFlag(HWND control) {
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void showFailure(HWND owner, const std::string& text) {
    MessageBoxW(owner, wide(text).c_str(), L"Error!", MB_OK | MB_ICONERROR);
}

void Look::setDpi(UINT newDpi) {
    dpi = newDpi;
    logFont = messageFont(dpi);
    font.reset(CreateFontIndirectW(&logFont));
}

namespace {

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void showControl(HWND control, bool visible) {
    ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

// ---- Win32TextBox ----

Win32TextBox::Win32TextBox(HWND edit, const Look& look, std::wstring face)
    : edit_(edit), look_(look), face_(std::move(face)) {
    // The edit control's default limit (32,767 characters) would cut the log of a large set.
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    text_ = utf8(windowText(edit_));
    length_ = GetWindowTextLengthW(edit_);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    color_ = {GetRValue(window), GetGValue(window), GetBValue(window)};
    restyle();
}

bool Win32TextBox::visible() const {
    return shownFlag(edit_);
}

void Win32TextBox::setVisible(bool visible) {
    showControl(edit_, visible);
}

void Win32TextBox::setText(const std::string& text) {
    const std::wstring shown = wide(text);
    setting_ = true;
    SetWindowTextW(edit_, shown.c_str());
    setting_ = false;
    text_ = text;
    length_ = static_cast<int32_t>(shown.size());
}

void Win32TextBox::appendText(const std::string& more) {
    const std::wstring added = wide(more);
    if (added.empty())
        return;
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    setting_ = true;
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(length_), static_cast<LPARAM>(length_));
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
    SendMessageW(edit_, EM_SETSEL, start, static_cast<LPARAM>(end));
    setting_ = false;
    text_ += more;
    length_ += static_cast<int32_t>(added.size());
}

bool Win32TextBox::locked() const {
    return (GetWindowLongW(edit_, GWL_STYLE) & ES_READONLY) != 0;
}

void Win32TextBox::setLocked(bool locked) {
    SendMessageW(edit_, EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

int Win32TextBox::fontSize() const {
    return points_ > 0 ? points_ : fontPoints(look_.logFont, look_.dpi);
}

void Win32TextBox::setFontSize(int points) {
    points_ = points;
    restyle();
}

void Win32TextBox::restyle() {
    HFONT font = look_.font.get();
    if (points_ > 0 || !face_.empty()) {
        LOGFONTW own = messageFont(look_.dpi, points_);
        if (!face_.empty())
            lstrcpynW(own.lfFaceName, face_.c_str(), LF_FACESIZE);
        font_.reset(CreateFontIndirectW(&own));
        font = font_.get();
    }
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Win32TextBox::setBackColor(ui::Color color) {
    color_ = color;
    brush_.reset(CreateSolidBrush(RGB(color.red, color.green, color.blue)));
    InvalidateRect(edit_, nullptr, TRUE);
}

HBRUSH Win32TextBox::paint(HDC dc) const {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, RGB(color_.red, color_.green, color_.blue));
    return brush_ ? brush_.get() : GetSysColorBrush(COLOR_WINDOW);
}

void Win32TextBox::edited() {
    if (setting_)
        return;
    const std::wstring now = windowText(edit_);
    text_ = utf8(now);
    length_ = static_cast<int32_t>(now.size());
}

int32_t Win32TextBox::selStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int32_t>(start);
}

int32_t Win32TextBox::selLength() const {
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int32_t>(end - start);
}

void Win32TextBox::setSelection(int32_t start, int32_t length) {
    start = std::clamp(start, 0, length_);
    length = std::clamp(length, 0, length_ - start);
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::refresh() {
    RedrawWindow(edit_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---- Win32Label ----

void Win32Label::attach(HWND label) {
    label_ = label;
    font_.reset();
    if (label_ != nullptr)
        show();
}

void Win32Label::show() {
    const std::wstring text = wide(caption_);
    SetWindowTextW(label_, text.c_str());
    LOGFONTW font = look_.logFont;
    font.lfHeight = MulDiv(font.lfHeight, style_.percent, 100);
    if (style_.bold)
        font.lfWeight = FW_BOLD;
    if (style_.fit) {
        RECT room{};
        GetClientRect(label_, &room);
        HDC dc = GetDC(label_);
        const int smallest = MulDiv(6, static_cast<int>(look_.dpi), 72);
        const double size = ui::form::fitSize(-font.lfHeight, 1, smallest, [&](double trialSize) {
            LOGFONTW trialFont = font;
            trialFont.lfHeight = -static_cast<LONG>(trialSize);
            Font trial(CreateFontIndirectW(&trialFont));
            HGDIOBJ old = SelectObject(dc, trial.get());
            RECT needed{0, 0, room.right, 0};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
            SelectObject(dc, old);
            return needed.bottom <= room.bottom && needed.right <= room.right;
        });
        font.lfHeight = -static_cast<LONG>(size);
        ReleaseDC(label_, dc);
    }
    font_.reset(CreateFontIndirectW(&font));
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

bool Win32Label::visible() const {
    return shownFlag(label_);
}

void Win32Label::setVisible(bool visible) {
    if (label_ != nullptr)
        showControl(label_, visible);
}

void Win32Label::setCaption(const std::string& caption) {
    caption_ = caption;
    if (label_ != nullptr)
        show();
}

void Win32Label::refresh() {
    if (label_ != nullptr)
        RedrawWindow(label_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---- Win32Button ----

bool Win32Button::visible() const {
    return shownFlag(button_);
}

void Win32Button::setVisible(bool visible) {
    showControl(button_, visible);
}

bool Win32Button::enabled() const {
    return IsWindowEnabled(button_) != FALSE;
}

void Win32Button::setEnabled(bool enabled) {
    EnableWindow(button_, enabled ? TRUE : FALSE);
}

void Win32Button::setPicture(ui::Picture picture) {
    picture_ = picture;
    restyle();
    // The word is on the picture; the button says it to screen readers, and never draws it.
    static const wchar_t* const words[] = {L"", L"OK", L"Back", L"Exit", L"Log", L"Hide Log"};
    SetWindowTextW(button_, words[static_cast<int>(picture)]);
    InvalidateRect(button_, nullptr, TRUE);
}

void Win32Button::restyle() {
    bitmap_ = loadButtonPicture(picture_, look_.dpi);
}

void Win32Button::setFocus() {
    SetFocus(button_);
}

void Win32Button::draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    if (HTHEME theme = OpenThemeData(button_, L"Button"); theme != nullptr) {
        const int state = disabled  ? PBS_DISABLED
                          : pressed ? PBS_PRESSED
                          : focused ? PBS_DEFAULTED
                                    : PBS_NORMAL;
        DrawThemeParentBackground(button_, dc, &r);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &r, nullptr);
        CloseThemeData(theme);
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }
    RECT area = r;
    if (pressed)
        OffsetRect(&area, 1, 1);
    drawCentred(dc, bitmap_, area, disabled ? BYTE{90} : BYTE{255});
    if (focused && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        const int inset = std::max(3, px(60, look_.dpi));
        InflateRect(&r, -inset, -inset);
        DrawFocusRect(dc, &r);
    }
}

// ---- Win32DriveList ----

Win32DriveList::Win32DriveList(HWND combo) : combo_(combo) {
    refreshDrives();
}

bool Win32DriveList::visible() const {
    return shownFlag(combo_);
}

void Win32DriveList::setVisible(bool visible) {
    showControl(combo_, visible);
}

bool Win32DriveList::enabled() const {
    return IsWindowEnabled(combo_) != FALSE;
}

void Win32DriveList::setEnabled(bool enabled) {
    EnableWindow(combo_, enabled ? TRUE : FALSE);
}

void Win32DriveList::setFocus() {
    SetFocus(combo_);
}

bool Win32DriveList::dropped() const {
    return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

int Win32DriveList::selected() const {
    return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
}

void Win32DriveList::showEntries(const std::vector<std::string>& entries) {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const auto& e : entries) {
        const std::wstring text = wide(e);
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    shown_ = -1;
}

void Win32DriveList::showIndex(int16_t index) {
    SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    shown_ = index;
}

// ---- Win32ProgressBar ----

Win32ProgressBar::Win32ProgressBar(HWND bar) : bar_(bar) {
    showBar();
}

bool Win32ProgressBar::visible() const {
    return shownFlag(bar_);
}

void Win32ProgressBar::setVisible(bool visible) {
    showControl(bar_, visible);
}

void Win32ProgressBar::showBar() {
    const int lo = static_cast<int>(std::lround(min()));
    const int hi = std::max(lo, static_cast<int>(std::lround(max())));
    SendMessageW(bar_, PBM_SETRANGE32, static_cast<WPARAM>(lo), static_cast<LPARAM>(hi));
    SendMessageW(bar_, PBM_SETPOS,
                 static_cast<WPARAM>(std::clamp(static_cast<int>(std::lround(value())), lo, hi)),
                 0);
    UpdateWindow(bar_);
}

}  // namespace win32ui
