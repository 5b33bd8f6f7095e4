// The main window's controls on Win32 controls, as the logic sees them (ui/main_window.h). Each
// adapter keeps what the logic set in its own terms (UTF-8 texts, float progress values) and
// shows it on its control; lengths and selections are the edit control's own UTF-16 offsets.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "frontends/win32/pictures.h"
#include "ui/controls.h"
#include "ui/main_window.h"

namespace win32ui {

// UTF-8 inside the converter, UTF-16 in every call; bytes that are no UTF-8 become U+FFFD.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view utf16);

struct GdiDelete {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDelete>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDelete>;

// What the controls of one window share: its DPI and the system's message font at that DPI.
struct Look {
    UINT dpi = 96;
    LOGFONTW logFont{};
    Font font;

    // Takes `dpi` and makes the font for it.
    void setDpi(UINT newDpi);
};

// A multi-line edit control, in the window's font or in the typeface `face`.
class Win32TextBox : public ui::TextBox {
  public:
    Win32TextBox(HWND edit, const Look& look, std::wstring face = {});

    bool visible() const override;
    void setVisible(bool visible) override;
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;
    // Adds at the end with EM_REPLACESEL; the selection stays where it was.
    void appendText(const std::string& more) override;
    int32_t length() const override { return length_; }
    bool locked() const override;
    void setLocked(bool locked) override;
    int fontSize() const override;
    void setFontSize(int points) override;
    ui::Color backColor() const override { return color_; }
    void setBackColor(ui::Color color) override;
    int32_t selStart() const override;
    int32_t selLength() const override;
    void setSelection(int32_t start, int32_t length) override;
    void refresh() override;

    HWND handle() const { return edit_; }
    // Shows the font again for the window's DPI.
    void restyle();
    // The colours to paint it in (its WM_CTLCOLOREDIT or WM_CTLCOLORSTATIC).
    HBRUSH paint(HDC dc) const;
    // The user changed the text (EN_CHANGE): it is read back.
    void edited();

  private:
    HWND edit_;
    const Look& look_;
    std::string text_;
    int32_t length_ = 0;
    std::wstring face_;
    int points_ = 0;  // 0: the window's font size
    Font font_;
    ui::Color color_;
    Brush brush_;
    bool setting_ = false;
};

// A static control, or nothing while its dialog is unloaded. A fitted label makes its font
// smaller until the whole caption fits.
class Win32Label : public ui::Label {
  public:
    struct Style {
        bool fit = false;
        int percent = 100;  // of the window's font size
        bool bold = false;
    };
    Win32Label(const Look& look, Style style) : look_(look), style_(style) {}

    // Shows the caption on `label` from now on (nullptr: on nothing).
    void attach(HWND label);
    bool visible() const override;
    void setVisible(bool visible) override;
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override;
    void refresh() override;

    HWND handle() const { return label_; }
    void restyle() { show(); }

  private:
    void show();
    const Look& look_;
    Style style_;
    HWND label_ = nullptr;
    std::string caption_;
    Font font_;
};

// An owner-drawn push button that wears a picture and no caption.
class Win32Button : public ui::Button {
  public:
    Win32Button(HWND button, const Look& look) : button_(button), look_(look) {}

    bool visible() const override;
    void setVisible(bool visible) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;
    ui::Picture picture() const override { return picture_; }
    void setPicture(ui::Picture picture) override;
    void setFocus() override;

    HWND handle() const { return button_; }
    // Its picture again for the window's DPI.
    void restyle();
    void draw(const DRAWITEMSTRUCT& item) const;

  private:
    HWND button_;
    const Look& look_;
    ui::Picture picture_ = ui::Picture::none;
    Bitmap bitmap_;
};

// A drop-down list (CBS_DROPDOWNLIST) of the drive table's entries.
class Win32DriveList : public ui::DriveListBase {
  public:
    explicit Win32DriveList(HWND combo);

    bool visible() const override;
    void setVisible(bool visible) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;
    void setFocus() override;

    HWND handle() const { return combo_; }
    bool dropped() const;
    // The entry the control shows as chosen now, and whether that is not yet the list index.
    int selected() const;
    bool pickPending() const { return selected() >= 0 && selected() != shown_; }
    // Makes the control show the list index again.
    void showCurrent() { showIndex(listIndex()); }

  protected:
    void showEntries(const std::vector<std::string>& entries) override;
    void showIndex(int16_t index) override;

  private:
    HWND combo_;
    int shown_ = -1;
};

// The progress bar of the common controls.
class Win32ProgressBar : public ui::ProgressBarBase {
  public:
    explicit Win32ProgressBar(HWND bar);

    bool visible() const override;
    void setVisible(bool visible) override;
    HWND handle() const { return bar_; }

  protected:
    // Repaints at once: the bar moves on the screen during a long click.
    void showBar() override;

  private:
    HWND bar_;
};

// A line of the form; the window draws it and is told where it was and is.

// Whether a control is shown by its own flag (not whether its window is on the screen).
bool shownFlag(HWND control);

// Shows a failure in the "Error!" style over `owner`.
void showFailure(HWND owner, const std::string& text);

// A window procedure's handling of one message. No C++ exception may cross the system's frames
// back to the message loop (64-bit Windows swallows it there, and the failure goes unseen): one
// that nothing below caught is shown, and the window goes on.
template <typename Handling>
LRESULT guarded(HWND window, Handling&& handling) {
    try {
        return handling();
    } catch (const std::exception& e) {
        showFailure(window, e.what());
    } catch (...) {
        showFailure(window, "Unexpected failure");
    }
    return 0;
}

}  // namespace win32ui
