// The Qt control adapters.
#include "frontends/qt/qt_controls.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "platform/context.h"
#include "platform/error.h"
#include "ui/form.h"

namespace qtui {

QString shownText(const std::string& text) {
    ShownText shown;
    return shown.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QFont narrowSans(QFont base) {
    base.setFamilies(
        {"Liberation Sans", "Arimo", "Arial", "Helvetica", "DejaVu Sans Condensed", "Nimbus Sans"});
    return base;
}

// ---- ShownText ----

void ShownText::clear() {
    units_.clear();
    pairs_.clear();
}

QString ShownText::append(const QString& more) {
    const auto base = static_cast<int32_t>(units_.size());
    QString shown;
    shown.reserve(more.size());
    qsizetype i = 0;
    // A CR at the end already shows as a line break; the LF that completes it adds nothing.
    if (!more.isEmpty() && more[0] == u'\n' && !units_.isEmpty() && units_.back() == u'\r') {
        pairs_.push_back(base - 1);
        i = 1;
    }
    for (; i < more.size(); ++i) {
        if (more[i] == u'\r') {
            if (i + 1 < more.size() && more[i + 1] == u'\n') {
                pairs_.push_back(base + static_cast<int32_t>(i));
                ++i;
            }
            shown += u'\n';
        } else {
            shown += more[i];
        }
    }
    units_ += more;
    return shown;
}

int ShownText::toShown(int32_t unit) const {
    // Every pair wholly before the offset shows one unit shorter; an offset between CR and LF
    // shows after the break.
    const auto before = std::lower_bound(pairs_.begin(), pairs_.end(), unit - 1) - pairs_.begin();
    return static_cast<int>(unit - before);
}

int32_t ShownText::toUnits(int shown) const {
    // Pair i shows as the line break at pairs_[i] - i; each break before the offset adds one.
    size_t lo = 0, hi = pairs_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (pairs_[mid] - static_cast<int32_t>(mid) < shown)
            lo = mid + 1;
        else
            hi = mid;
    }
    return shown + static_cast<int32_t>(lo);
}

// ---- QtTextBox ----

QtTextBox::QtTextBox(QPlainTextEdit* edit) : edit_(edit) {
    // The selection the log makes stays visible while the box does not have the focus.
    QPalette pal = edit_->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    edit_->setPalette(pal);
}

bool QtTextBox::visible() const {
    return !edit_->isHidden();
}
void QtTextBox::setVisible(bool visible) {
    edit_->setVisible(visible);
}

void QtTextBox::setText(const std::string& text) {
    text_ = text;
    shown_.clear();
    edit_->setPlainText(
        shown_.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    remember(0, 0);
}

void QtTextBox::appendText(const std::string& more) {
    text_ += more;
    const QString add =
        shown_.append(QString::fromUtf8(more.data(), static_cast<qsizetype>(more.size())));
    if (add.isEmpty())
        return;
    const QTextCursor before = edit_->textCursor();
    const int anchor = before.anchor(), position = before.position();
    QTextCursor end(edit_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(add);
    // A selection at the very end would move along with the insertion; it stays where it was.
    const QTextCursor now = edit_->textCursor();
    if (now.anchor() != anchor || now.position() != position) {
        QTextCursor back(edit_->document());
        back.setPosition(anchor);
        back.setPosition(position, QTextCursor::KeepAnchor);
        edit_->setTextCursor(back);
    }
}

bool QtTextBox::locked() const {
    return edit_->isReadOnly();
}

void QtTextBox::setLocked(bool locked) {
    edit_->setReadOnly(locked);
    // Locked, its text can still be selected and copied.
    edit_->setTextInteractionFlags(locked ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                          : Qt::TextEditorInteraction);
}

int QtTextBox::fontSize() const {
    return edit_->font().pointSize();
}

void QtTextBox::setFontSize(int points) {
    QFont font = edit_->font();
    font.setPointSize(points);
    edit_->setFont(font);
}

ui::Color QtTextBox::backColor() const {
    const QColor c = edit_->palette().color(QPalette::Base);
    return {c.red(), c.green(), c.blue()};
}

void QtTextBox::setBackColor(ui::Color color) {
    QPalette pal = edit_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, QColor(color.red, color.green, color.blue));
    edit_->setPalette(pal);
}

void QtTextBox::remember(int32_t start, int32_t length) {
    const QTextCursor c = edit_->textCursor();
    selection_ = {start, length, c.anchor(), c.position()};
}

int32_t QtTextBox::selStart() const {
    const QTextCursor c = edit_->textCursor();
    if (c.anchor() == selection_.shownAnchor && c.position() == selection_.shownPosition)
        return selection_.start;
    return shown_.toUnits(c.selectionStart());
}

int32_t QtTextBox::selLength() const {
    const QTextCursor c = edit_->textCursor();
    if (c.anchor() == selection_.shownAnchor && c.position() == selection_.shownPosition)
        return selection_.length;
    return shown_.toUnits(c.selectionEnd()) - shown_.toUnits(c.selectionStart());
}

void QtTextBox::setSelection(int32_t start, int32_t length) {
    const int32_t total = shown_.length();
    start = std::clamp(start, 0, total);
    length = std::clamp(length, 0, total - start);
    QTextCursor c(edit_->document());
    c.setPosition(shown_.toShown(start));
    c.setPosition(shown_.toShown(start + length), QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
    edit_->ensureCursorVisible();
    remember(start, length);
}

void QtTextBox::refresh() {
    edit_->repaint();
    edit_->viewport()->repaint();
}

// ---- QtLabel ----

void QtLabel::attach(QLabel* label) {
    label_ = label;
    if (label_ != nullptr) {
        points_ = label_->font().pointSizeF();
        show();
    }
}

void QtLabel::show() {
    const QString text = shownText(caption_);
    label_->setText(text);
    if (!label_->wordWrap() || points_ <= 0)
        return;
    QFont font = label_->font();
    const QRect room = label_->contentsRect();
    font.setPointSizeF(ui::form::fitSize(points_, 0.5, 6, [&](double points) {
        QFont trial = font;
        trial.setPointSizeF(points);
        const QRect needed = QFontMetrics(trial).boundingRect(
            QRect(0, 0, room.width(), 100000), Qt::TextWordWrap | Qt::AlignLeft, text);
        return needed.height() <= room.height() && needed.width() <= room.width();
    }));
    if (font != label_->font())
        label_->setFont(font);
}

bool QtLabel::visible() const {
    return label_ != nullptr && !label_->isHidden();
}

void QtLabel::setVisible(bool visible) {
    if (label_ != nullptr)
        label_->setVisible(visible);
}

void QtLabel::setCaption(const std::string& caption) {
    caption_ = caption;
    if (label_ != nullptr)
        show();
}

void QtLabel::refresh() {
    if (label_ != nullptr)
        label_->repaint();
}

// ---- QtButton ----

QtButton::QtButton(QPushButton* button, double scale) : button_(button), scale_(scale) {}

bool QtButton::visible() const {
    return !button_->isHidden();
}
void QtButton::setVisible(bool visible) {
    button_->setVisible(visible);
}
bool QtButton::enabled() const {
    return button_->isEnabled();
}
void QtButton::setEnabled(bool enabled) {
    button_->setEnabled(enabled);
}

void QtButton::setPicture(ui::Picture picture) {
    picture_ = picture;
    const QPixmap pixmap = pictures::button(picture, scale_, button_->devicePixelRatioF());
    button_->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    const QSize size = pictures::nominalSize(picture);
    button_->setIconSize(QSize(static_cast<int>(std::lround(size.width() * scale_)),
                               static_cast<int>(std::lround(size.height() * scale_))));
    // The word is on the picture; the button itself carries none, but says it to screen readers.
    static const char* const words[] = {"", "OK", "Back", "Exit", "Log", "Hide Log"};
    button_->setAccessibleName(words[static_cast<int>(picture)]);
}

void QtButton::setFocus() {
    button_->setFocus();
}

// ---- QtDriveList ----

QtDriveList::QtDriveList(QComboBox* combo) : combo_(combo) {
    refreshDrives();
}

bool QtDriveList::visible() const {
    return !combo_->isHidden();
}
void QtDriveList::setVisible(bool visible) {
    combo_->setVisible(visible);
}

bool QtDriveList::enabled() const {
    return combo_->isEnabled();
}
void QtDriveList::setEnabled(bool enabled) {
    combo_->setEnabled(enabled);
}
void QtDriveList::setFocus() {
    combo_->setFocus();
}

void QtDriveList::showEntries(const std::vector<std::string>& entries) {
    const QSignalBlocker block(combo_);
    combo_->clear();
    for (const auto& e : entries)
        combo_->addItem(QString::fromStdString(e));
}

void QtDriveList::showIndex(int16_t index) {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(index);
}

// ---- QtProgressBar ----

QtProgressBar::QtProgressBar(QProgressBar* bar) : bar_(bar) {
    showBar();
}

bool QtProgressBar::visible() const {
    return !bar_->isHidden();
}
void QtProgressBar::setVisible(bool visible) {
    bar_->setVisible(visible);
}

// QProgressBar repaints at once by itself whenever a new value changes what it draws, so the
// bar moves on the screen during a long click.
void QtProgressBar::showBar() {
    const int lo = static_cast<int>(std::lround(min()));
    const int hi = std::max(lo, static_cast<int>(std::lround(max())));
    if (bar_->minimum() != lo || bar_->maximum() != hi)
        bar_->setRange(lo, hi);
    bar_->setValue(std::clamp(static_cast<int>(std::lround(value())), lo, hi));
}

// ---- QtLine ----

namespace {

// Draws a line between two points given in its parent's pixels.
class LineWidget : public QWidget {
  public:
    explicit LineWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setEnds(QPoint a, QPoint b) {
        a_ = a;
        b_ = b;
        setGeometry(QRect(a, b).normalized());
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.drawLine(a_ - pos(), b_ - pos());
    }

  private:
    QPoint a_, b_;
};

}  // namespace

QtLine::QtLine(QWidget* parent, const QString& name, ui::FrameLine& line)
    : widget_(new LineWidget(parent)) {
    widget_->setObjectName(name);
    line.onMove = [this](const ui::FrameLine& moved) { place(moved); };
    place(line);
}

void QtLine::place(const ui::FrameLine& l) {
    const QWidget* parent = widget_->parentWidget();
    static_cast<LineWidget*>(widget_)->setEnds(QPoint(pxX(parent, l.x1()), pxY(parent, l.y1())),
                                               QPoint(pxX(parent, l.x2()), pxY(parent, l.y2())));
}

}  // namespace qtui
