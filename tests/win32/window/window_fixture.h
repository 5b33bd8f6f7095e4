// What the Win32 window tests share: a fresh program state with folder drives, the real window
// installed, its message boxes answered by the test as a person would, and the message pump.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "frontends/win32/win32_main_window.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"

namespace win32test {

// Answers every message box this thread shows, once it is on the screen: an OK box with OK, a
// Yes/No box with the next queued answer (No, counted as unanswered, when none is queued).
class BoxAnswerer {
  public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    void queue(int id) { answers_.push_back(id); }
    int unanswered() const { return unanswered_; }
    // Sees each box before it is answered.
    std::function<void(HWND)> observer;

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void answerShownBox();

    UINT_PTR timer_ = 0;
    HWND answered_ = nullptr;
    std::deque<int> answers_;
    int unanswered_ = 0;
};

// The text a message box shows.
std::wstring boxText(HWND box);

class Win32WindowTest : public ::testing::Test {
  protected:
    // Drives: a: removable without a diskette, c: fixed "SYSTEM" holding the temporary
    // folder C:\Temp, e: removable "CF".
    void SetUp() override;
    void TearDown() override;

    // onLoad through the boundary; the window is shown and painted afterwards.
    void start();
    // Delivers what is waiting, as the program's message loop does.
    void pump();
    // Picks the drive list entry that begins with `letter` ("e:") as the mouse does.
    void pick(const std::string& letter);
    // Clicks a button as the mouse does.
    void click(const char* button);
    // Presses a key on the control that has the focus.
    void press(UINT key);
    HWND control(const char* name) const { return window->control(name); }
    // A control's rectangle in the window's client area, and twips mapped as the window does.
    RECT placeOf(HWND control) const;
    RECT px(int left, int top, int width, int height) const;

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;
    std::unique_ptr<win32ui::Win32MainWindow> window;
    std::unique_ptr<BoxAnswerer> boxes;
    std::vector<std::wstring> shownTitles;
};

}  // namespace win32test
