// The headless main window: the recording window whose every status, log line, message box and
// end is also written as a JSON line (the transcript velt-headless prints).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ui/recording_window.h"

namespace headless {

class HeadlessWindow : public ui::RecordingWindow {
  public:
    // Each event is also written there as a JSON line (nullptr: nowhere).
    void setTranscript(std::ostream* out) { transcript_ = out; }
    const std::vector<std::string>& events() const { return events_; }
    // Records a line of the caller's own (the script interpreter's events).
    void writeEvent(const std::string& jsonLine);

    void statusShown(const std::string& text) override;
    void logAppended(const std::string& text) override;

  protected:
    ui::Answer showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                       const std::string& title) override;
    // Writes the end event.
    void close() override;

  private:
    std::ostream* transcript_ = nullptr;
    std::vector<std::string> events_;
};

// The transcript names of the message box's parts.
std::string iconName(ui::Icon icon);
std::string buttonsName(ui::Buttons buttons);
std::string answerName(ui::Answer answer);

}  // namespace headless
