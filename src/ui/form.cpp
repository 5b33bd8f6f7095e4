// The tables of the main window and the About box, and the twips mapping.
#include "ui/form.h"

#include <array>
#include <cmath>

namespace ui::form {

namespace {

using enum Kind;

// The pictures come first: they lie lowest, so the status box and the progress bar that overlap
// them stay readable.
constexpr std::array mainTable{
    Control{"Image1", picture, {240, 240, 7575, 540}, true, Picture::none, Art::title},
    Control{"Picture1", picture, {3585, 1440, 2895, 3015}, true, Picture::none, Art::diskettes},
    Control{"Picture2", picture, {5895, 3480, 1815, 1645}, true, Picture::none, Art::card},
    Control{"mainText", statusBox, {240, 840, 3855, 1095}},
    Control{"showLog", pictureHolder, {3000, 1080, 855, 255}, false, Picture::showLog},
    Control{"hideLog", pictureHolder, {3000, 1440, 855, 255}, false, Picture::hideLog},
    Control{"ProgressBar1", progressBar, {240, 1800, 3855, 255}},
    Control{"DriveList", driveList, {240, 2400, 3255, 315}},
    Control{"DriveSize", label, {240, 2760, 3255, 1095}},
    Control{"Label2", label, {240, 4320, 2415, 855}},
    Control{"buttonExit",
            button,
            {240, 5500, 1350, 645},
            true,
            Picture::exit,
            Art::none,
            Event::exitClick},
    Control{"buttonBack",
            button,
            {1680, 5500, 1350, 645},
            true,
            Picture::back,
            Art::none,
            Event::backClick},
    Control{
        "buttonOK", button, {3120, 5500, 1350, 645}, true, Picture::ok, Art::none, Event::okClick},
    Control{"buttonLog",
            button,
            {6360, 5500, 1350, 645},
            true,
            Picture::showLog,
            Art::none,
            Event::logClick},
    Control{"logText", logBox, {240, 6200, 7455, 2655}, false},
};

// The controls that take the focus by Tab, the drive list first; the others take none.
constexpr std::array<std::string_view, 5> tabTable{"DriveList", "buttonOK", "buttonBack",
                                                   "buttonExit", "buttonLog"};

constexpr std::array<LineEnds, 4> lineTable{
    {{120, 120, 8040, 120},
     {8040, 120, 8040, logHidden.frameBottom},
     {120, logHidden.frameBottom, 8040, logHidden.frameBottom},
     {120, 120, 120, logHidden.frameBottom}}};

constexpr std::array aboutTable{
    Control{"picIcon", picture, {240, 240, 540, 540}},
    Control{"lblTitle", label, {1050, 240, 3885, 480}},
    Control{"lblVersion", label, {1050, 780, 3885, 225}},
    Control{"lblDescription", label, {1050, 1125, 3885, 1170}},
    Control{"cmdOK",
            defaultButton,
            {2160, 2640, 1260, 345},
            true,
            Picture::none,
            Art::none,
            Event::aboutOkClick},
};

constexpr std::array menuTable{
    MenuEntry{Menu::disketteImage, "DisketteImage", "Diskette image...", false},
    MenuEntry{Menu::keepImages, "KeepImages", "Keep diskette images..."},
    MenuEntry{Menu::checkCard, "CheckCard", "Check Compact Flash card..."},
    MenuEntry{Menu::logFolder, "LogFolder", "Log folder", true, "Help"},
    MenuEntry{Menu::guide, "Guide", "Guide", true, "Help"},
    MenuEntry{Menu::about, "About", "About", true, "Help"},
};

template <size_t N>
const Control* find(const std::array<Control, N>& table, std::string_view name) {
    for (const Control& c : table) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

}  // namespace

std::span<const Control> mainControls() {
    return mainTable;
}

const Control* mainControl(std::string_view name) {
    return find(mainTable, name);
}

std::span<const std::string_view> tabOrder() {
    return tabTable;
}

std::span<const LineEnds> frameLines() {
    return lineTable;
}

std::span<const Control> aboutControls() {
    return aboutTable;
}

const Control* aboutControl(std::string_view name) {
    return find(aboutTable, name);
}

const Control& aboutDefault() {
    for (const Control& c : aboutTable) {
        if (c.kind == defaultButton)
            return c;
    }
    return aboutTable.back();
}

std::span<const MenuEntry> menu() {
    return menuTable;
}

const MenuEntry& menuEntry(Menu id) {
    for (const MenuEntry& e : menuTable) {
        if (e.id == id)
            return e;
    }
    return menuTable.front();
}

std::string menuText(Menu id, bool checked, std::string_view mark) {
    const std::string_view text = menuEntry(id).text;
    return checked ? std::string(mark) + std::string(text) : std::string(text);
}

int px(int twips, double dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

PixelRect px(const Rect& t, double dpiX, double dpiY) {
    const int x = px(t.left, dpiX), y = px(t.top, dpiY);
    return {x, y, px(t.right(), dpiX) - x, px(t.bottom(), dpiY) - y};
}

double fitSize(double own, double step, double smallest,
               const std::function<bool(double size)>& fits) {
    double size = own;
    for (; size > smallest; size -= step) {
        if (fits(size))
            break;
    }
    return size;
}

}  // namespace ui::form
