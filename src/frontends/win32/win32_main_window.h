// Form1 on the Win32 API: the main window with every control at its place in twips mapped
// through the window's DPI, the About box, and modal message boxes. Every event of the window
// enters the logic through the boundary (wizard/events.h).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/win32/pictures.h"
#include "frontends/win32/win32_about_box.h"
#include "frontends/win32/win32_controls.h"
#include "platform/image_drives.h"
#include "ui/main_window.h"

namespace win32ui {

struct MessageRecord {
    std::string text;
    ui::Buttons buttons;
    ui::Icon icon;
    std::string title;
    ui::Answer answer;
};

class Win32MainWindow : public ui::MainWindow {
  public:
    // The window class's own name, which the instance check looks for.
    static constexpr wchar_t className[] = L"VeltConverterMainWindow";

    // Form1 in its initial state, not shown yet; the drive list lists the installed drive table.
    Win32MainWindow();
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    HWND handle() const { return window_; }
    // A control by its name ("buttonOK", "DriveList", ...), nullptr for none.
    HWND control(std::string_view name) const;
    // The drives whose floppy drive takes the images the "Diskette image..." entry picks; the
    // entry is greyed without them.
    void setImageDrives(platform::ImageDriveTable* drives);

    // The message loop, until the program ends; returns the exit status.
    int run();
    // What happens to a message before it is dispatched: a key pressed in the drive list goes
    // to the logic first, Tab, Enter and Esc move between the controls. True when taken.
    bool preTranslate(MSG& message);

    const std::vector<MessageRecord>& messageBoxes() const { return boxes_; }
    bool quitCalled() const { return quit_; }
    Win32AboutBox& win32AboutBox() { return about_; }

    ui::TextBox& mainText() override { return *mainText_; }
    ui::TextBox& logText() override { return *logText_; }
    ui::Label& driveSize() override { return driveSize_; }
    ui::Label& label2() override { return label2_; }
    ui::Button& buttonOK() override { return *buttonOK_; }
    ui::Button& buttonBack() override { return *buttonBack_; }
    ui::Button& buttonExit() override { return *buttonExit_; }
    ui::Button& buttonLog() override { return *buttonLog_; }
    ui::DriveList& driveList() override { return *driveList_; }
    ui::ProgressBar& progressBar1() override { return *progressBar1_; }
    // Raises 9 for a number other than 1 to 4.
    ui::Line& line(int n) override;
    ui::AboutBox& aboutBox() override { return about_; }

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    int height() const override { return height_; }
    // The client area takes the outer height less the frame, title and menu bar of the
    // designed-for platform (615 twips); the window cannot be resized otherwise.
    void setHeight(int twips) override;
    void show() override;
    std::string focus() const override;

    ui::Answer msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                      const std::string& title) override;
    // Looks for another instance's main window: one of this window class, titled with the
    // application title.
    bool anotherInstanceRunning() override;
    // Hides the windows without a close request, and ends the message loop.
    void quit() override;
    // Paints what is due and lets the system see the window answering; mouse and keys wait
    // until the event ends.
    void keepAlive() override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void create();
    void layout();
    void paint(HDC dc);
    void command(WORD id, WORD code);
    void pickDrive();
    void chooseDisketteImage();
    void chooseKeptImagesFolder();
    void lineMoved(const Win32Line& line);
    Win32Button* buttonOf(HWND control);

    HWND window_ = nullptr;
    Look look_;
    std::unique_ptr<Win32TextBox> mainText_, logText_;
    Win32Label driveSize_, label2_;
    std::unique_ptr<Win32Button> buttonOK_, buttonBack_, buttonExit_, buttonLog_, showLog_,
        hideLog_;
    std::unique_ptr<Win32DriveList> driveList_;
    std::unique_ptr<Win32ProgressBar> progressBar1_;
    std::vector<std::unique_ptr<Win32Line>> lines_;
    Bitmap title_, diskettes_, card_;
    Win32AboutBox about_;
    int height_ = 0;

    platform::ImageDriveTable* imageDrives_ = nullptr;
    std::wstring lastImage_;  // the image picked last, for the next proposal
    std::vector<MessageRecord> boxes_;
    bool quit_ = false;
};

}  // namespace win32ui
