// The Win32 window tests' fixture.
#include "window_fixture.h"

#include <commctrl.h>

#include <algorithm>

#include "capture.h"
#include "frontends/win32/twips.h"
#include "platform/context.h"
#include "state/state.h"
#include "support/window_drives.h"
#include "ui/main_window.h"
#include "wizard/wizard.h"

namespace win32test {

namespace {

BoxAnswerer* current = nullptr;

// A message box of this thread that is on the screen.
HWND shownBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
    current = this;
    // A thread timer: its ticks are delivered inside the message box's own modal loop.
    timer_ = SetTimer(nullptr, 0, 30, tick);
}

BoxAnswerer::~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current = nullptr;
}

void CALLBACK BoxAnswerer::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current != nullptr)
        current->answerShownBox();
}

void BoxAnswerer::answerShownBox() {
    HWND box = shownBox();
    if (box == nullptr || box == answered_)
        return;
    answered_ = box;
    RedrawWindow(box, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (observer)
        observer(box);
    int id = IDOK;
    if (GetDlgItem(box, IDYES) != nullptr) {
        if (answers_.empty()) {
            ++unanswered_;
            id = IDNO;
        } else {
            id = answers_.front();
            answers_.pop_front();
        }
    }
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

std::wstring boxText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xffff, text, 1024);  // the message box's text control
    return text;
}

void Win32WindowTest::SetUp() {
    static const bool controls = [] {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    ASSERT_TRUE(controls);
    testsupport::startOnWindowDrives(drives, scratch);

    window = std::make_unique<win32ui::Win32MainWindow>();
    ui::installWindow(window.get());
    boxes = std::make_unique<BoxAnswerer>();
    boxes->observer = [this](HWND box) {
        wchar_t title[64] = {};
        GetWindowTextW(box, title, 64);
        if (std::find(shownTitles.begin(), shownTitles.end(), title) == shownTitles.end()) {
            std::string name = "box-";
            for (const wchar_t* c = title; *c != 0; ++c) {
                if (iswalnum(*c))
                    name += static_cast<char>(towlower(*c));
            }
            screenshot(box, name);
        }
        shownTitles.push_back(title);
    };
}

void Win32WindowTest::TearDown() {
    boxes.reset();
    window.reset();
    ui::installWindow(nullptr);
    pump();  // the end's WM_QUIT too: it must not end a later test's message box
    platform::resetContext();
}

void Win32WindowTest::start() {
    ASSERT_TRUE(wizard::dispatch(wizard::onLoad));
    pump();
}

void Win32WindowTest::pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        if (window == nullptr || !window->preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void Win32WindowTest::pick(const std::string& letter) {
    HWND combo = control("DriveList");
    const std::wstring prefix(letter.begin(), letter.end());
    const auto index = SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(prefix.c_str()));
    ASSERT_GE(index, 0) << letter;
    // What the list does when the mouse picks an entry from its open list.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    const auto id = static_cast<WORD>(GetDlgCtrlID(combo));
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(combo));
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    pump();
}

void Win32WindowTest::click(const char* button) {
    HWND b = control(button);
    ASSERT_NE(b, nullptr) << button;
    SendMessageW(b, BM_CLICK, 0, 0);
    pump();
}

void Win32WindowTest::press(UINT key) {
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xc0000001);
    pump();
}

RECT Win32WindowTest::placeOf(HWND c) const {
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window->handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Win32WindowTest::px(int left, int top, int width, int height) const {
    return win32ui::twipsRect(win32ui::windowDpi(window->handle()), left, top, width, height);
}

}  // namespace win32test
