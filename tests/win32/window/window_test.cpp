// What only the Win32 window has: the instance check by window class, a change of DPI, the
// edit controls' limits, the system's volume messages, the shell's dialogs, and Esc in the
// About box. The rest runs in the shared window suite.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <vector>

#include "capture.h"
#include "frontends/win32/twips.h"
#include "frontends/win32/win32_controls.h"
#include "platform/context.h"
#include "state/state.h"
#include "window_fixture.h"
#include "wizard/wizard.h"

namespace win32test {
namespace {

const std::string floppyPrompt =
    "Please select the floppy disk drive \r\nand press the OK button\r\n";

std::wstring textOf(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

using Win32StartUp = Win32WindowTest;

// Part of the start-up sequence on the real window class: this window is the other instance
// of a second one, and never of itself.
TEST_F(Win32StartUp, AnotherInstanceIsFoundByItsClassAndTitle) {
    EXPECT_FALSE(window->anotherInstanceRunning());
    start();

    auto second = std::make_unique<win32ui::Win32MainWindow>();
    ui::installWindow(second.get());
    wizard::resetForm();
    EXPECT_FALSE(wizard::dispatch(wizard::onLoad));
    ASSERT_EQ(second->messageBoxes().size(), 1u);
    const auto& box = second->messageBoxes()[0];
    EXPECT_EQ(box.text,
              "Can not run muliply instances of VELT Database\r\nMedia Converter application");
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.icon, ui::Icon::critical);
    EXPECT_EQ(shownTitles, std::vector<std::wstring>{L"Error!"});
    EXPECT_TRUE(second->quitCalled());
    EXPECT_FALSE(IsWindowVisible(second->handle()));
    EXPECT_TRUE(second->caption().empty());
    EXPECT_TRUE(IsWindowVisible(window->handle()));
    ui::installWindow(window.get());
}

using Win32Dpi = Win32WindowTest;

// The system tells a per-monitor aware window that it moved to a monitor of another DPI (Wine
// never does: the message is sent here as the system sends it).
TEST_F(Win32Dpi, ADenserMonitorLaysTheWindowOutAgain) {
    start();
    HWND form = window->handle();
    const UINT dpi = 144;
    RECT suggested{};
    GetWindowRect(form, &suggested);
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    pump();
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, win32ui::px(8145, dpi));
    EXPECT_EQ(client.bottom, win32ui::px(6375, dpi));
    EXPECT_EQ(window->height(), 6990);
    struct Place {
        const char* name;
        int left, top, width, height;
    };
    for (const Place& p :
         {Place{"mainText", 240, 840, 3855, 1095}, Place{"DriveList", 240, 2400, 3255, 315},
          Place{"buttonLog", 6360, 5500, 1350, 645}}) {
        SCOPED_TRACE(p.name);
        const RECT want = win32ui::twipsRect(dpi, p.left, p.top, p.width, p.height);
        const RECT got = placeOf(control(p.name));
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("mainText"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(11, static_cast<int>(dpi), 72));
    // The title is drawn anew at 1.5 times its size: it fills its place to the left edge.
    const Image shot = capture(form, true);
    const RECT title = win32ui::twipsRect(dpi, 240, 240, 7575, 540);
    const int middle = (title.top + title.bottom) / 2;
    EXPECT_NE(shot.at(title.left + 3, middle), rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_GT(colours(shot, win32ui::twipsRect(dpi, 3585, 1440, 2895, 3015)), 50u);
    screenshot(form, "startup-144dpi");
}

using Win32TextBoxes = Win32WindowTest;

// The log grows by appending: the selection stays, offsets are UTF-16 units as the edit control
// counts them, and a log far beyond the edit control's default limit is kept whole.
TEST_F(Win32TextBoxes, AppendingKeepsEveryCharacterAndTheSelection) {
    ui::TextBox& log = window->logText();
    HWND edit = control("logText");
    log.setText("Start\r\n");
    log.setSelection(2, 3);
    std::string many;  // a thousand log lines, past the edit control's default limit
    for (int i = 0; i < 1000; ++i)
        many += std::string(38, 'x') + "\r\n";
    const std::string pieces[] = {"Tëmp\r\n", "\xF0\x9F\x92\xBE disk\r\n", "", many, "end"};
    std::string all = "Start\r\n";
    for (const std::string& piece : pieces) {
        log.appendText(piece);
        all += piece;
        SCOPED_TRACE(all.size());
        EXPECT_EQ(log.text(), all);
        EXPECT_EQ(log.length(), GetWindowTextLengthW(edit));
        EXPECT_EQ(win32ui::utf8(textOf(edit)), all);
        EXPECT_EQ(log.selStart(), 2);
        EXPECT_EQ(log.selLength(), 3);
    }
    EXPECT_EQ(log.length(), static_cast<int32_t>(7 + 6 + 9 + 40000 + 3));
    log.setSelection(log.length() - 3, 99);
    EXPECT_EQ(log.selStart(), log.length() - 3);
    EXPECT_EQ(log.selLength(), 3);
}

TEST_F(Win32TextBoxes, LongWorkPaintsButTakesNoInput) {
    start();
    HWND form = window->handle();
    HWND ok = control("buttonOK");
    PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(form, WM_KEYDOWN, VK_RETURN, 1);
    InvalidateRect(form, nullptr, TRUE);
    window->keepAlive();
    RECT due{};
    EXPECT_FALSE(GetUpdateRect(form, &due, FALSE));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, ok, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&message, form, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    // Delivered once the event is over, they are not lost.
    PeekMessageW(&message, ok, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
    PeekMessageW(&message, form, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
}

using Win32DriveList = Win32WindowTest;

TEST_F(Win32DriveList, AVolumeThatArrivesOrGoesIsShownAtOnce) {
    start();
    pick("e:");
    platform::MediumOptions f;
    f.root = scratch.make("f");
    f.label = "CARD";
    drives.define('F', platform::DriveType::removable, f);
    // What the system sends every top-level window when a volume comes or goes.
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << ('F' - 'A');
    SendMessageW(window->handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                 reinterpret_cast<LPARAM>(&volume));
    HWND combo = control("DriveList");
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);  // still e:

    drives.define('E', platform::DriveType::removable, std::nullopt);  // the card is pulled
    volume.dbcv_unitmask = 1u << ('E' - 'A');
    SendMessageW(window->handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&volume));
    EXPECT_EQ(textOf(control("DriveSize")), L"Drive E:");
}

// The "Diskette image..." entry's file dialog, with a name beyond the Windows code page typed
// into it as a person would.
TEST_F(Win32DriveList, AnImagePickedInTheFileDialogGoesIntoDriveA) {
    auto machine = std::make_unique<platform::FolderDriveTable>();
    machine->define('A', platform::DriveType::removable, std::nullopt);
    platform::MediumOptions c;
    c.root = scratch.path() / "c";
    machine->define('C', platform::DriveType::fixed, c);
    platform::ImageDriveTable images(std::move(machine));
    platform::installDrives(&images);
    window->setImageDrives(&images);
    window->driveList().refreshDrives();
    start();

    const auto folder = scratch.path() / std::filesystem::path(u8"S\u00e4tze \u2116 7");
    std::filesystem::create_directories(folder);
    const auto sample = std::filesystem::path(__FILE__).parent_path() / "../../../samples/site42";
    std::filesystem::copy_file(sample / "images" / "disk1.img", folder / "disk1.img");
    const std::wstring typed = (folder / "disk1.img").wstring();
    std::wstring title;
    boxes->observer = [&](HWND dialog) {
        title = textOf(dialog);
        // The name field of the dialog (cmb13 on Windows, edt1 in older dialogs).
        if (!SetDlgItemTextW(dialog, 0x47c, typed.c_str()))
            SetDlgItemTextW(dialog, 0x480, typed.c_str());
    };
    HWND form = window->handle();
    wchar_t entry[32] = {};
    GetMenuStringW(GetMenu(form), 0, entry, 32, MF_BYPOSITION);
    EXPECT_STREQ(entry, L"Diskette image...");
    SendMessageW(form, WM_COMMAND, GetMenuItemID(GetMenu(form), 0), 0);
    pump();
    EXPECT_EQ(title, L"Diskette image");
    pick("a:");
    EXPECT_EQ(textOf(control("DriveSize")), L"Removable Drive A: - DISK1");
    window->setImageDrives(nullptr);
    platform::installDrives(&drives);
}

// A failure of a kind the boundary does not know, outside any event of the logic: shown, and
// the window goes on (it must not vanish inside the system's frames).
TEST_F(Win32DriveList, AnUnexpectedFailureIsShownAndTheWindowGoesOn) {
    class Failing : public platform::FolderDriveTable {
      public:
        std::vector<platform::Drive> list() override { throw std::runtime_error("no drives"); }
    } failing;
    start();
    platform::installDrives(&failing);
    HWND combo = control("DriveList");
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);  // the list is read again as it opens
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    pump();
    EXPECT_EQ(shownTitles, std::vector<std::wstring>{L"Error!"});
    platform::installDrives(&drives);
    click("buttonLog");
    EXPECT_EQ(window->height(), 9935);
}

using Win32About = Win32WindowTest;

// Beside its OK button and close box (the shared suite), Enter and Esc close it too.
TEST_F(Win32About, EscUnloadsItAsOKDoes) {
    start();
    HWND form = window->handle();
    const auto about = static_cast<WORD>(win32ui::Win32MainWindow::firstMenuId +
                                         static_cast<int>(ui::form::Menu::about));
    SendMessageW(form, WM_COMMAND, about, 0);
    auto& box = window->win32AboutBox();
    HWND dialog = box.dialog();
    ASSERT_NE(dialog, nullptr);
    SetFocus(box.control("cmdOK"));
    press(VK_ESCAPE);
    EXPECT_FALSE(box.loaded());
    EXPECT_FALSE(IsWindow(dialog));
    SendMessageW(form, WM_COMMAND, about, 0);
    SetFocus(box.control("cmdOK"));
    press(VK_RETURN);
    EXPECT_FALSE(box.loaded());
}

}  // namespace
}  // namespace win32test
