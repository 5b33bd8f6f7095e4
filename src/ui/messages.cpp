// The status line, the log, the message boxes, the end of the program and the number texts of
// messages.
#include "ui/messages.h"

#include <array>
#include <charconv>
#include <string_view>

#include "platform/error.h"
#include "platform/utf8_text.h"
#include "state/identity.h"
#include "state/state.h"
#include "ui/session_log.h"

namespace ui {

void setStatus(const std::string& text) {
    auto& w = ui::window();
    w.mainText().setText(text + crlf);
    w.mainText().refresh();
    w.statusShown(text);
    appendLog(text);
}

void appendLog(const std::string& text) {
    auto& w = ui::window();
    auto& log = w.logText();
    log.appendText(text + crlf);
    if (log.visible()) {
        const int32_t length = platform::utf16Length(text);
        log.setSelection(log.length() - length - 2, length);
    }
    w.logAppended(text);
    ui::recordInSessionLog(text + crlf);
}

void advanceProgress(int16_t step) {
    try {
        ui::ProgressBar& bar = ui::window().progressBar();
        bar.setValue(bar.value() + static_cast<float>(step));
    } catch (const platform::Error&) {
        // A value beyond the bar's range leaves the bar where it is.
    }
    ui::keepAlive();
}

namespace {

// Sets something of the progress bar. Showing progress is no part of the work: a bar that
// refuses is passed over.
template <typename Set>
void onBar(Set set) {
    try {
        set(ui::window().progressBar());
    } catch (const platform::Error&) {
        // passed over, as said above
    }
}

}  // namespace

void restartProgress() {
    onBar([](ui::ProgressBar& bar) { bar.setValue(0); });
}

void showProgress(bool visible) {
    onBar([visible](ui::ProgressBar& bar) { bar.setVisible(visible); });
}

void setProgressMin(float value) {
    onBar([value](ui::ProgressBar& bar) { bar.setMin(value); });
}

void setProgressMax(float value) {
    onBar([value](ui::ProgressBar& bar) { bar.setMax(value); });
}

void promptForDiskette(int16_t n) {
    setStatus("Please insert diskette #" + std::to_string(n) + " and press the OK button");
}

ui::Answer msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                  const std::string& title) {
    return ui::window().msgBox(text, buttons, icon, title.empty() ? app::appTitle : title);
}

void errorBox(const std::string& text) {
    msgBox(text, ui::Buttons::ok, ui::Icon::critical, "Error!");
}

void report(const std::string& text, const std::string& logPrefix) {
    app::errorText = text;
    appendLog(logPrefix + text);
    errorBox(text);
}

void endProgram() {
    throw ProgramEnded{};
}

std::string numberText(double value) {
    if (value == 0)
        return "0";  // also for -0
    // Large enough for the fixed form of any double (309 digits before the point at most,
    // some 770 after it for the smallest subnormals).
    std::array<char, 1100> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace ui
