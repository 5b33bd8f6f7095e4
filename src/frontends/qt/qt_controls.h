// The main window's controls on Qt widgets, as the logic sees them (ui/main_window.h).
// Each adapter keeps what the logic set in its own terms (texts with CR LF, UTF-16 lengths,
// float progress values) and shows it on its widget.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/main_window.h"
#include "ui/window_base.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace qtui {

// A text as the logic counts it (UTF-16, a CR LF pair two units) and as a Qt text box shows
// it (a CR LF pair one line break).
class ShownText {
  public:
    void clear();
    // Adds `more`; returns what the text box must add to show it.
    QString append(const QString& more);
    int32_t length() const { return static_cast<int32_t>(units_.size()); }
    // Offsets between the two counts.
    int toShown(int32_t unit) const;
    int32_t toUnits(int shown) const;

  private:
    QString units_;
    std::vector<int32_t> pairs_;  // offset of the CR of every CR LF pair, ascending
};

class QtTextBox : public ui::TextBox {
  public:
    explicit QtTextBox(QPlainTextEdit* edit);

    bool visible() const override;
    void setVisible(bool visible) override;
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;
    void appendText(const std::string& more) override;
    int32_t length() const override { return shown_.length(); }
    bool locked() const override;
    void setLocked(bool locked) override;
    int fontSize() const override;
    void setFontSize(int points) override;
    ui::Color backColor() const override;
    void setBackColor(ui::Color color) override;
    int32_t selStart() const override;
    int32_t selLength() const override;
    void setSelection(int32_t start, int32_t length) override;
    void refresh() override;

  private:
    // The selection as the logic set it, while the widget still shows it there (an offset
    // between CR and LF cannot be told from the widget).
    struct Selection {
        int32_t start = 0, length = 0;
        int shownAnchor = 0, shownPosition = 0;
    };
    void remember(int32_t start, int32_t length);

    QPlainTextEdit* edit_;
    std::string text_;
    ShownText shown_;
    Selection selection_;
};

class QtLabel : public ui::Label {
  public:
    explicit QtLabel(QLabel* label = nullptr) { attach(label); }
    // Shows the caption on `label` from now on (nullptr: on nothing, as while a dialog is
    // unloaded).
    void attach(QLabel* label);

    bool visible() const override;
    void setVisible(bool visible) override;
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override;
    void refresh() override;

  private:
    void show();
    QLabel* label_ = nullptr;
    double points_ = 0;  // the label's own font size
    std::string caption_;
};

class QtButton : public ui::Button {
  public:
    QtButton(QPushButton* button, double scale);

    bool visible() const override;
    void setVisible(bool visible) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;
    ui::Picture picture() const override { return picture_; }
    void setPicture(ui::Picture picture) override;
    void setFocus() override;

  private:
    QPushButton* button_;
    double scale_;
    ui::Picture picture_ = ui::Picture::none;
};

class QtDriveList : public ui::DriveListBase {
  public:
    explicit QtDriveList(QComboBox* combo);

    bool visible() const override;
    void setVisible(bool visible) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;
    void setFocus() override;

    // Makes the combo box show the list index again (after the user's pick was handled).
    void showCurrent() { showIndex(listIndex()); }

  protected:
    void showEntries(const std::vector<std::string>& entries) override;
    void showIndex(int16_t index) override;

  private:
    QComboBox* combo_;
};

class QtProgressBar : public ui::ProgressBarBase {
  public:
    explicit QtProgressBar(QProgressBar* bar);

    bool visible() const override;
    void setVisible(bool visible) override;

  protected:
    // Repaints at once when the bar moves.
    void showBar() override;

  private:
    QProgressBar* bar_;
};

// A frame line of the form, drawn by a widget spanning its two ends, which follows it.
class QtLine {
  public:
    QtLine(QWidget* parent, const QString& name, ui::FrameLine& line);
    QWidget* widget() const { return widget_; }

  private:
    void place(const ui::FrameLine& line);
    QWidget* widget_;
};

// The converter's texts as Qt shows them: UTF-8 in, CR LF as one line break.
QString shownText(const std::string& text);

// `base` in a narrow sans serif where there is one: the window was laid out for such a font,
// and wider ones wrap its status lines.
QFont narrowSans(QFont base);

}  // namespace qtui
