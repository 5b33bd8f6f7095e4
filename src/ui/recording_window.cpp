// The recording controls and window.
#include "ui/recording_window.h"

#include <algorithm>

#include "platform/context.h"
#include "platform/error.h"
#include "platform/utf8_text.h"

namespace ui {

// ---- RecordingTextBox ----

void RecordingTextBox::setText(const std::string& text) {
    text_ = text;
    settledBytes_ = 0;
    settledUnits_ = 0;
    countFromSettled();
    selStart_ = 0;
    selLength_ = 0;
}

void RecordingTextBox::appendText(const std::string& more) {
    text_ += more;
    countFromSettled();
}

// Decodes from the settled point on. A sequence cut off by the end of the text is not settled:
// its bytes count one unit each until an append completes it or shows it invalid.
void RecordingTextBox::countFromSettled() {
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

void RecordingTextBox::setSelection(int32_t start, int32_t length) {
    selStart_ = std::clamp(start, 0, units_);
    selLength_ = std::clamp(length, 0, units_ - selStart_);
}

// ---- RecordingDriveList ----

RecordingDriveList::RecordingDriveList(std::string* focus) : focus_(focus) {
    refreshDrives();
}

// ---- RecordingAboutBox ----

void RecordingAboutBox::create() {
    title_ = RecordingLabel();
    version_ = RecordingLabel();
    description_ = RecordingLabel();
}

void RecordingAboutBox::present() {
    shown_ = true;
    ++shows_;
}

// ---- RecordingWindow ----

RecordingWindow::RecordingWindow() {
    attach({&mainText_, &logText_, &driveSize_, &summaryLabel_, &buttonOK_, &buttonBack_,
            &buttonExit_, &buttonLog_, &driveList_, &progressBar_, &about_});
    mainText_.setText("Please wait...");
}

Answer RecordingWindow::showBox(const std::string& text, Buttons buttons, Icon,
                                const std::string& title) {
    Answer answer = Answer::ok;
    if (buttons == Buttons::yesNo) {
        const auto queued = nextAnswer();
        if (!queued)
            throw NoAnswerQueued("no answer queued for the question \"" + title + "\": " + text);
        answer = *queued;
    }
    record_.push_back("msgbox: " + title + ": " + text);
    return answer;
}

void RecordingWindow::statusShown(const std::string& text) {
    statuses_.push_back(text);
    record_.push_back("status: " + text);
}

void RecordingWindow::logAppended(const std::string& text) {
    logs_.push_back(text);
    record_.push_back("log: " + text);
}

}  // namespace ui
