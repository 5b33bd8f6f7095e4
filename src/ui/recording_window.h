// Controls that keep every state the logic can set and read and count their repaints, and the
// window made of them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <stdexcept>
#include <string_view>

#include "ui/controls.h"
#include "ui/main_window.h"
#include "ui/window_base.h"

namespace ui {

// A Yes/No box was shown with no answer queued (a script error in velt-headless).
struct NoAnswerQueued : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class RecordingTextBox : public TextBox {
  public:
    explicit RecordingTextBox(bool visible) : visible_(visible) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    std::string text() const override { return text_; }
    // Replaces the text; the selection goes back to the start, empty.
    void setText(const std::string& text) override;
    // Adds to the end, counting only the new bytes; the selection stays.
    void appendText(const std::string& more) override;
    int32_t length() const override { return units_; }
    bool locked() const override { return locked_; }
    void setLocked(bool locked) override { locked_ = locked; }
    int fontSize() const override { return fontSize_; }
    void setFontSize(int points) override { fontSize_ = points; }
    Color backColor() const override { return backColor_; }
    void setBackColor(Color color) override { backColor_ = color; }
    int32_t selStart() const override { return selStart_; }
    int32_t selLength() const override { return selLength_; }
    void setSelection(int32_t start, int32_t length) override;
    void refresh() override { ++refreshes_; }

    int refreshCount() const { return refreshes_; }

  private:
    void countFromSettled();

    bool visible_;
    std::string text_;
    int32_t units_ = 0;
    // Text up to settledBytes_ decodes the same whatever is appended; it holds settledUnits_.
    size_t settledBytes_ = 0;
    int32_t settledUnits_ = 0;
    bool locked_ = false;
    int fontSize_ = 8;
    Color backColor_{};
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
    int refreshes_ = 0;
};

class RecordingLabel : public Label {
  public:
    explicit RecordingLabel(bool visible = true) : visible_(visible) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    void refresh() override { ++refreshes_; }

    int refreshCount() const { return refreshes_; }

  private:
    bool visible_;
    std::string caption_;
    int refreshes_ = 0;
};

// A button; taking the focus writes its name into the window's focus.
class RecordingButton : public Button {
  public:
    RecordingButton(std::string name, Picture picture, bool visible, std::string* focus)
        : name_(std::move(name)), visible_(visible), picture_(picture), focus_(focus) {}

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    Picture picture() const override { return picture_; }
    void setPicture(Picture picture) override { picture_ = picture; }
    void setFocus() override { *focus_ = name_; }

  private:
    std::string name_;
    bool visible_;
    bool enabled_ = true;
    Picture picture_;
    std::string* focus_;
};

// The drive list and the progress bar keep the shared rules; only focus and visibility are
// their own here.
class RecordingDriveList : public DriveListBase {
  public:
    explicit RecordingDriveList(std::string* focus);

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    void setFocus() override { *focus_ = "DriveList"; }

  private:
    bool visible_ = true;
    bool enabled_ = true;
    std::string* focus_;
};

class RecordingProgressBar : public ProgressBarBase {
  public:
    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }

  private:
    bool visible_ = true;
};

class RecordingAboutBox : public AboutBoxBase {
  public:
    Label& lblTitle() override { return title_; }
    Label& lblVersion() override { return version_; }
    Label& lblDescription() override { return description_; }
    bool shown() const { return shown_; }
    int loadCount() const { return loads(); }
    int showCount() const { return shows_; }

  protected:
    void create() override;
    void destroy() override { shown_ = false; }
    void present() override;

  private:
    bool shown_ = false;
    int shows_ = 0;
    RecordingLabel title_, version_, description_;
};

// A window that keeps every state and answers its Yes/No boxes from the queue: the headless
// front end's, and the one tests of the logic run on.
class RecordingWindow : public WindowBase {
  public:
    // Controls in their initial states; the drive list lists the installed drive table.
    RecordingWindow();

    // Every status, log line, message box and the end, in order: "status: TEXT", "log: TEXT",
    // "msgbox: TITLE: TEXT", "end".
    const std::vector<std::string>& record() const { return record_; }
    const std::vector<std::string>& statuses() const { return statuses_; }
    const std::vector<std::string>& logs() const { return logs_; }
    void setAnotherInstance(bool running) { anotherInstance_ = running; }
    bool shown() const { return shown_; }

    // The concrete controls, for the checks only a test makes (repaint counts and the like).
    RecordingTextBox& recordingMainText() { return mainText_; }
    RecordingTextBox& recordingLogText() { return logText_; }
    RecordingLabel& recordingDriveSize() { return driveSize_; }
    RecordingAboutBox& recordingAboutBox() { return about_; }

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    void show() override { shown_ = true; }
    bool anotherInstanceRunning() override { return anotherInstance_; }
    void statusShown(const std::string& text) override;
    void logAppended(const std::string& text) override;

  protected:
    // OK boxes answer ok; Yes/No boxes the next queued answer, or throw NoAnswerQueued.
    Answer showBox(const std::string& text, Buttons buttons, Icon icon,
                   const std::string& title) override;
    bool focused(std::string_view name) const override { return focus_ == name; }
    void close() override { record_.emplace_back("end"); }

  private:
    std::string focus_;
    RecordingTextBox mainText_{true};
    RecordingTextBox logText_{false};
    RecordingLabel driveSize_{false};
    RecordingLabel summaryLabel_{true};
    RecordingButton buttonOK_{"buttonOK", Picture::ok, true, &focus_};
    RecordingButton buttonBack_{"buttonBack", Picture::back, true, &focus_};
    RecordingButton buttonExit_{"buttonExit", Picture::exit, true, &focus_};
    RecordingButton buttonLog_{"buttonLog", Picture::showLog, true, &focus_};
    RecordingDriveList driveList_{&focus_};
    RecordingProgressBar progressBar_;
    RecordingAboutBox about_;

    std::string caption_;
    bool shown_ = false;
    bool anotherInstance_ = false;
    std::vector<std::string> record_;
    std::vector<std::string> statuses_;
    std::vector<std::string> logs_;
};

}  // namespace ui
