// The main window's controls as the logic sees them, and the modal message box. The front ends
// implement these (on the window base of ui/window_base.h); the logic reaches the running
// window through ui::window(). Positions are in twips.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

struct Color {
    int red = 255, green = 255, blue = 255;
    bool operator==(const Color&) const = default;
};

class Control {
  public:
    virtual ~Control() = default;
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

// A multi-line text box. Lengths and the selection are in UTF-16 code units.
class TextBox : public Control {
  public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Adds to the end; the visible result is that of setText(text() + more), without
    // rewriting the whole text.
    virtual void appendText(const std::string& more) = 0;
    virtual int32_t length() const = 0;
    virtual bool locked() const = 0;
    virtual void setLocked(bool locked) = 0;
    virtual int fontSize() const = 0;
    virtual void setFontSize(int points) = 0;
    virtual Color backColor() const = 0;
    virtual void setBackColor(Color color) = 0;
    virtual int32_t selStart() const = 0;
    virtual int32_t selLength() const = 0;
    // Selects `length` units from `start` (both clipped to the text) and scrolls it into view.
    virtual void setSelection(int32_t start, int32_t length) = 0;
    // Repaints at once, without waiting for the event loop.
    virtual void refresh() = 0;
};

class Label : public Control {
  public:
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void refresh() = 0;
};

enum class Picture { none, ok, back, exit, showLog, hideLog };

class Button : public Control {
  public:
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual Picture picture() const = 0;
    virtual void setPicture(Picture picture) = 0;
    virtual void setFocus() = 0;
};

// The drive list: the drive table's entries. Setting the list index to another value raises
// the change handler at once, whether code or the user sets it.
class DriveList : public Control {
  public:
    virtual int16_t listCount() const = 0;
    virtual std::string entryAt(int16_t index) const = 0;
    virtual int16_t listIndex() const = 0;
    virtual void setListIndex(
        int16_t index) = 0;  // raises err::invalidPropertyValue outside 0 to listCount - 1
    virtual std::string drive() const = 0;  // the current entry's text
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setFocus() = 0;
    // Re-reads the drive table (the list shows the drives there are now).
    virtual void refreshDrives() = 0;
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

class ProgressBar : public Control {
  public:
    virtual float min() const = 0;
    virtual void setMin(float value) = 0;
    virtual float max() const = 0;
    virtual void setMax(float value) = 0;
    virtual float value() const = 0;
    // Raises err::invalidPropertyValue for a value outside min to max.
    virtual void setValue(float value) = 0;
};

class Line {
  public:
    virtual ~Line() = default;
    virtual int x1() const = 0;
    virtual int y1() const = 0;
    virtual int x2() const = 0;
    virtual int y2() const = 0;
    virtual void setEnds(int x1, int y1, int x2, int y2) = 0;
};

enum class Buttons { ok, yesNo };
enum class Icon { none, critical, question, exclamation, information };
enum class Answer { ok, yes, no };

// The About box; the logic loads, fills, shows and unloads it.
class AboutBox {
  public:
    virtual ~AboutBox() = default;
    virtual bool loaded() const = 0;
    virtual void load() = 0;    // creates the dialog (its labels empty)
    virtual void unload() = 0;  // destroys it
    virtual void show() = 0;    // non-modal; brings it forward when already shown
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;
    virtual Label& lblTitle() = 0;
    virtual Label& lblVersion() = 0;
    virtual Label& lblDescription() = 0;
};

class MainWindow {
  public:
    virtual ~MainWindow() = default;

    virtual TextBox& mainText() = 0;
    virtual TextBox& logText() = 0;
    virtual Label& driveSize() = 0;
    virtual Label& summaryLabel() = 0;
    virtual Button& buttonOK() = 0;
    virtual Button& buttonBack() = 0;
    virtual Button& buttonExit() = 0;
    virtual Button& buttonLog() = 0;
    virtual DriveList& driveList() = 0;
    virtual ProgressBar& progressBar() = 0;
    virtual Line& frameLine(int n) = 0;  // Line1 to Line4
    virtual AboutBox& aboutBox() = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual int height() const = 0;  // outer height in twips
    virtual void setHeight(int twips) = 0;
    virtual void show() = 0;
    // The name of the control that has the input focus ("DriveList", "buttonOK"), "" for none.
    virtual std::string focus() const = 0;

    // A modal message box; returns the button pressed.
    virtual Answer msgBox(const std::string& text, Buttons buttons, Icon icon,
                          const std::string& title) = 0;

    // Another instance of the application has its main window open.
    virtual bool anotherInstanceRunning() = 0;
    // The program has ended: the toolkit stops delivering events and quits.
    virtual void quit() = 0;
    // During long work inside one event: repaint and answer the desktop, take no user input.
    virtual void keepAlive() {}

    // Transcript hooks: a status was shown, a message was added to the log.
    virtual void statusShown(const std::string& /*text*/) {}
    virtual void logAppended(const std::string& /*text*/) {}
};

// The running window; the front end installs it before the first event.
void installWindow(MainWindow* window);
MainWindow& window();
bool hasWindow();
// Lets the running window repaint and answer the desktop during long work (nothing without a
// window).
void keepAlive();

}  // namespace ui
