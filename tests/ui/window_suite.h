// The window suite that every desktop toolkit runs: the form's places taken from its table, the
// start state, the Log button, the close box, the drive list and the About box. A toolkit's
// test program supplies makeToolkit(): its window driven as a user drives it, seen as a user
// sees it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_drives.h"
#include "support/test_support.h"
#include "ui/form.h"
#include "ui/window_base.h"

namespace uitest {

// Pixels of the window's client area (or the About box's).
using Px = ui::form::PixelRect;

class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // The window, made with drives a: (removable, no diskette), c: (fixed "SYSTEM", with the
    // temporary folder) and e: (removable "CF") under a table that takes diskette images into
    // a:, as the desktop programs make it, installed as the running window.
    virtual ui::WindowBase& window() = 0;
    virtual platform::FolderDriveTable& drives() = 0;
    virtual testsupport::ScratchDir& scratch() = 0;
    // The load event through the boundary; the window is shown and painted afterwards.
    virtual void start() = 0;

    // What the user does.
    virtual void pick(const std::string& letter) = 0;  // the drive list entry "e:..."
    virtual void click(std::string_view button) = 0;
    enum class Key { shift, tab, up };
    virtual void press(std::string_view control, Key key) = 0;  // focused first
    virtual void openList() = 0;
    virtual void closeList() = 0;
    virtual void choose(ui::form::Menu entry) = 0;
    // The drive the next drive dialog picks ("e:"), answered with its OK button; a picture of
    // the dialog is taken first.
    virtual void pickInDialog(const std::string& letter) = 0;
    // "Keep diskette images...", its folder dialog answered with `folder` (OK), or with Cancel
    // when it is empty; returns the dialog's title.
    virtual std::string keepImages(const std::filesystem::path& folder) = 0;
    // The close box; true when the window closed.
    virtual bool closeBox() = 0;
    virtual void answerNext(ui::Answer answer) = 0;
    virtual int unanswered() const = 0;

    // What the user sees.
    virtual Px px(const ui::form::Rect& twips) const = 0;
    virtual Px client() const = 0;
    virtual int outerHeight() const = 0;
    virtual bool resizable() const = 0;
    virtual bool windowShown() const = 0;
    // A control's place; pictures drawn on the window itself answer where they are drawn.
    virtual Px place(std::string_view control) const = 0;
    virtual bool shown(std::string_view control) const = 0;
    virtual bool enabled(std::string_view control) const = 0;
    // A control's text with CR LF as "\n".
    virtual std::string text(std::string_view control) const = 0;
    virtual bool pictureDrawn(const ui::form::Control& control) const = 0;
    virtual bool frameLineDrawn(const ui::form::LineEnds& ends) const = 0;
    virtual std::vector<std::string> listEntries() const = 0;
    virtual int listCurrent() const = 0;
    virtual std::vector<std::string> menu() const = 0;
    // What a checked menu entry wears before its text.
    virtual std::string checkMark() const = 0;
    virtual bool menuEnabled(ui::form::Menu entry) const = 0;
    virtual std::string selectedLog() const = 0;
    virtual int statusFontPoints() const = 0;
    // The progress bar's position and end as it shows them.
    struct Progress {
        int position, maximum;
    };
    virtual Progress progress() const = 0;
    virtual bool readOnly(std::string_view textBox) const = 0;

    // The About box while loaded.
    virtual bool aboutShown() const = 0;
    virtual bool aboutModal() const = 0;
    virtual std::string aboutCaption() const = 0;
    virtual Px aboutClient() const = 0;
    virtual Px aboutPx(const ui::form::Rect& twips) const = 0;
    virtual Px aboutPlace(std::string_view control) const = 0;
    virtual std::string aboutText(std::string_view control) const = 0;
    // The label's text fits in it, in the font it shows.
    virtual bool aboutFits(std::string_view label) const = 0;
    virtual void aboutOk() = 0;
    virtual void aboutCloseBox() = 0;

    // Sends the platform's session logs below `home` (as its environment does) until the
    // toolkit goes; returns the folder they then go to.
    virtual std::filesystem::path useLogHome(const std::filesystem::path& home) = 0;
    // How the platform ends a line in a file.
    virtual std::string lineEnd() const = 0;

    // A picture of the window (or the About box) for a person to look at.
    virtual void screenshot(const std::string& name, bool about = false) = 0;
};

std::unique_ptr<Toolkit> makeToolkit();

}  // namespace uitest
