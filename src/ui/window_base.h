// What every toolkit's main window and About box keep the same way, written once: the control
// accessors, the frame lines, the message boxes shown and the answers queued for them, the
// window's height, the focus by control name, and an end that happens once. A toolkit derives
// from these and supplies only what is its own: the widgets, painting and native boxes.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form.h"
#include "ui/main_window.h"

namespace ui {

struct MessageRecord {
    std::string text;
    Buttons buttons;
    Icon icon;
    std::string title;
    Answer answer;
};

// A frame line; the toolkit hears of each move (before and after, to repaint both places).
class FrameLine : public Line {
  public:
    explicit FrameLine(const form::LineEnds& ends) : ends_(ends) {}
    int x1() const override { return ends_.x1; }
    int y1() const override { return ends_.y1; }
    int x2() const override { return ends_.x2; }
    int y2() const override { return ends_.y2; }
    void setEnds(int x1, int y1, int x2, int y2) override;
    std::function<void(const FrameLine&)> onMove;

  private:
    form::LineEnds ends_;
};

class WindowBase : public MainWindow {
  public:
    WindowBase();

    TextBox& mainText() final { return *parts_.mainText; }
    TextBox& logText() final { return *parts_.logText; }
    Label& driveSize() final { return *parts_.driveSize; }
    Label& summaryLabel() final { return *parts_.summaryLabel; }
    Button& buttonOK() final { return *parts_.ok; }
    Button& buttonBack() final { return *parts_.back; }
    Button& buttonExit() final { return *parts_.exit; }
    Button& buttonLog() final { return *parts_.log; }
    DriveList& driveList() final { return *parts_.driveList; }
    ProgressBar& progressBar() final { return *parts_.progressBar; }
    AboutBox& aboutBox() final { return *parts_.about; }
    // Raises err::subscriptOutOfRange for a number other than 1 to 4.
    Line& frameLine(int n) final;

    int height() const final { return height_; }
    // The toolkit sizes the window to `twips` of outer height.
    void setHeight(int twips) final;
    // The name of the focused control of the tab order or a text box, "" for none.
    std::string focus() const final;

    // The box is shown (or answered) by the toolkit, then recorded.
    Answer msgBox(const std::string& text, Buttons buttons, Icon icon,
                  const std::string& title) final;
    const std::vector<MessageRecord>& messageBoxes() const { return boxes_; }
    // Answers for Yes/No boxes, taken in order by toolkits that answer their own boxes.
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    size_t queuedAnswers() const { return answers_.size(); }
    void clearAnswers() { answers_.clear(); }

    // The end: the toolkit closes the windows, once however often it is asked.
    void quit() final;
    bool quitCalled() const { return quit_; }

  protected:
    struct Parts {
        TextBox *mainText = nullptr, *logText = nullptr;
        Label *driveSize = nullptr, *summaryLabel = nullptr;
        Button *ok = nullptr, *back = nullptr, *exit = nullptr, *log = nullptr;
        DriveList* driveList = nullptr;
        ProgressBar* progressBar = nullptr;
        AboutBox* about = nullptr;
    };
    void attach(const Parts& parts) { parts_ = parts; }
    std::vector<FrameLine>& frameLines() { return lines_; }
    std::optional<Answer> nextAnswer();

    virtual Answer showBox(const std::string& text, Buttons buttons, Icon icon,
                           const std::string& title) = 0;
    // The client area takes the outer height less the frame, title and menu bar of the
    // designed-for platform (form::nonClientHeight); the window cannot be resized otherwise.
    virtual void resize(int /*twips*/) {}
    virtual bool focused(std::string_view name) const = 0;
    virtual void close() = 0;

  private:
    Parts parts_;
    std::vector<FrameLine> lines_;
    int height_ = form::logHidden.window;
    std::vector<MessageRecord> boxes_;
    std::deque<Answer> answers_;
    bool quit_ = false;
};

// The About box's load, unload and show, and its caption while unloaded.
class AboutBoxBase : public AboutBox {
  public:
    bool loaded() const final { return loaded_; }
    // Creates the dialog with its labels empty; nothing when it is loaded.
    void load() final;
    void unload() final;
    // Loads it first when needed.
    void show() final;
    void setCaption(const std::string& caption) final;
    std::string caption() const final { return caption_; }
    // How many times a dialog has been created.
    int loads() const { return loads_; }

  protected:
    virtual void create() = 0;
    // May run inside the dialog's own OK click: nothing of it may be touched afterwards.
    virtual void destroy() = 0;
    virtual void present() = 0;
    virtual void showCaption(const std::string& /*caption*/) {}

  private:
    bool loaded_ = false;
    int loads_ = 0;
    std::string caption_;
};

}  // namespace ui
