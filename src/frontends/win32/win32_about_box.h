// The About box on Win32, built from the form's table: a non-modal window owned by the main window,
// with the program's icon, its title, version and description, created when the logic loads it and
// destroyed when it unloads it. Its OK button, its close box, Enter and Esc all unload it through
// the boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "frontends/win32/win32_controls.h"
#include "ui/window_base.h"

namespace win32ui {

class Win32AboutBox : public ui::AboutBoxBase {
  public:
    Win32AboutBox();
    ~Win32AboutBox() override;
    Win32AboutBox(const Win32AboutBox&) = delete;
    Win32AboutBox& operator=(const Win32AboutBox&) = delete;

    // The window the dialog stays above and opens over.
    void setOwner(HWND owner) { owner_ = owner; }

    ui::Label& lblTitle() override { return title_; }
    ui::Label& lblVersion() override { return version_; }
    ui::Label& lblDescription() override { return description_; }

    // The dialog while it is loaded, else nullptr.
    HWND dialog() const { return dialog_; }
    // A control by its name ("lblTitle", "cmdOK", ...), nullptr for none.
    HWND control(std::string_view name) const;
    // Enter, Esc and Tab for the dialog; true when `message` was taken.
    bool preTranslate(MSG& message);

  protected:
    void create() override;
    void destroy() override;
    void present() override;
    void showCaption(const std::string& caption) override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void layout();

    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
    HWND ok_ = nullptr;
    HICON icon_ = nullptr;
    Look look_;
    Win32Label title_, version_, description_;
};

}  // namespace win32ui
