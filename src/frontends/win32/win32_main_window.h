// The main window on the Win32 API, built from the form's table with its twips mapped through
// the window's DPI, with the About box and modal message boxes. Every event of the window
// enters the logic through the boundary (wizard/events.h).
#pragma once

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/win32/pictures.h"
#include "frontends/win32/win32_about_box.h"
#include "frontends/win32/win32_controls.h"
#include "platform/image_drives.h"
#include "ui/form.h"
#include "ui/window_base.h"
#include "wizard/events.h"

namespace win32ui {

class Win32MainWindow : public ui::WindowBase, private wizard::MenuToolkit {
  public:
    // The window class's own name, which the instance check looks for.
    static constexpr wchar_t className[] = L"VeltConverterMainWindow";
    // The menu entries' command ids, in the form's order.
    static constexpr int firstMenuId = 200;

    // The main window in its first state, not shown yet; the drive list lists the installed drive
    // table.
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

    Win32AboutBox& win32AboutBox() { return about_; }

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    void show() override;
    // Looks for another instance's main window: one of this window class, titled with the
    // application title.
    bool anotherInstanceRunning() override;
    // Paints what is due and lets the system see the window answering; mouse and keys wait
    // until the event ends.
    void keepAlive() override;

  protected:
    ui::Answer showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                       const std::string& title) override;
    void resize(int twips) override;
    bool focused(std::string_view name) const override;
    // Hides the windows without a close request, and ends the message loop.
    void close() override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void create();
    void layout();
    void paint(HDC dc);
    void command(WORD id, WORD code);
    void pickDrive();
    // The menu's dialogs (the shell's) and openers.
    platform::ImageDriveTable* imageDrives() override { return imageDrives_; }
    std::string openImageFile(const std::string& proposal) override;
    std::string openFolder(const std::string& current) override;
    std::string pickCardDrive(const std::vector<std::string>& entries,
                              const std::string& proposed) override;
    bool openLocal(const std::filesystem::path& path) override;
    // A root sign, which every menu font has.
    std::string_view checkMark() const override { return "\u221A "; }
    void setMenuText(ui::form::Menu entry, const std::string& text) override;
    void lineMoved(const ui::FrameLine& line);
    Win32Button* buttonOf(HWND control);

    HWND window_ = nullptr;
    Look look_;
    std::unique_ptr<Win32TextBox> mainText_, logText_;
    Win32Label driveSize_, summaryLabel_;
    std::vector<std::unique_ptr<Win32Button>> buttons_;  // the wizard buttons and the holders
    std::unique_ptr<Win32DriveList> driveList_;
    std::unique_ptr<Win32ProgressBar> progressBar_;
    std::map<ui::form::Art, Bitmap> art_;
    Win32AboutBox about_;

    platform::ImageDriveTable* imageDrives_ = nullptr;
};

}  // namespace win32ui
