// Form1's windows and their events. The pictures and the frame lines are painted on the window
// itself, below its controls, so the status box and the progress bar that overlap a picture
// stay readable. The close box, the buttons, the drive list (a pick and a key press), the menu
// entries and the About box all enter the logic through the boundary.
#include "frontends/win32/win32_main_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "frontends/win32/resource_ids.h"
#include "frontends/win32/twips.h"
#include "platform/error.h"
#include "state/identity.h"
#include "ui/session_log.h"
#include "wizard/events.h"

namespace win32ui {

namespace {

constexpr DWORD windowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int firstMenuId = 200;
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
    for (std::string_view name : ui::form::tabOrder())
        order.push_back(ui::form::mainControl(name));
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.tabIndex < 0 && c.kind != ui::form::Kind::picture)
            order.push_back(&c);
    }
    return order;
}

Art artOf(ui::form::Art art) {
    switch (art) {
        case ui::form::Art::diskettes:
            return Art::diskettes;
        case ui::form::Art::card:
            return Art::card;
        case ui::form::Art::title:
        case ui::form::Art::none:
            break;
    }
    return Art::title;
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
    : driveSize_(look_, {.fit = true}), label2_(look_, {.fit = true}) {
    create();
}

Win32MainWindow::~Win32MainWindow() {
    about_.unload();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32MainWindow::create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = [instance] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = procedure;
        c.hInstance = instance;
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = className;
        c.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(VELT_ICON));
        c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELT_ICON), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0));
        return RegisterClassExW(&c) != 0;
    }();
    (void)registered;

    HMENU menu = CreateMenu();
    for (const ui::form::MenuEntry& entry : ui::form::menu())
        AppendMenuW(menu, MF_STRING | (entry.enabled ? 0 : MF_GRAYED),
                    firstMenuId + static_cast<int>(entry.id),
                    wide(std::string(entry.text)).c_str());
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
    label2_.attach(control("Label2"));
    driveList_ = std::make_unique<Win32DriveList>(control("DriveList"));
    progressBar1_ = std::make_unique<Win32ProgressBar>(control("ProgressBar1"));
    for (ui::FrameLine& l : frameLines())
        l.onMove = [this](const ui::FrameLine& moved) { lineMoved(moved); };
    attach({mainText_.get(), logText_.get(), &driveSize_, &label2_, buttonOf(control("buttonOK")),
            buttonOf(control("buttonBack")), buttonOf(control("buttonExit")),
            buttonOf(control("buttonLog")), driveList_.get(), progressBar1_.get(), &about_});

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
    label2_.restyle();
    for (const auto& b : buttons_)
        b->restyle();
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.kind == ui::form::Kind::picture)
            art_[c.art] = loadArt(artOf(c.art), dpi);
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
    const HWND bar = progressBar1_->handle();
    for (int i = 0; i < 8 && PeekMessageW(&message, bar, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        DispatchMessageW(&message);
}

void Win32MainWindow::setImageDrives(platform::ImageDriveTable* drives) {
    imageDrives_ = drives;
    EnableMenuItem(GetMenu(window_), firstMenuId + static_cast<int>(ui::form::Menu::disketteImage),
                   MF_BYCOMMAND | (drives != nullptr ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

namespace {

// The open-file dialog, proposing `proposal`.
std::string openImageDialog(HWND owner, const std::string& proposal) {
    std::wstring file = wide(proposal);
    file.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter =
        L"Diskette images (*.img;*.ima;*.dsk;*.vfd;*.flp)\0*.img;*.ima;*.dsk;*.vfd;*.flp\0"
        L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = L"Diskette image";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog))
        return "";
    file.resize(file.find(L'\0'));
    return utf8(file);
}

}  // namespace

namespace {

// The folder dialog's own title, and the folder kept so far chosen in it.
int CALLBACK keptFolderDialog(HWND dialog, UINT message, LPARAM, LPARAM current) {
    if (message == BFFM_INITIALIZED) {
        SetWindowTextW(dialog, L"Keep diskette images");
        if (current != 0)
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, current);
    }
    return 0;
}

}  // namespace

namespace {

// A folder for the diskettes' images, in the shell's folder dialog.
std::string openFolderDialog(HWND owner, const std::string& current) {
    const std::wstring start = wide(current);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"The folder that keeps an image of every diskette read:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = keptFolderDialog;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    std::string chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        std::wstring path(MAX_PATH + 1, L'\0');
        if (SHGetPathFromIDListW(list, path.data())) {
            path.resize(path.find(L'\0'));
            chosen = utf8(path);
        }
        CoTaskMemFree(list);
    }
    return chosen;
}

// The log folder or the guide, handed to the shell; a machine with no program for .md files
// shows the guide in Notepad.
bool openLocal(HWND owner, const std::filesystem::path& path, bool notepad) {
    // ShellExecuteW answers more than 32 when the file was handed to a program.
    if (reinterpret_cast<INT_PTR>(
            ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return true;
    const std::wstring quoted = L"\"" + path.wstring() + L"\"";
    return notepad &&
           reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", L"notepad.exe", quoted.c_str(),
                                                   nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace

void Win32MainWindow::menuChosen(ui::form::Menu entry) {
    using enum ui::form::Menu;
    switch (entry) {
        case disketteImage:
            if (imageDrives_ != nullptr)
                wizard::chooseDisketteImage(*imageDrives_, [this](const std::string& proposal) {
                    return openImageDialog(window_, proposal);
                });
            break;
        case keepImages: {
            // The entry then wears a check mark, drawn as a root sign, which every menu font has.
            const bool on = wizard::chooseKeptImagesFolder(
                [this](const std::string& current) { return openFolderDialog(window_, current); });
            const int id = firstMenuId + static_cast<int>(keepImages);
            ModifyMenuW(GetMenu(window_), id, MF_BYCOMMAND | MF_STRING, id,
                        wide(ui::form::menuText(keepImages, on, "\u221A ")).c_str());
            DrawMenuBar(window_);
            break;
        }
        case logFolder:
            ui::showLogFolder(
                [this](const std::filesystem::path& p) { return openLocal(window_, p, false); });
            break;
        case guide:
            ui::showGuide(
                [this](const std::filesystem::path& p) { return openLocal(window_, p, true); });
            break;
        case about:
            wizard::handle(wizard::Event::aboutClick);
            break;
    }
}

int Win32MainWindow::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

bool Win32MainWindow::preTranslate(MSG& message) {
    if (message.message == WM_KEYDOWN && message.hwnd == driveList_->handle() &&
        message.wParam != VK_TAB && !driveList_->dropped()) {
        // Once the program has ended, the key goes nowhere.
        if (!wizard::handle(wizard::Event::driveListKeyDown))
            return true;
    }
    if (about_.preTranslate(message))
        return true;
    return IsDialogMessageW(window_, &message) != FALSE;
}

// The user's pick, once: the list reports it more than once on some systems, and the logic
// may have moved the index elsewhere meanwhile.
void Win32MainWindow::pickDrive() {
    if (!driveList_->pickPending())
        return;
    wizard::handleDrivePicked(static_cast<int16_t>(driveList_->selected()));
    // Whatever the handling did (went back to another drive, ended), show the list's index.
    driveList_->showCurrent();
}

void Win32MainWindow::command(WORD id, WORD code) {
    if (code == 0 && id >= firstMenuId &&
        id < firstMenuId + static_cast<int>(ui::form::menu().size())) {
        menuChosen(static_cast<ui::form::Menu>(id - firstMenuId));
        return;
    }
    if (id == IDOK) {
        // Enter: the focused wizard button is pressed.
        Win32Button* b = buttonOf(GetFocus());
        if (b == nullptr || !b->enabled())
            return;
        id = static_cast<WORD>(GetDlgCtrlID(b->handle()));
        code = BN_CLICKED;
    }
    const HWND from = GetDlgItem(window_, id);
    if (driveList_ && from == driveList_->handle()) {
        switch (code) {
            case CBN_DROPDOWN:
                // The list shows the drives there are when it opens: a card reader plugged in
                // after start-up can be chosen.
                driveList_->refreshDrives();
                break;
            case CBN_SELCHANGE:
                if (!driveList_->dropped())
                    pickDrive();
                break;
            case CBN_SELENDOK:
                pickDrive();
                break;
            case CBN_SELENDCANCEL:
                driveList_->showCurrent();
                break;
            default:
                break;
        }
        return;
    }
    if (code == EN_CHANGE) {
        for (auto* box : {mainText_.get(), logText_.get()}) {
            if (box != nullptr && box->handle() == from)
                box->edited();
        }
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (from == control("buttonOK"))
        wizard::handle(wizard::Event::okClick);
    else if (from == control("buttonBack"))
        wizard::handle(wizard::Event::backClick);
    else if (from == control("buttonExit"))
        wizard::handle(wizard::Event::exitClick);
    else if (from == control("buttonLog"))
        wizard::handle(wizard::Event::logClick);
}

LRESULT CALLBACK Win32MainWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window || !self->progressBar1_)
        return DefWindowProcW(window, message, w, l);
    return guarded(window, [&] { return self->handle(message, w, l); });
}

LRESULT Win32MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(w), HIWORD(w));
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            if (Win32Button* b = buttonOf(item->hwndItem); b != nullptr) {
                b->draw(*item);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(w);
            const HWND from = reinterpret_cast<HWND>(l);
            for (auto* box : {mainText_.get(), logText_.get()}) {
                if (box->handle() == from)
                    return reinterpret_cast<LRESULT>(box->paint(dc));
            }
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            paint(dc);
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_CLOSE:
            // The window closes only when the program has ended; it is then hidden, and the
            // message loop ends.
            if (quitCalled() || wizard::handleCloseRequest())
                ShowWindow(window_, SW_HIDE);
            return 0;
        case WM_DEVICECHANGE:
            // A volume came or went (a card reader plugged in, a card pulled): the list follows.
            if ((w == DBT_DEVICEARRIVAL || w == DBT_DEVICEREMOVECOMPLETE) && l != 0 &&
                reinterpret_cast<const DEV_BROADCAST_HDR*>(l)->dbch_devicetype == DBT_DEVTYP_VOLUME)
                wizard::handle(wizard::Event::drivesChanged);
            return TRUE;
        case WM_DPICHANGED: {
            look_.setDpi(HIWORD(w));
            layout();
            const auto* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            resize(height());
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace win32ui
