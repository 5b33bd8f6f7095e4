// The main window's events: the close box, the buttons, the drive list (a pick and a key
// press), the menu entries and the About box all enter the logic through the boundary; the
// shell's dialogs that the menu entries open.
#include <windows.h>

#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

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

// A dialog template built in memory: the words of a DLGTEMPLATE and its DLGITEMTEMPLATEs.
class DialogTemplate {
  public:
    DialogTemplate(short cx, short cy, const wchar_t* title) {
        dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_SHELLFONT | WS_POPUP | WS_CAPTION |
              WS_SYSMENU);
        dword(0);
        count_ = words_.size();
        words_.push_back(0);
        for (short v : {short{0}, short{0}, cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        text(title);
        words_.push_back(8);
        text(L"MS Shell Dlg");
    }
    // One control of a predefined class (0x80 button, 0x82 static, 0x85 combo box).
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
              const wchar_t* title) {
        if (words_.size() % 2 != 0)
            words_.push_back(0);  // each item starts on a DWORD
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        for (short v : {x, y, cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        text(title);
        words_.push_back(0);  // no creation data
        ++words_[count_];
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void text(const wchar_t* t) {
        for (; *t != 0; ++t)
            words_.push_back(static_cast<WORD>(*t));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
    size_t count_ = 0;
};

constexpr WORD driveListId = 100;

struct DrivePick {
    const std::vector<std::string>* entries;
    int chosen;
};

INT_PTR CALLBACK drivePickProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, l);
        const auto* pick = reinterpret_cast<const DrivePick*>(l);
        HWND list = GetDlgItem(dialog, driveListId);
        for (const std::string& e : *pick->entries)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(e).c_str()));
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(pick->chosen), 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        auto* pick = reinterpret_cast<DrivePick*>(GetWindowLongPtrW(dialog, DWLP_USER));
        pick->chosen =
            static_cast<int>(SendMessageW(GetDlgItem(dialog, driveListId), CB_GETCURSEL, 0, 0));
        EndDialog(dialog, LOWORD(w));
        return TRUE;
    }
    return FALSE;
}

// The drive that holds the card to check, from the drives as the drive list shows them.
std::string pickDriveDialog(HWND owner, const std::vector<std::string>& entries,
                            const std::string& proposed) {
    DialogTemplate t(200, 62, L"Check Compact Flash card");
    t.item(SS_LEFT | SS_NOPREFIX, 7, 7, 186, 10, 0xFFFF, 0x82,
           L"The drive that holds the Compact Flash card:");
    t.item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 20, 186, 90, driveListId, 0x85, L"");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 41, 50, 14, IDOK, 0x80, L"OK");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 143, 41, 50, 14, IDCANCEL, 0x80, L"Cancel");
    const auto at = std::find(entries.begin(), entries.end(), proposed);
    DrivePick pick{&entries, at == entries.end() ? 0 : static_cast<int>(at - entries.begin())};
    if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, drivePickProcedure,
                                reinterpret_cast<LPARAM>(&pick)) != IDOK ||
        pick.chosen < 0 || pick.chosen >= static_cast<int>(entries.size()))
        return "";
    return entries[static_cast<size_t>(pick.chosen)];
}

}  // namespace

std::string Win32MainWindow::openImageFile(const std::string& proposal) {
    return openImageDialog(window_, proposal);
}

std::string Win32MainWindow::openFolder(const std::string& current) {
    return openFolderDialog(window_, current);
}

std::string Win32MainWindow::pickCardDrive(const std::vector<std::string>& entries,
                                           const std::string& proposed) {
    return pickDriveDialog(window_, entries, proposed);
}

// The log folder in Explorer, the guide (a web page) in the default browser.
bool Win32MainWindow::openLocal(const std::filesystem::path& path) {
    // ShellExecuteW answers more than 32 when the file was handed to a program.
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(window_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

void Win32MainWindow::setMenuText(ui::form::Menu entry, const std::string& text) {
    const int id = firstMenuId + static_cast<int>(entry);
    ModifyMenuW(GetMenu(window_), id, MF_BYCOMMAND | MF_STRING, id, wide(text).c_str());
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
    if (code == 0 && id >= firstMenuId &&
        id < firstMenuId + static_cast<int>(ui::form::menu().size())) {
        wizard::menuChosen(static_cast<ui::form::Menu>(id - firstMenuId), *this);
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
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.click && from == control(c.name)) {
            wizard::handle(*c.click);
            return;
        }
    }
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
