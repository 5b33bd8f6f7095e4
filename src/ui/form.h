// The main window and the About box as designed, written once: every control's place in twips,
// its kind, first visibility, tab order and picture; the frame lines; the window's sizes with
// and without the log; the menu. The toolkits build their widgets by walking these tables, and
// the window tests take their places from them.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/events.h"
#include "ui/main_window.h"

namespace ui::form {

// Left, top, width and height in twips (1/1440 inch).
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect&) const = default;
};

enum class Kind {
    picture,    // a drawing, below every other control
    statusBox,  // the status text box
    logBox,     // the log text box
    progressBar,
    driveList,
    label,          // word-wrapped; its font gives way until the caption fits
    button,         // a wizard button wearing a picture
    defaultButton,  // a dialog's text button that Enter and Esc press
    pictureHolder,  // holds one of the Log button's pictures; never shown
};

// The drawings of the picture controls.
enum class Art { none, title, diskettes, card };

struct Control {
    std::string_view name;
    Kind kind;
    Rect place;
    bool visible = true;
    Picture picture = Picture::none;
    Art art = Art::none;
    std::optional<Event> click = std::nullopt;  // what a click on it sends
};

struct LineEnds {
    int x1, y1, x2, y2;
};

// The main window's controls, lowest first.
std::span<const Control> mainControls();
// The main window's control by name; nullptr for none.
const Control* mainControl(std::string_view name);
// The controls that take the focus, in tab order.
std::span<const std::string_view> tabOrder();
// Line1 to Line4 of the frame around the window's upper part.
std::span<const LineEnds> frameLines();

// The client area's width; the outer height less the client area on the designed-for platform.
inline constexpr int clientWidth = 8145;
inline constexpr int nonClientHeight = 615;

// The outer height, and where the frame's lower edge lies, with the log hidden and shown.
struct Height {
    int window;
    int frameBottom;
};
inline constexpr Height logHidden{6990, 6240};
inline constexpr Height logShown{9935, 9080};

// The About box: its client area, its icon, its three labels and its OK button.
inline constexpr Rect aboutClient{0, 0, 5730, 3270};
std::span<const Control> aboutControls();
const Control* aboutControl(std::string_view name);
// The About box's button that Enter, Esc and the close box press.
const Control& aboutDefault();
// The title's font is this much larger than the dialog's, and bold.
inline constexpr int aboutTitlePercent = 125;

// The menu's entries, left to right, each on the menu bar or in the drop-down menu it names
// there (the bar is too narrow to show them all). What each does is the wizard's.
enum class Menu { disketteImage, keepImages, checkCard, logFolder, guide, about };
struct MenuEntry {
    Menu id;
    std::string_view name;  // the object name tests find it by
    std::string_view text;
    bool enabled = true;
    std::string_view dropDown = "";  // the bar's drop-down menu that holds it; "" for the bar
};
std::span<const MenuEntry> menu();
const MenuEntry& menuEntry(Menu id);
// An entry's text; a checked entry wears `mark` before it (a menu bar draws no check of its own).
std::string menuText(Menu id, bool checked, std::string_view mark);

// Twips to pixels at `dpi`, rounded; a rectangle is mapped by its edges, so that controls that
// touch in twips touch on the screen as well.
int px(int twips, double dpi);
struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};
PixelRect px(const Rect& twips, double dpiX, double dpiY);
// How much larger than at 96 DPI the pictures are drawn.
inline double pictureScale(double dpi) {
    return dpi / 96.0;
}

// The label fit rule: the label's own size first, then smaller by `step` while the caption does
// not fit, down to `smallest` (6 points, in the toolkit's unit). `fits` answers for a size.
double fitSize(double own, double step, double smallest,
               const std::function<bool(double size)>& fits);

}  // namespace ui::form
