// The Win32 window after start-up, its Log button, its text boxes, its close box, the drive
// list's events, the About box and the instance check, driven as a user drives them.
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
#include "wizard/form1.h"

namespace win32test {
namespace {

const std::string floppyPrompt =
    "Please select the floppy disk drive \r\nand press the OK button\r\n";

uint32_t rgb(COLORREF c) {
    return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

std::wstring textOf(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

// How many different colours a rectangle of the picture holds: a drawn picture has many.
size_t colours(const Image& image, const RECT& r) {
    std::set<uint32_t> seen;
    for (int y = r.top; y < r.bottom && y < image.height; ++y) {
        for (int x = r.left; x < r.right && x < image.width; ++x)
            seen.insert(image.at(x, y));
    }
    return seen.size();
}

using Win32StartUp = Win32WindowTest;

TEST_F(Win32StartUp, ControlsSitAtTheirPlacesInTheirFirstState) {
    start();
    HWND form = window->handle();
    EXPECT_EQ(textOf(form), L"VELT Database Media Converter");
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(window->height(), 6990);
    RECT client{};
    GetClientRect(form, &client);
    const RECT design = px(0, 0, 8145, 6375);
    EXPECT_EQ(client.right, design.right);
    EXPECT_EQ(client.bottom, design.bottom);
    EXPECT_EQ(GetWindowLongW(form, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);

    struct Place {
        const char* name;
        int left, top, width, height;
        bool shown;
    };
    const Place places[] = {
        {"mainText", 240, 840, 3855, 1095, true},    {"ProgressBar1", 240, 1800, 3855, 255, false},
        {"DriveList", 240, 2400, 3255, 315, true},   {"DriveSize", 240, 2760, 3255, 1095, true},
        {"Label2", 240, 4320, 2415, 855, true},      {"buttonExit", 240, 5500, 1350, 645, true},
        {"buttonBack", 1680, 5500, 1350, 645, true}, {"buttonOK", 3120, 5500, 1350, 645, true},
        {"buttonLog", 6360, 5500, 1350, 645, true},  {"logText", 240, 6200, 7455, 2655, false},
        {"showLog", 3000, 1080, 855, 255, false},    {"hideLog", 3000, 1440, 855, 255, false},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        HWND c = control(p.name);
        ASSERT_NE(c, nullptr);
        const RECT want = px(p.left, p.top, p.width, p.height);
        const RECT got = placeOf(c);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
        EXPECT_EQ(IsWindowVisible(c) != FALSE, p.shown);
    }

    // The frame lines and the pictures are painted on the window, below the controls.
    const Image shot = capture(form, true);
    const uint32_t ink = rgb(GetSysColor(COLOR_WINDOWTEXT));
    const uint32_t face = rgb(GetSysColor(COLOR_BTNFACE));
    const RECT frame = px(120, 120, 7920, 6120);
    const int midX = (frame.left + frame.right) / 2, midY = (frame.top + frame.bottom) / 2;
    EXPECT_EQ(shot.at(midX, frame.top), ink);     // Line1
    EXPECT_EQ(shot.at(frame.right, midY), ink);   // Line2
    EXPECT_EQ(shot.at(midX, frame.bottom), ink);  // Line3
    EXPECT_EQ(shot.at(frame.left, midY), ink);    // Line4
    EXPECT_EQ(shot.at(frame.left + 3, midY), face);
    EXPECT_GT(colours(shot, px(240, 240, 7575, 540)), 50u);     // Image1
    EXPECT_GT(colours(shot, px(3585, 1440, 2895, 3015)), 50u);  // Picture1
    EXPECT_GT(colours(shot, px(5895, 3480, 1815, 1645)), 50u);  // Picture2
    EXPECT_GT(colours(shot, placeOf(control("buttonOK"))), 10u);

    EXPECT_TRUE(IsWindowEnabled(control("buttonOK")));
    EXPECT_FALSE(IsWindowEnabled(control("buttonBack")));
    // The menu: the image dialog, kept images, the session logs' folder, the guide, and About last.
    std::vector<std::wstring> entries;
    for (int i = 0; i < GetMenuItemCount(GetMenu(form)); ++i) {
        wchar_t entry[32] = {};
        GetMenuStringW(GetMenu(form), static_cast<UINT>(i), entry, 32, MF_BYPOSITION);
        entries.emplace_back(entry);
    }
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"Diskette image...", L"Keep diskette images...",
                                                  L"Log folder", L"Guide", L"About"}));

    // The status box, the log and the drive list as start-up leaves them.
    HWND status = control("mainText");
    EXPECT_EQ(window->mainText().text(), floppyPrompt);
    EXPECT_EQ(textOf(status), win32ui::wide(floppyPrompt));
    EXPECT_NE(GetWindowLongW(status, GWL_STYLE) & ES_READONLY, 0);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(11, static_cast<int>(win32ui::windowDpi(form)), 72));
    const std::string banner =
        "\r\n" + std::string(31, '=') + "\r\nVELT Database Media Converter Version 1.0.0\r\n";
    EXPECT_EQ(textOf(control("logText")).substr(0, banner.size()), win32ui::wide(banner));
    EXPECT_EQ(window->logText().backColor(), (ui::Color{213, 200, 187}));

    HWND combo = control("DriveList");
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    wchar_t item[32] = {};
    SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"c: [SYSTEM]");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(window->driveList().listIndex(), 1);
    EXPECT_EQ(textOf(control("DriveSize")), L"Fixed Drive C: [SYSTEM] - SYSTEM");
    EXPECT_EQ(window->focus(), "DriveList");
    EXPECT_EQ(app::wizardStep, 0);
    screenshot(form, "startup");
}

// Part of the start-up sequence on the real window class: this window is the other instance
// of a second one, and never of itself.
TEST_F(Win32StartUp, AnotherInstanceIsFoundByItsClassAndTitle) {
    EXPECT_FALSE(window->anotherInstanceRunning());
    start();

    auto second = std::make_unique<win32ui::Win32MainWindow>();
    ui::installWindow(second.get());
    Form1::resetForm();
    EXPECT_FALSE(Form1::dispatch(Form1::Form_Load));
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

using Win32LogButton = Win32WindowTest;

TEST_F(Win32LogButton, GrowsTheWindowToShowTheLogAndShrinksItBack) {
    start();
    HWND form = window->handle();
    RECT outer{};
    GetWindowRect(form, &outer);
    const int shortHeight = outer.bottom - outer.top;
    click("buttonLog");
    EXPECT_EQ(window->height(), 9935);
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.bottom, px(0, 0, 0, 9320).bottom);
    GetWindowRect(form, &outer);
    EXPECT_EQ(outer.bottom - outer.top - shortHeight, client.bottom - px(0, 0, 0, 6375).bottom);
    EXPECT_TRUE(IsWindowVisible(control("logText")));
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::hideLog);
    const Image shot = capture(form, true);
    const uint32_t ink = rgb(GetSysColor(COLOR_WINDOWTEXT));
    const int bottom = px(0, 9080, 0, 0).top;
    EXPECT_EQ(shot.at(px(4000, 0, 0, 0).left, bottom), ink);
    EXPECT_EQ(shot.at(px(120, 0, 0, 0).left, bottom - 5), ink);
    EXPECT_EQ(shot.at(px(8040, 0, 0, 0).left, bottom - 5), ink);
    screenshot(form, "log-shown");

    click("buttonLog");
    EXPECT_EQ(window->height(), 6990);
    GetWindowRect(form, &outer);
    EXPECT_EQ(outer.bottom - outer.top, shortHeight);
    EXPECT_FALSE(IsWindowVisible(control("logText")));
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::showLog);
}

TEST_F(Win32LogButton, ANewMessageIsSelectedWhileTheLogIsShown) {
    start();
    click("buttonLog");
    pick("a:");
    click("buttonOK");  // the floppy drive is chosen: its log line is selected
    HWND log = control("logText");
    DWORD from = 0, to = 0;
    SendMessageW(log, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(textOf(log).substr(from, to - from),
              L"Please insert diskette #1 and press the OK button");
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

using Win32CloseBox = Win32WindowTest;

TEST_F(Win32CloseBox, AsksBeforeEndingAndNeverAsksTwice) {
    start();
    HWND form = window->handle();
    boxes->queue(IDNO);
    SendMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(form));
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].title, "warning!");
    EXPECT_EQ(window->messageBoxes()[0].icon, ui::Icon::exclamation);
    EXPECT_EQ(window->messageBoxes()[0].answer, ui::Answer::no);

    boxes->queue(IDYES);
    SendMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Form1::ended());
    EXPECT_TRUE(window->quitCalled());
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_EQ(window->messageBoxes().size(), 2u);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    // The ended program raises no further close request, and its buttons do nothing.
    ShowWindow(form, SW_SHOW);
    SendMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form));
    click("buttonOK");
    EXPECT_EQ(window->messageBoxes().size(), 2u);
    EXPECT_EQ(boxes->unanswered(), 0);
}

using Win32DriveList = Win32WindowTest;

TEST_F(Win32DriveList, PickAndKeyPressRunTheChangeHandling) {
    start();
    pick("e:");
    EXPECT_EQ(window->driveList().listIndex(), 2);
    EXPECT_EQ(textOf(control("DriveSize")), L"Removable Drive E: - CF");
    EXPECT_EQ(window->focus(), "buttonOK");

    // A key that moves nowhere still runs the handling, which moves the focus to OK.
    HWND combo = control("DriveList");
    SetFocus(combo);
    EXPECT_EQ(window->focus(), "DriveList");
    press(VK_SHIFT);
    EXPECT_EQ(window->focus(), "buttonOK");
    // Tab only moves the focus on, to the next in the tab order.
    SetFocus(combo);
    press(VK_TAB);
    EXPECT_EQ(window->focus(), "buttonOK");

    // Arrow keys move through the list like picks.
    SetFocus(combo);
    press(VK_UP);
    EXPECT_EQ(window->driveList().listIndex(), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(textOf(control("DriveSize")), L"Fixed Drive C: [SYSTEM] - SYSTEM");
}

TEST_F(Win32DriveList, OpeningTheListShowsDrivesAddedSinceStartUp) {
    start();
    scratch.make("f");
    platform::MediumOptions f;
    f.root = scratch.path() / "f";
    f.label = "CARD";
    drives.define('F', platform::driveRemovable, f);
    HWND combo = control("DriveList");
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    pump();
    pick("f:");
    EXPECT_EQ(textOf(control("DriveSize")), L"Removable Drive F: - CARD");
}

TEST_F(Win32DriveList, AVolumeThatArrivesOrGoesIsShownAtOnce) {
    start();
    pick("e:");
    platform::MediumOptions f;
    f.root = scratch.make("f");
    f.label = "CARD";
    drives.define('F', platform::driveRemovable, f);
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

    drives.define('E', platform::driveRemovable, std::nullopt);  // the card is pulled
    volume.dbcv_unitmask = 1u << ('E' - 'A');
    SendMessageW(window->handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&volume));
    EXPECT_EQ(textOf(control("DriveSize")), L"Drive E:");
}

// The "Diskette image..." entry's file dialog, with a name beyond the Windows code page typed
// into it as a person would.
TEST_F(Win32DriveList, AnImagePickedInTheFileDialogGoesIntoDriveA) {
    auto machine = std::make_unique<platform::FolderDriveTable>();
    machine->define('A', platform::driveRemovable, std::nullopt);
    platform::MediumOptions c;
    c.root = scratch.path() / "c";
    machine->define('C', platform::driveFixed, c);
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

// "Keep diskette images..." beside "Diskette image...": a folder dialog, then a check mark on
// the entry while images are kept.
TEST_F(Win32DriveList, KeepDisketteImagesTakesAFolderAndWearsACheckMark) {
    start();
    HWND form = window->handle();
    wchar_t entry[40] = {};
    GetMenuStringW(GetMenu(form), 1, entry, 40, MF_BYPOSITION);
    EXPECT_STREQ(entry, L"Keep diskette images...");
    const auto folder = scratch.path() / "kept";
    std::filesystem::create_directories(folder);
    const std::wstring chosen = folder.wstring();
    std::wstring title;
    boxes->observer = [&](HWND dialog) {
        title = textOf(dialog);
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(chosen.c_str()));
        // The dialog's tree follows the selection in messages of its own: let them run before
        // the fixture presses OK.
        for (int i = 0; i < 30; ++i) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            Sleep(10);
        }
    };
    SendMessageW(form, WM_COMMAND, GetMenuItemID(GetMenu(form), 1), 0);
    pump();
    EXPECT_EQ(title, L"Keep diskette images");
    const std::string kept = Form1::keptImagesFolder();
    EXPECT_EQ(kept.substr(kept.size() - std::min<size_t>(kept.size(), 5)), "\\kept") << kept;
    GetMenuStringW(GetMenu(form), 1, entry, 40, MF_BYPOSITION);
    EXPECT_STREQ(entry, L"\u221A Keep diskette images...");
    screenshot(form, "keep-images-on", true);
    Form1::keepImagesIn("");
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

TEST_F(Win32DriveList, ANotReadyCardDriveFallsBackToTheSavedIndex) {
    start();
    app::wizardStep = 3;  // choosing the Compact Flash drive
    pick("a:");
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(window->driveList().listIndex(), Form1::savedListIndex);
    EXPECT_EQ(SendMessageW(control("DriveList"), CB_GETCURSEL, 0, 0), Form1::savedListIndex);
}

using Win32About = Win32WindowTest;

TEST_F(Win32About, OpensOnceNonModalWithItsTextsAndClosesWithOK) {
    start();
    HWND form = window->handle();
    const int last = GetMenuItemCount(GetMenu(form)) - 1;
    const auto about = static_cast<WORD>(GetMenuItemID(GetMenu(form), last));
    SendMessageW(form, WM_COMMAND, about, 0);
    auto& box = window->win32AboutBox();
    HWND dialog = box.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(form));  // not modal
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), form);
    EXPECT_EQ(textOf(dialog), L"About VELT Database Media Converter");
    const UINT dpi = win32ui::windowDpi(dialog);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, win32ui::px(5730, dpi));
    EXPECT_EQ(client.bottom, win32ui::px(3270, dpi));
    EXPECT_EQ(textOf(box.control("lblTitle")), L"VELT Database Media Converter");
    EXPECT_EQ(textOf(box.control("lblVersion")), L"Version 1.0 ( Mar 24, 2005 )");
    const std::wstring description =
        L"This tool converts the Valdrome system database from floppy diskettes form into "
        L"Compact Flash based form.\r\nTo be used when upgrading to a PENTIUM IV based Valdrome "
        L"system.\r\n\r\nBy Halvex Networks.";
    HWND text = box.control("lblDescription");
    EXPECT_EQ(textOf(text), description);
    // All four lines are seen: the font gives way where the label is too small for it.
    RECT room{};
    GetClientRect(text, &room);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, room.right, 0};
    DrawTextW(dc, description.c_str(), -1, &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    EXPECT_LE(needed.bottom, room.bottom);
    HWND ok = box.control("cmdOK");
    EXPECT_EQ(textOf(ok), L"OK");
    RECT okPlace{};
    GetWindowRect(ok, &okPlace);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&okPlace), 2);
    EXPECT_EQ(okPlace.left, win32ui::px(2160, dpi));
    EXPECT_EQ(okPlace.bottom, win32ui::px(2640 + 345, dpi));
    const Image shot = capture(dialog, true);
    EXPECT_GT(colours(shot, win32ui::twipsRect(dpi, 240, 240, 540, 540)), 20u);  // picIcon
    screenshot(dialog, "about");

    // The main window goes on working while the box is open; the entry again only brings the
    // same box forward.
    click("buttonLog");
    EXPECT_EQ(window->height(), 9935);
    SendMessageW(form, WM_COMMAND, about, 0);
    EXPECT_EQ(box.dialog(), dialog);
    EXPECT_EQ(box.loads(), 1);
    EXPECT_EQ(textOf(box.control("lblDescription")), description);

    SendMessageW(ok, BM_CLICK, 0, 0);
    pump();
    EXPECT_FALSE(box.loaded());
    EXPECT_FALSE(IsWindow(dialog));
    SendMessageW(form, WM_COMMAND, about, 0);
    EXPECT_EQ(box.loads(), 2);
    EXPECT_EQ(textOf(box.control("lblDescription")), description);

    // Its close box and Esc unload it as OK does.
    SendMessageW(box.dialog(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(box.loaded());
    SendMessageW(form, WM_COMMAND, about, 0);
    SetFocus(box.control("cmdOK"));
    press(VK_ESCAPE);
    EXPECT_FALSE(box.loaded());
}

}  // namespace
}  // namespace win32test
