// The recording controls of the headless window.
#include "frontends/headless/controls.h"

#include <algorithm>

#include "platform/context.h"
#include "platform/error.h"
#include "platform/utf8_text.h"

namespace headless {

// ---- HeadlessTextBox ----

void HeadlessTextBox::setText(const std::string& text) {
    text_ = text;
    settledBytes_ = 0;
    settledUnits_ = 0;
    countFromSettled();
    selStart_ = 0;
    selLength_ = 0;
}

void HeadlessTextBox::appendText(const std::string& more) {
    text_ += more;
    countFromSettled();
}

// Decodes from the settled point on. A sequence cut off by the end of the text is not settled:
// its bytes count one unit each until an append completes it or shows it invalid.
void HeadlessTextBox::countFromSettled() {
    const std::string_view view(text_);
    size_t i = settledBytes_;
    while (i < view.size()) {
        const platform::Utf8Step step = platform::utf8Step(view, i);
        if (step.truncated)
            break;
        settledUnits_ += step.units;
        i += step.bytes;
    }
    settledBytes_ = i;
    units_ = settledUnits_ + static_cast<int32_t>(view.size() - i);
}

void HeadlessTextBox::setSelection(int32_t start, int32_t length) {
    selStart_ = std::clamp(start, 0, units_);
    selLength_ = std::clamp(length, 0, units_ - selStart_);
}

// ---- HeadlessDriveList ----

HeadlessDriveList::HeadlessDriveList(std::string* focus) : focus_(focus) {
    refreshDrives();
}

// ---- HeadlessLine ----

void HeadlessLine::setEnds(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
}

// ---- HeadlessAboutBox ----

void HeadlessAboutBox::load() {
    if (loaded_)
        return;
    loaded_ = true;
    ++loads_;
    caption_.clear();
    title_ = HeadlessLabel();
    version_ = HeadlessLabel();
    description_ = HeadlessLabel();
}

void HeadlessAboutBox::unload() {
    loaded_ = false;
    shown_ = false;
}

void HeadlessAboutBox::show() {
    if (!loaded_)
        load();
    shown_ = true;
    ++shows_;
}

}  // namespace headless
