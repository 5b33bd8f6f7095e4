// The main window's child windows made from the form's table, laid out for the window's DPI,
// and painted: the pictures and the frame lines lie on the window itself, below its controls, so
// the status box and the progress bar that overlap a picture stay readable.
#include "frontends/win32/win32_main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string_view>

#include "frontends/win32/resource_ids.h"
#include "frontends/win32/twips.h"
#include "platform/error.h"
#include "state/identity.h"

namespace win32ui {

namespace {

constexpr DWORD windowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int firstChildId = 100;

// A control's id: its place in the form's table.
int idOf(std::string_view name) {
    const auto controls = ui::form::mainControls();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name)
            return firstChildId + static_cast<int>(i);
    }
    return 0;
}

struct WindowKind {
    const wchar_t* name;
    DWORD style, exStyle;
};

WindowKind windowKind(ui::form::Kind kind) {
    using enum ui::form::Kind;
    switch (kind) {
        case driveList:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case button:
            return {WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0};
        case defaultButton:
            return {WC_BUTTONW, BS_DEFPUSHBUTTON | WS_TABSTOP, 0};
        case pictureHolder:
            return {WC_BUTTONW, BS_OWNERDRAW, 0};
        case statusBox:
            return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
        case logBox:
            return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case progressBar:
            return {PROGRESS_CLASSW, 0, 0};
        case label:
        case picture:
            break;
    }
    return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
}

// The child windows, created in tab order (the drive list first), then the others; the
// pictures are painted on the window itself.
std::vector<const ui::form::Control*> creationOrder() {
    std::vector<const ui::form::Control*> order;
    const auto tabs = ui::form::tabOrder();
    for (std::string_view name : tabs)
        order.push_back(ui::form::mainControl(name));
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (std::find(tabs.begin(), tabs.end(), c.name) == tabs.end() &&
            c.kind != ui::form::Kind::picture)
            order.push_back(&c);
    }
    return order;
}

UINT boxFlags(ui::Buttons buttons, ui::Icon icon) {
    UINT flags = buttons == ui::Buttons::yesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case ui::Icon::critical:
            return flags | MB_ICONERROR;
        case ui::Icon::question:
            return flags | MB_ICONQUESTION;
        case ui::Icon::exclamation:
            return flags | MB_ICONWARNING;
        case ui::Icon::information:
            return flags | MB_ICONINFORMATION;
        case ui::Icon::none:
            break;
    }
    return flags;
}

int penWidth(UINT dpi) {
    return std::max(1, static_cast<int>(std::lround(dpi / 96.0)));
}

}  // namespace

Win32MainWindow::Win32MainWindow()
    : driveSize_(look_, {.fit = true}), summaryLabel_(look_, {.fit = true}) {
    create();
}

Win32MainWindow::~Win32MainWindow() {
    about_.unload();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

namespace {

// The window class, registered once for the process.
void registerClass(HINSTANCE instance, WNDPROC procedure) {
    static const bool registered = [instance, procedure] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = procedure;
        c.hInstance = instance;
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = Win32MainWindow::className;
        c.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(VELT_ICON));
        c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELT_ICON), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0));
        return RegisterClassExW(&c) != 0;
    }();
    (void)registered;
}

// The menu bar from the form's table; an entry's command id is its place in the table.
HMENU buildMenu() {
    HMENU menu = CreateMenu();
    std::map<std::string_view, HMENU> dropDowns;
    for (const ui::form::MenuEntry& entry : ui::form::menu()) {
        HMENU holder = menu;
        if (!entry.dropDown.empty()) {
            HMENU& popup = dropDowns[entry.dropDown];
            if (popup == nullptr) {
                popup = CreatePopupMenu();
                AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                            wide(std::string(entry.dropDown)).c_str());
            }
            holder = popup;
        }
        AppendMenuW(holder, MF_STRING | (entry.enabled ? 0 : MF_GRAYED),
                    Win32MainWindow::firstMenuId + static_cast<int>(entry.id),
                    wide(std::string(entry.text)).c_str());
    }
    return menu;
}

}  // namespace

void Win32MainWindow::create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, procedure);
    HMENU menu = buildMenu();
    window_ = CreateWindowExW(0, className, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                              100, nullptr, menu, instance, this);
    look_.setDpi(windowDpi(window_));
    about_.setOwner(window_);

    for (const ui::form::Control* c : creationOrder()) {
        const WindowKind kind = windowKind(c->kind);
        CreateWindowExW(kind.exStyle, kind.name, L"",
                        WS_CHILD | kind.style | (c->visible ? WS_VISIBLE : 0), 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(c->name))), instance,
                        nullptr);
        if (c->kind == ui::form::Kind::button || c->kind == ui::form::Kind::pictureHolder) {
            buttons_.push_back(std::make_unique<Win32Button>(control(c->name), look_));
            buttons_.back()->setPicture(c->picture);
        }
    }
    // Made for a narrow sans serif at 11 points: its two- and three-line statuses fit.
    mainText_ = std::make_unique<Win32TextBox>(control("mainText"), look_, L"Arial");
    logText_ = std::make_unique<Win32TextBox>(control("logText"), look_);
    driveSize_.attach(control("DriveSize"));
    summaryLabel_.attach(control("Label2"));
    driveList_ = std::make_unique<Win32DriveList>(control("DriveList"));
    progressBar_ = std::make_unique<Win32ProgressBar>(control("ProgressBar1"));
    for (ui::FrameLine& l : frameLines())
        l.onMove = [this](const ui::FrameLine& moved) { lineMoved(moved); };
    attach({mainText_.get(), logText_.get(), &driveSize_, &summaryLabel_,
            buttonOf(control("buttonOK")), buttonOf(control("buttonBack")),
            buttonOf(control("buttonExit")), buttonOf(control("buttonLog")), driveList_.get(),
            progressBar_.get(), &about_});

    layout();
    mainText_->setText("Please wait...");
    resize(height());
}

// Every control at its twips for the window's DPI, with the fonts and pictures for it.
void Win32MainWindow::layout() {
    const UINT dpi = look_.dpi;
    for (const ui::form::Control* c : creationOrder()) {
        HWND w = control(c->name);
        const RECT r = twipsRect(dpi, c->place);
        const int height = r.bottom - r.top;
        if (w == driveList_->handle()) {
            // The height given to a drop-down list is that of its open list; the closed box is
            // made as high as its twips by the height of its selection field.
            MoveWindow(w, r.left, r.top, r.right - r.left, height * 9, TRUE);
            SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(look_.font.get()), TRUE);
            // Systems differ in what they add to the field (and in what they report of it), so
            // it is set, measured and set again until the box fits.
            auto field = SendMessageW(w, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            for (int pass = 0; pass < 3 && field > 0; ++pass) {
                RECT closed{};
                GetWindowRect(w, &closed);
                const int off = height - (closed.bottom - closed.top);
                if (off == 0 || field + off <= 0)
                    break;
                field += off;
                SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
            }
        } else {
            MoveWindow(w, r.left, r.top, r.right - r.left, height, TRUE);
        }
    }
    mainText_->restyle();
    logText_->restyle();
    driveSize_.restyle();
    summaryLabel_.restyle();
    for (const auto& b : buttons_)
        b->restyle();
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.kind == ui::form::Kind::picture)
            art_[c.art] = loadArt(c.art, dpi);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32MainWindow::paint(HDC dc) {
    const UINT dpi = look_.dpi;
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.kind == ui::form::Kind::picture)
            drawCentred(dc, art_[c.art], twipsRect(dpi, c.place));
    }
    const int width = penWidth(dpi);
    HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
    HPEN pen = CreatePen(PS_SOLID, width, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    for (const ui::FrameLine& l : frameLines()) {
        const int x1 = px(l.x1(), dpi), y1 = px(l.y1(), dpi);
        const int x2 = px(l.x2(), dpi), y2 = px(l.y2(), dpi);
        if (x1 == x2 || y1 == y2) {
            const RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + width,
                         std::max(y1, y2) + width};
            FillRect(dc, &r, ink);
        } else {
            MoveToEx(dc, x1, y1, nullptr);
            LineTo(dc, x2, y2);
        }
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Win32MainWindow::lineMoved(const ui::FrameLine& l) {
    const UINT dpi = look_.dpi;
    const int width = penWidth(dpi);
    const int x1 = px(l.x1(), dpi), y1 = px(l.y1(), dpi);
    const int x2 = px(l.x2(), dpi), y2 = px(l.y2(), dpi);
    const RECT r{std::min(x1, x2) - width, std::min(y1, y2) - width, std::max(x1, x2) + 2 * width,
                 std::max(y1, y2) + 2 * width};
    InvalidateRect(window_, &r, TRUE);
}

HWND Win32MainWindow::control(std::string_view name) const {
    const int id = idOf(name);
    return id == 0 ? nullptr : GetDlgItem(window_, id);
}

Win32Button* Win32MainWindow::buttonOf(HWND control) {
    for (const auto& b : buttons_) {
        if (b->handle() == control)
            return b.get();
    }
    return nullptr;
}

std::string Win32MainWindow::caption() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return utf8(text);
}

void Win32MainWindow::setCaption(const std::string& caption) {
    SetWindowTextW(window_, wide(caption).c_str());
}

void Win32MainWindow::resize(int twips) {
    const UINT dpi = look_.dpi;
    const RECT client{0, 0, px(ui::form::clientWidth, dpi),
                      std::max(0, px(twips - ui::form::nonClientHeight, dpi))};
    const RECT outer = outerRect(client, windowStyle, 0, true, dpi);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps, or a frame drawn for another DPI than asked, leaves the client
    // area off by what is measured now.
    RECT now{};
    GetClientRect(window_, &now);
    if (!IsIconic(window_) && (now.right != client.right || now.bottom != client.bottom)) {
        width += client.right - now.right;
        height += client.bottom - now.bottom;
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32MainWindow::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

bool Win32MainWindow::focused(std::string_view name) const {
    const HWND focus = GetFocus();
    const HWND c = control(name);
    return focus != nullptr && c != nullptr && (focus == c || IsChild(c, focus));
}

ui::Answer Win32MainWindow::showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                                    const std::string& title) {
    // Before the window is shown (another instance found) the box stands alone.
    const bool owned = IsWindowVisible(window_) != FALSE;
    const UINT flags = boxFlags(buttons, icon) | (owned ? 0 : MB_TASKMODAL | MB_SETFOREGROUND);
    const int pressed =
        MessageBoxW(owned ? window_ : nullptr, wide(text).c_str(), wide(title).c_str(), flags);
    // Closed any other way than by a button, a question counts as answered No.
    ui::Answer answer = buttons == ui::Buttons::ok ? ui::Answer::ok : ui::Answer::no;
    if (pressed == IDYES)
        answer = ui::Answer::yes;
    return answer;
}

// As written for the designed-for platform: the class name read into a buffer of 32 "a"s, then
// a top-level window of that class with the application's title. This window has no title yet.
bool Win32MainWindow::anotherInstanceRunning() {
    std::array<char, 33> name{};
    std::fill_n(name.begin(), 32, 'a');
    if (GetClassNameA(window_, name.data(), 32) == 0)
        return false;  // the class name cannot be read: no check
    return FindWindowA(name.data(), app::appTitle) != nullptr;
}

void Win32MainWindow::close() {
    if (about_.dialog() != nullptr)
        ShowWindow(about_.dialog(), SW_HIDE);
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

void Win32MainWindow::keepAlive() {
    MSG message;
    // Messages sent by other threads are delivered inside PeekMessage, and the call tells the
    // system that the window is answering; posted and input messages stay in the queue.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (about_.dialog() != nullptr)
        RedrawWindow(about_.dialog(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A themed progress bar moves to its new value by its own timer.
    const HWND bar = progressBar_->handle();
    for (int i = 0; i < 8 && PeekMessageW(&message, bar, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        DispatchMessageW(&message);
}

void Win32MainWindow::setImageDrives(platform::ImageDriveTable* drives) {
    imageDrives_ = drives;
    EnableMenuItem(GetMenu(window_), firstMenuId + static_cast<int>(ui::form::Menu::disketteImage),
                   MF_BYCOMMAND | (drives != nullptr ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

}  // namespace win32ui
