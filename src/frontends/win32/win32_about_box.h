// frmAbout on Win32: a non-modal window owned by the main window, with the program's icon, its
// title, version and description, created when the logic loads it and destroyed when it
// unloads it. Its OK button, its close box, Enter and Esc all unload it through the boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "frontends/win32/win32_controls.h"
#include "ui/main_window.h"

namespace win32ui {

class Win32AboutBox : public ui::AboutBox {
  public:
    Win32AboutBox();
    ~Win32AboutBox() override;
    Win32AboutBox(const Win32AboutBox&) = delete;
    Win32AboutBox& operator=(const Win32AboutBox&) = delete;

    // The window the dialog stays above and opens over.
    void setOwner(HWND owner) { owner_ = owner; }

    bool loaded() const override { return dialog_ != nullptr; }
    void load() override;
    void unload() override;
    void show() override;
    void setCaption(const std::string& caption) override;
    std::string caption() const override { return caption_; }
    ui::Label& lblTitle() override { return title_; }
    ui::Label& lblVersion() override { return version_; }
    ui::Label& lblDescription() override { return description_; }

    // The dialog while it is loaded, else nullptr.
    HWND dialog() const { return dialog_; }
    // A control by its name ("lblTitle", "cmdOK", ...), nullptr for none.
    HWND control(std::string_view name) const;
    // How many times a dialog has been created.
    int loads() const { return loads_; }
    // Enter, Esc and Tab for the dialog; true when `message` was taken.
    bool preTranslate(MSG& message);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void layout();

    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
    HWND ok_ = nullptr;
    HICON icon_ = nullptr;
    Look look_;
    std::string caption_;
    Win32Label title_, version_, description_;
    int loads_ = 0;
};

}  // namespace win32ui
