// The main window's events: the close box, the buttons, the drive list (a pick and a key
// press), the menu entries and the About box all enter the logic through the boundary; the
// shell's dialogs that the menu entries open.
#include <windows.h>

#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>
#include <shlobj.h>

#include "frontends/win32/win32_main_window.h"
#include "ui/session_log.h"
#include "wizard/events.h"

namespace win32ui {

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

// The log folder in Explorer, the guide (a web page) in the default browser.
bool openLocal(HWND owner, const std::filesystem::path& path) {
    // ShellExecuteW answers more than 32 when the file was handed to a program.
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
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
                [this](const std::filesystem::path& p) { return openLocal(window_, p); });
            break;
        case guide:
            ui::showGuide([this](const std::filesystem::path& p) { return openLocal(window_, p); });
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
    if (self == nullptr || self->window_ != window || !self->progressBar_)
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
