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
#include "wizard/form1.h"

namespace win32ui {

namespace {

constexpr DWORD windowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The outer height less the client area on the designed-for platform: 6990 - 6375.
constexpr int nonClientTwips = 615;
constexpr int clientWidthTwips = 8145;
constexpr int menuDisketteImage = 200;
constexpr int menuAbout = 201;
constexpr int menuLogFolder = 202;
constexpr int menuGuide = 203;
constexpr int menuKeepImages = 204;
constexpr const wchar_t* keepImagesText = L"Keep diskette images...";

struct Child {
    const char* name;
    const wchar_t* kind;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height;
};

// Created in this order, which is the tab order: the drive list first.
constexpr Child children[] = {
    {"DriveList", WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 240, 2400, 3255,
     315},
    {"buttonOK", WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0, 3120, 5500, 1350, 645},
    {"buttonBack", WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0, 1680, 5500, 1350, 645},
    {"buttonExit", WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0, 240, 5500, 1350, 645},
    {"buttonLog", WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0, 6360, 5500, 1350, 645},
    {"mainText", WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, 240, 840, 3855, 1095},
    {"ProgressBar1", PROGRESS_CLASSW, 0, 0, 240, 1800, 3855, 255},
    {"DriveSize", WC_STATICW, SS_LEFT | SS_NOPREFIX, 0, 240, 2760, 3255, 1095},
    {"Label2", WC_STATICW, SS_LEFT | SS_NOPREFIX, 0, 240, 4320, 2415, 855},
    {"logText", WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
     WS_EX_CLIENTEDGE, 240, 6200, 7455, 2655},
    // The two holders of the Log button's pictures, never shown.
    {"showLog", WC_BUTTONW, BS_OWNERDRAW, 0, 3000, 1080, 855, 255},
    {"hideLog", WC_BUTTONW, BS_OWNERDRAW, 0, 3000, 1440, 855, 255},
};
constexpr int firstChildId = 100;

int idOf(std::string_view name) {
    for (size_t i = 0; i < std::size(children); ++i) {
        if (name == children[i].name)
            return firstChildId + static_cast<int>(i);
    }
    return 0;
}

// The pictures: Image1, Picture1, Picture2.
constexpr int titleTwips[] = {240, 240, 7575, 540};
constexpr int diskettesTwips[] = {3585, 1440, 2895, 3015};
constexpr int cardTwips[] = {5895, 3480, 1815, 1645};

RECT rectOf(const int (&t)[4], UINT dpi) {
    return twipsRect(dpi, t[0], t[1], t[2], t[3]);
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
    AppendMenuW(menu, MF_STRING | MF_GRAYED, menuDisketteImage, L"Diskette image...");
    AppendMenuW(menu, MF_STRING, menuKeepImages, keepImagesText);
    AppendMenuW(menu, MF_STRING, menuLogFolder, L"Log folder");
    AppendMenuW(menu, MF_STRING, menuGuide, L"Guide");
    AppendMenuW(menu, MF_STRING, menuAbout, L"About");
    window_ = CreateWindowExW(0, className, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                              100, nullptr, menu, instance, this);
    look_.setDpi(windowDpi(window_));
    about_.setOwner(window_);

    for (const Child& c : children) {
        DWORD style = WS_CHILD | c.style;
        if (std::string_view(c.name) != "logText" && std::string_view(c.name) != "showLog" &&
            std::string_view(c.name) != "hideLog")
            style |= WS_VISIBLE;
        CreateWindowExW(c.exStyle, c.kind, L"", style, 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(c.name))), instance,
                        nullptr);
    }
    // Made for a narrow sans serif at 11 points: its two- and three-line statuses fit.
    mainText_ = std::make_unique<Win32TextBox>(control("mainText"), look_, L"Arial");
    logText_ = std::make_unique<Win32TextBox>(control("logText"), look_);
    driveSize_.attach(control("DriveSize"));
    label2_.attach(control("Label2"));
    auto button = [this](const char* name, ui::Picture picture) {
        auto b = std::make_unique<Win32Button>(control(name), look_);
        b->setPicture(picture);
        return b;
    };
    buttonOK_ = button("buttonOK", ui::Picture::ok);
    buttonBack_ = button("buttonBack", ui::Picture::back);
    buttonExit_ = button("buttonExit", ui::Picture::exit);
    buttonLog_ = button("buttonLog", ui::Picture::showLog);
    showLog_ = button("showLog", ui::Picture::showLog);
    hideLog_ = button("hideLog", ui::Picture::hideLog);
    driveList_ = std::make_unique<Win32DriveList>(control("DriveList"));
    progressBar1_ = std::make_unique<Win32ProgressBar>(control("ProgressBar1"));
    auto moved = [this](const Win32Line& l) { lineMoved(l); };
    lines_.push_back(std::make_unique<Win32Line>(moved, 120, 120, 8040, 120));
    lines_.push_back(std::make_unique<Win32Line>(moved, 8040, 120, 8040, 6240));
    lines_.push_back(std::make_unique<Win32Line>(moved, 120, 6240, 8040, 6240));
    lines_.push_back(std::make_unique<Win32Line>(moved, 120, 120, 120, 6240));

    layout();
    mainText_->setText("Please wait...");
    setHeight(6990);
}

// Every control at its twips for the window's DPI, with the fonts and pictures for it.
void Win32MainWindow::layout() {
    const UINT dpi = look_.dpi;
    for (const Child& c : children) {
        HWND w = control(c.name);
        const RECT r = twipsRect(dpi, c.left, c.top, c.width, c.height);
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
    for (auto* b : {buttonOK_.get(), buttonBack_.get(), buttonExit_.get(), buttonLog_.get(),
                    showLog_.get(), hideLog_.get()})
        b->restyle();
    title_ = loadArt(Art::title, dpi);
    diskettes_ = loadArt(Art::diskettes, dpi);
    card_ = loadArt(Art::card, dpi);
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32MainWindow::paint(HDC dc) {
    const UINT dpi = look_.dpi;
    drawCentred(dc, title_, rectOf(titleTwips, dpi));
    drawCentred(dc, diskettes_, rectOf(diskettesTwips, dpi));
    drawCentred(dc, card_, rectOf(cardTwips, dpi));
    const int width = penWidth(dpi);
    HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
    HPEN pen = CreatePen(PS_SOLID, width, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    for (const auto& l : lines_) {
        const int x1 = px(l->x1(), dpi), y1 = px(l->y1(), dpi);
        const int x2 = px(l->x2(), dpi), y2 = px(l->y2(), dpi);
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

void Win32MainWindow::lineMoved(const Win32Line& l) {
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
    for (auto* b : {buttonOK_.get(), buttonBack_.get(), buttonExit_.get(), buttonLog_.get(),
                    showLog_.get(), hideLog_.get()}) {
        if (b != nullptr && b->handle() == control)
            return b;
    }
    return nullptr;
}

ui::Line& Win32MainWindow::line(int n) {
    if (n < 1 || n > static_cast<int>(lines_.size()))
        platform::raise(platform::err::subscriptOutOfRange);
    return *lines_[static_cast<size_t>(n - 1)];
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

void Win32MainWindow::setHeight(int twips) {
    height_ = twips;
    const UINT dpi = look_.dpi;
    const RECT client{0, 0, px(clientWidthTwips, dpi),
                      std::max(0, px(twips - nonClientTwips, dpi))};
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

std::string Win32MainWindow::focus() const {
    static const char* const names[] = {"mainText",   "logText",    "DriveList", "buttonOK",
                                        "buttonBack", "buttonExit", "buttonLog"};
    const HWND focused = GetFocus();
    for (const char* name : names) {
        const HWND c = control(name);
        if (focused != nullptr && (focused == c || IsChild(c, focused)))
            return name;
    }
    return "";
}

ui::Answer Win32MainWindow::msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
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
    boxes_.push_back({text, buttons, icon, title, answer});
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

void Win32MainWindow::quit() {
    if (quit_)
        return;
    quit_ = true;
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
    EnableMenuItem(GetMenu(window_), menuDisketteImage,
                   MF_BYCOMMAND | (drives != nullptr ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

// The file dialog opens where the last image was, proposing the next one of its series.
void Win32MainWindow::chooseDisketteImage() {
    if (imageDrives_ == nullptr || wizard::busy())
        return;
    std::wstring file =
        lastImage_.empty() ? std::wstring() : wide(platform::nextInSeries(utf8(lastImage_)));
    file.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter =
        L"Diskette images (*.img;*.ima;*.dsk;*.vfd;*.flp)\0*.img;*.ima;*.dsk;*.vfd;*.flp\0"
        L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = L"Diskette image";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog))
        return;
    file.resize(file.find(L'\0'));
    try {
        imageDrives_->putImage(utf8(file));
    } catch (const platform::Error& e) {
        MessageBoxW(window_, wide(e.description()).c_str(), L"Error!", MB_OK | MB_ICONERROR);
        return;
    }
    lastImage_ = file;
    wizard::handle(wizard::Event::imageChosen);
}

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

// A folder for the diskettes' images; the entry then wears a check mark, drawn as a root sign,
// which every menu font has (a menu bar draws no check of its own).
void Win32MainWindow::chooseKeptImagesFolder() {
    if (wizard::busy())
        return;
    const std::wstring current = wide(Form1::keptImagesFolder());
    BROWSEINFOW info{};
    info.hwndOwner = window_;
    info.lpszTitle = L"The folder that keeps an image of every diskette read:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = keptFolderDialog;
    info.lParam = current.empty() ? 0 : reinterpret_cast<LPARAM>(current.c_str());
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        std::wstring path(MAX_PATH + 1, L'\0');
        if (SHGetPathFromIDListW(chosen, path.data())) {
            path.resize(path.find(L'\0'));
            Form1::keepImagesIn(utf8(path));
        }
        CoTaskMemFree(chosen);
    }
    const std::wstring text = Form1::keptImagesFolder().empty()
                                  ? keepImagesText
                                  : std::wstring(L"\u221A ") + keepImagesText;
    ModifyMenuW(GetMenu(window_), menuKeepImages, MF_BYCOMMAND | MF_STRING, menuKeepImages,
                text.c_str());
    DrawMenuBar(window_);
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
    if (id == menuAbout && code == 0) {
        wizard::handle(wizard::Event::aboutClick);
        return;
    }
    if (id == menuKeepImages && code == 0) {
        chooseKeptImagesFolder();
        return;
    }
    if (id == menuLogFolder && code == 0) {
        ui::showLogFolder([this](const std::filesystem::path& folder) {
            // ShellExecuteW answers more than 32 when the folder was handed to the shell.
            return reinterpret_cast<INT_PTR>(ShellExecuteW(window_, L"open", folder.c_str(),
                                                           nullptr, nullptr, SW_SHOWNORMAL)) > 32;
        });
        return;
    }
    if (id == menuGuide && code == 0) {
        ui::showGuide([this](const std::filesystem::path& guide) {
            // A machine with no program for .md files shows it in Notepad.
            if (reinterpret_cast<INT_PTR>(ShellExecuteW(window_, L"open", guide.c_str(), nullptr,
                                                        nullptr, SW_SHOWNORMAL)) > 32)
                return true;
            const std::wstring quoted = L"\"" + guide.wstring() + L"\"";
            return reinterpret_cast<INT_PTR>(ShellExecuteW(
                       window_, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL)) >
                   32;
        });
        return;
    }
    if (id == menuDisketteImage && code == 0) {
        chooseDisketteImage();
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
    if (from == buttonOK_->handle())
        wizard::handle(wizard::Event::okClick);
    else if (from == buttonBack_->handle())
        wizard::handle(wizard::Event::backClick);
    else if (from == buttonExit_->handle())
        wizard::handle(wizard::Event::exitClick);
    else if (from == buttonLog_->handle())
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
            if (quit_ || wizard::handleCloseRequest())
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
            setHeight(height_);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace win32ui
