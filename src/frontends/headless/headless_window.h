// The headless main window: every control keeps its state, message boxes are answered from a
// queue, and every status, log line, message box and the end are recorded as JSON lines (the
// transcript velt-headless prints). Tests install it as the running window.
#pragma once

#include <cstddef>
#include <deque>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontends/headless/controls.h"
#include "frontends/headless/json.h"
#include "ui/main_window.h"

namespace headless {

struct MsgBoxRecord {
    std::string text;
    ui::Buttons buttons;
    ui::Icon icon;
    std::string title;
    ui::Answer answer;
};

// A Yes/No box was shown with no answer queued (a script error in velt-headless).
struct NoAnswerQueued : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class HeadlessWindow : public ui::MainWindow {
  public:
    // Controls in their initial states; the drive list lists the installed drive table.
    HeadlessWindow();

    // Each event is also written there as a JSON line (nullptr: nowhere).
    void setTranscript(std::ostream* out) { transcript_ = out; }
    const std::vector<std::string>& events() const { return events_; }
    const std::vector<std::string>& statuses() const { return statuses_; }
    const std::vector<std::string>& logs() const { return logs_; }
    const std::vector<MsgBoxRecord>& messageBoxes() const { return messageBoxes_; }
    // Answers for Yes/No boxes, taken in order.
    void queueAnswer(ui::Answer answer) { answers_.push_back(answer); }
    size_t queuedAnswers() const { return answers_.size(); }
    void clearAnswers() { answers_.clear(); }
    void setAnotherInstance(bool running) { anotherInstance_ = running; }
    bool quitCalled() const { return quit_; }
    bool shown() const { return shown_; }
    // Records a line of the caller's own (the script interpreter's events).
    void writeEvent(const std::string& jsonLine);

    // The concrete controls, for the checks only a test makes (repaint counts and the like).
    HeadlessTextBox& headlessMainText() { return mainText_; }
    HeadlessTextBox& headlessLogText() { return logText_; }
    HeadlessLabel& headlessDriveSize() { return driveSize_; }
    HeadlessAboutBox& headlessAboutBox() { return about_; }

    ui::TextBox& mainText() override { return mainText_; }
    ui::TextBox& logText() override { return logText_; }
    ui::Label& driveSize() override { return driveSize_; }
    ui::Label& label2() override { return label2_; }
    ui::Button& buttonOK() override { return buttonOK_; }
    ui::Button& buttonBack() override { return buttonBack_; }
    ui::Button& buttonExit() override { return buttonExit_; }
    ui::Button& buttonLog() override { return buttonLog_; }
    ui::DriveList& driveList() override { return driveList_; }
    ui::ProgressBar& progressBar1() override { return progressBar1_; }
    // Raises 9 for a number other than 1 to 4.
    ui::Line& line(int n) override;
    ui::AboutBox& aboutBox() override { return about_; }

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    int height() const override { return height_; }
    void setHeight(int twips) override { height_ = twips; }
    void show() override { shown_ = true; }
    std::string focus() const override { return focus_; }

    // OK boxes answer ok; Yes/No boxes the next queued answer, or throw NoAnswerQueued.
    ui::Answer msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                      const std::string& title) override;
    bool anotherInstanceRunning() override { return anotherInstance_; }
    // Writes the end event, once.
    void quit() override;
    void statusShown(const std::string& text) override;
    void logAppended(const std::string& text) override;

  private:
    std::string focus_;
    HeadlessTextBox mainText_{true};
    HeadlessTextBox logText_{false};
    HeadlessLabel driveSize_{false};
    HeadlessLabel label2_{true};
    HeadlessButton buttonOK_{"buttonOK", ui::Picture::ok, true, &focus_};
    HeadlessButton buttonBack_{"buttonBack", ui::Picture::back, true, &focus_};
    HeadlessButton buttonExit_{"buttonExit", ui::Picture::exit, true, &focus_};
    HeadlessButton buttonLog_{"buttonLog", ui::Picture::showLog, true, &focus_};
    HeadlessDriveList driveList_{&focus_};
    HeadlessProgressBar progressBar1_;
    HeadlessLine line1_{120, 120, 8040, 120};
    HeadlessLine line2_{8040, 120, 8040, 6240};
    HeadlessLine line3_{120, 6240, 8040, 6240};
    HeadlessLine line4_{120, 120, 120, 6240};
    HeadlessAboutBox about_;

    std::string caption_;
    int height_ = 6990;
    bool shown_ = false;
    bool anotherInstance_ = false;
    bool quit_ = false;

    std::ostream* transcript_ = nullptr;
    std::vector<std::string> events_;
    std::vector<std::string> statuses_;
    std::vector<std::string> logs_;
    std::vector<MsgBoxRecord> messageBoxes_;
    std::deque<ui::Answer> answers_;
};

// The transcript names of the message box's parts.
std::string iconName(ui::Icon icon);
std::string buttonsName(ui::Buttons buttons);
std::string answerName(ui::Answer answer);

}  // namespace headless
