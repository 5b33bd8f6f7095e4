// The window suite's toolkit on Win32: the window's controls driven and read as a user does,
// and what is painted on the window read from its pixels.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "capture.h"
#include "frontends/win32/twips.h"
#include "frontends/win32/win32_controls.h"
#include "platform/context.h"
#include "platform/image_drives.h"
#include "support/window_drives.h"
#include "ui/session_log.h"
#include "ui/window_suite.h"
#include "window_fixture.h"

namespace win32test {
namespace {

uitest::Px pixels(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string textOf(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    std::string out;
    for (char c : win32ui::utf8(text)) {
        if (c != '\r')
            out += c;
    }
    return out;
}

class Win32Toolkit : public Win32WindowTest, public uitest::Toolkit {
  public:
    Win32Toolkit() {
        SetUp();
        // As the program makes its window: images go into a: over the machine's drives.
        platform::installDrives(&images_);
        Win32WindowTest::window->setImageDrives(&images_);
        Win32WindowTest::window->driveList().refreshDrives();
        // The drive dialog is a box to the fixture: it picks the drive first, and the check's
        // boxes, which share the dialog's title, get pictures of their own.
        boxes->observer = [this, fixture = boxes->observer](HWND box) {
            if (HWND list = GetDlgItem(box, 100); list != nullptr && !pick_.empty()) {
                const std::wstring prefix(pick_.begin(), pick_.end());
                SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(prefix.c_str()));
                win32test::screenshot(box, "check-card-dialog");
                pick_.clear();
            } else if (textOf(box) == "Check Compact Flash card") {
                win32test::screenshot(box, "box-check-card-" + std::to_string(++checkBoxes_));
            }
            if (fixture)
                fixture(box);
        };
        wchar_t value[MAX_PATH + 1] = {};
        if (GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH + 1) > 0)
            savedLocal_ = value;
    }
    ~Win32Toolkit() override {
        ui::stopSessionLog();
        SetEnvironmentVariableW(L"LOCALAPPDATA",
                                savedLocal_.empty() ? nullptr : savedLocal_.c_str());
        TearDown();
    }
    void TestBody() override {}

    ui::WindowBase& window() override { return *Win32WindowTest::window; }
    platform::FolderDriveTable& drives() override { return Win32WindowTest::drives; }
    testsupport::ScratchDir& scratch() override { return Win32WindowTest::scratch; }
    void start() override { Win32WindowTest::start(); }

    void pick(const std::string& letter) override { Win32WindowTest::pick(letter); }
    void click(std::string_view button) override {
        Win32WindowTest::click(std::string(button).c_str());
    }
    void press(std::string_view c, Key key) override {
        SetFocus(control(std::string(c).c_str()));
        Win32WindowTest::press(key == Key::shift ? VK_SHIFT : key == Key::tab ? VK_TAB : VK_UP);
    }
    void openList() override { SendMessageW(control("DriveList"), CB_SHOWDROPDOWN, TRUE, 0); }
    void closeList() override {
        SendMessageW(control("DriveList"), CB_SHOWDROPDOWN, FALSE, 0);
        pump();
    }
    void choose(ui::form::Menu entry) override {
        SendMessageW(form(), WM_COMMAND,
                     win32ui::Win32MainWindow::firstMenuId + static_cast<int>(entry), 0);
        pump();
    }
    std::string keepImages(const std::filesystem::path& folder) override {
        std::string title;
        const auto fixture = boxes->observer;
        boxes->observer = [&](HWND dialog) {
            title = textOf(dialog);
            if (folder.empty()) {
                // Cancel ends the dialog before the fixture's OK reaches it.
                SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            // The dialog's tree follows a selection in messages of its own, and may not take it
            // before it has filled itself: ask again until its selected item is the folder, so
            // the fixture presses OK on it (bounded, 5 s).
            HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            const std::wstring chosen = folder.wstring(), name = folder.filename().wstring();
            auto selected = [tree] {
                wchar_t text[MAX_PATH] = {};
                TVITEMW item{};
                item.mask = TVIF_TEXT;
                item.hItem =
                    reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                item.pszText = text;
                item.cchTextMax = MAX_PATH;
                if (item.hItem == nullptr ||
                    !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
                    return std::wstring();
                return std::wstring(text);
            };
            for (int i = 0; i < 250 && selected() != name; ++i) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                             reinterpret_cast<LPARAM>(chosen.c_str()));
                MSG m;
                while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&m);
                    DispatchMessageW(&m);
                }
                Sleep(20);
            }
            EXPECT_EQ(selected(), name);
        };
        choose(ui::form::Menu::keepImages);
        boxes->observer = fixture;
        return title;
    }
    void pickInDialog(const std::string& letter) override { pick_ = letter; }
    bool closeBox() override {
        SendMessageW(form(), WM_CLOSE, 0, 0);
        pump();
        return !IsWindowVisible(form());
    }
    void answerNext(ui::Answer answer) override {
        boxes->queue(answer == ui::Answer::yes ? IDYES : IDNO);
    }
    int unanswered() const override { return boxes->unanswered(); }

    uitest::Px px(const ui::form::Rect& t) const override {
        return pixels(win32ui::twipsRect(win32ui::windowDpi(form()), t));
    }
    uitest::Px client() const override {
        RECT r{};
        GetClientRect(form(), &r);
        return pixels(r);
    }
    int outerHeight() const override {
        RECT r{};
        GetWindowRect(form(), &r);
        return r.bottom - r.top;
    }
    bool resizable() const override {
        return (GetWindowLongW(form(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0;
    }
    bool windowShown() const override { return IsWindowVisible(form()) != FALSE; }
    uitest::Px place(std::string_view c) const override { return pixels(placeOf(named(c))); }
    bool shown(std::string_view c) const override { return IsWindowVisible(named(c)) != FALSE; }
    bool enabled(std::string_view c) const override { return IsWindowEnabled(named(c)) != FALSE; }
    std::string text(std::string_view c) const override { return textOf(named(c)); }
    // Painted below the controls: many colours where the picture lies.
    bool pictureDrawn(const ui::form::Control& c) const override {
        const Image shot = capture(form(), true);
        return colours(shot, win32ui::twipsRect(win32ui::windowDpi(form()), c.place)) > 50;
    }
    // Ink at both ends and the middle of the line, none just inside the frame.
    bool frameLineDrawn(const ui::form::LineEnds& e) const override {
        const Image shot = capture(form(), true);
        const uint32_t ink = rgb(GetSysColor(COLOR_WINDOWTEXT));
        const UINT dpi = win32ui::windowDpi(form());
        const int x1 = win32ui::px(e.x1, dpi), y1 = win32ui::px(e.y1, dpi);
        const int x2 = win32ui::px(e.x2, dpi), y2 = win32ui::px(e.y2, dpi);
        const int inset = 3;
        const int dx = x1 == x2 ? 0 : inset, dy = y1 == y2 ? 0 : inset;
        return shot.at(x1 + dx, y1 + dy) == ink && shot.at(x2 - dx, y2 - dy) == ink &&
               shot.at((x1 + x2) / 2, (y1 + y2) / 2) == ink;
    }
    std::vector<std::string> listEntries() const override {
        HWND combo = control("DriveList");
        std::vector<std::string> entries;
        for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(item));
            entries.push_back(win32ui::utf8(item));
        }
        return entries;
    }
    int listCurrent() const override {
        return static_cast<int>(SendMessageW(control("DriveList"), CB_GETCURSEL, 0, 0));
    }
    bool menuEnabled(ui::form::Menu entry) const override {
        const UINT state = GetMenuState(
            GetMenu(form()), win32ui::Win32MainWindow::firstMenuId + static_cast<UINT>(entry),
            MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
    }
    std::string checkMark() const override { return "\u221A "; }
    std::vector<std::string> menu() const override {
        std::vector<std::string> entries;
        for (int i = 0; i < GetMenuItemCount(GetMenu(form())); ++i) {
            wchar_t entry[40] = {};
            GetMenuStringW(GetMenu(form()), static_cast<UINT>(i), entry, 40, MF_BYPOSITION);
            entries.push_back(win32ui::utf8(entry));
        }
        return entries;
    }
    std::string selectedLog() const override {
        HWND log = control("logText");
        DWORD from = 0, to = 0;
        SendMessageW(log, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(log)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(log, text.data(), static_cast<int>(text.size()))));
        return win32ui::utf8(text.substr(from, to - from));
    }
    int statusFontPoints() const override {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("mainText"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return win32ui::fontPoints(font, win32ui::windowDpi(form()));
    }
    Progress progress() const override {
        HWND bar = control("ProgressBar1");
        return {static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)),
                static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0))};
    }
    bool readOnly(std::string_view box) const override {
        return (GetWindowLongW(named(box), GWL_STYLE) & ES_READONLY) != 0;
    }

    bool aboutShown() const override {
        return dialog() != nullptr && IsWindowVisible(dialog()) != FALSE;
    }
    // Owned by the main window, which stays enabled.
    bool aboutModal() const override {
        return GetWindow(dialog(), GW_OWNER) != form() || !IsWindowEnabled(form());
    }
    std::string aboutCaption() const override { return textOf(dialog()); }
    uitest::Px aboutClient() const override {
        RECT r{};
        GetClientRect(dialog(), &r);
        return pixels(r);
    }
    uitest::Px aboutPx(const ui::form::Rect& t) const override {
        return pixels(win32ui::twipsRect(win32ui::windowDpi(dialog()), t));
    }
    // The icon is painted: where it is drawn, many colours.
    uitest::Px aboutPlace(std::string_view c) const override {
        HWND w = Win32WindowTest::window->win32AboutBox().control(c);
        if (w == nullptr) {
            const uitest::Px r = aboutPx(ui::form::aboutControl(c)->place);
            const Image shot = capture(dialog(), true);
            const RECT painted{r.left, r.top, r.left + r.width, r.top + r.height};
            return colours(shot, painted) > 20 ? r : uitest::Px{};
        }
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, dialog(), reinterpret_cast<POINT*>(&r), 2);
        return pixels(r);
    }
    std::string aboutText(std::string_view c) const override {
        return textOf(Win32WindowTest::window->win32AboutBox().control(c));
    }
    bool aboutFits(std::string_view name) const override {
        HWND text = Win32WindowTest::window->win32AboutBox().control(name);
        RECT room{};
        GetClientRect(text, &room);
        const std::wstring shown = win32ui::wide(aboutText(name));
        HDC dc = GetDC(text);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, room.right, 0};
        DrawTextW(dc, shown.c_str(), -1, &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
        SelectObject(dc, old);
        ReleaseDC(text, dc);
        return needed.bottom <= room.bottom;
    }
    void aboutOk() override {
        SendMessageW(Win32WindowTest::window->win32AboutBox().control("cmdOK"), BM_CLICK, 0, 0);
        pump();
    }
    void aboutCloseBox() override {
        SendMessageW(dialog(), WM_CLOSE, 0, 0);
        pump();
    }

    std::filesystem::path useLogHome(const std::filesystem::path& home) override {
        SetEnvironmentVariableW(L"LOCALAPPDATA", home.c_str());
        return home / "VELT Database Media Converter" / "Logs";
    }
    std::string lineEnd() const override { return "\r\n"; }

    void screenshot(const std::string& name, bool about) override {
        win32test::screenshot(about ? dialog() : form(), name);
    }

  private:
    std::wstring savedLocal_;
    std::string pick_;  // the drive the next drive dialog picks
    int checkBoxes_ = 0;
    platform::ImageDriveTable images_{
        std::make_unique<testsupport::BorrowedDrives>(Win32WindowTest::drives)};
    HWND form() const { return Win32WindowTest::window->handle(); }
    HWND named(std::string_view c) const {
        HWND w = control(std::string(c).c_str());
        EXPECT_NE(w, nullptr) << c;
        return w;
    }
    HWND dialog() const { return Win32WindowTest::window->win32AboutBox().dialog(); }
};

}  // namespace
}  // namespace win32test

std::unique_ptr<uitest::Toolkit> uitest::makeToolkit() {
    return std::make_unique<win32test::Win32Toolkit>();
}
