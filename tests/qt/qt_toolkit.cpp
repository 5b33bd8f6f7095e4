// The window suite's toolkit on Qt: the window's widgets driven and read as a user does.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <optional>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "platform/context.h"
#include "platform/image_drives.h"
#include "qt_fixture.h"
#include "ui/session_log.h"
#include "ui/window_suite.h"

namespace qttest {
namespace {

uitest::Px pixels(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

class QtToolkit : public QtWindowTest, public uitest::Toolkit {
  public:
    QtToolkit() {
        SetUp();
        // As the program makes its window: images go into a: over the machine's drives.
        platform::installDrives(&images_);
        QtWindowTest::window->setImageDrives(&images_);
        QtWindowTest::window->driveList().refreshDrives();
    }
    ~QtToolkit() override {
        ui::stopSessionLog();
        if (savedState_)
            setenv("XDG_STATE_HOME", savedState_->c_str(), 1);
        else
            unsetenv("XDG_STATE_HOME");
        TearDown();
    }
    void TestBody() override {}

    ui::WindowBase& window() override { return *QtWindowTest::window; }
    platform::FolderDriveTable& drives() override { return QtWindowTest::drives; }
    testsupport::ScratchDir& scratch() override { return QtWindowTest::scratch; }
    void start() override { QtWindowTest::start(); }

    void pick(const std::string& letter) override { QtWindowTest::pick(letter); }
    void click(std::string_view button) override {
        QtWindowTest::click(std::string(button).c_str());
    }
    void press(std::string_view control, Key key) override {
        QWidget* w = widget(control);
        w->setFocus();
        QTest::keyClick(w, key == Key::shift ? Qt::Key_Shift
                           : key == Key::tab ? Qt::Key_Tab
                                             : Qt::Key_Up);
    }
    void openList() override { combo()->showPopup(); }
    void closeList() override { combo()->hidePopup(); }
    void choose(ui::form::Menu entry) override {
        const auto name = ui::form::menuEntry(entry).name;
        form()->findChild<QAction*>(QString::fromUtf8(name))->trigger();
    }
    std::string keepImages(const std::filesystem::path& folder) override {
        QString title;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (dialog == nullptr || !dialog->isVisible())
                    continue;
                title = dialog->windowTitle();
                dialog->setDirectory(QString::fromStdString(folder.string()));
                dialog->selectFile(QString::fromStdString(folder.string()));
                QMetaObject::invokeMethod(dialog, folder.empty() ? "reject" : "accept");
            }
        });
        choose(ui::form::Menu::keepImages);
        return title.toStdString();
    }
    void pickInDialog(const std::string& letter) override {
        QTimer::singleShot(0, [letter] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QInputDialog*>(w);
                if (dialog == nullptr || !dialog->isVisible())
                    continue;
                for (const QString& item : dialog->comboBoxItems()) {
                    if (item.startsWith(QString::fromStdString(letter)))
                        dialog->setTextValue(item);
                }
                QtWindowTest::screenshot(dialog, "check-card-dialog");
                dialog->accept();
            }
        });
    }
    bool closeBox() override { return form()->close(); }
    void answerNext(ui::Answer answer) override { QtWindowTest::window->queueAnswer(answer); }
    int unanswered() const override { return QtWindowTest::window->unansweredQuestions(); }

    uitest::Px px(const ui::form::Rect& twips) const override {
        return pixels(qtui::twipsRect(form()->centralWidget(), twips));
    }
    uitest::Px client() const override { return pixels(form()->centralWidget()->rect()); }
    int outerHeight() const override { return form()->height(); }
    bool resizable() const override { return form()->minimumSize() != form()->maximumSize(); }
    bool windowShown() const override { return form()->isVisible(); }
    uitest::Px place(std::string_view control) const override {
        return pixels(widget(control)->geometry());
    }
    bool shown(std::string_view control) const override { return widget(control)->isVisible(); }
    bool enabled(std::string_view control) const override { return widget(control)->isEnabled(); }
    std::string text(std::string_view control) const override {
        QWidget* w = widget(control);
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            return edit->toPlainText().toStdString();
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text().toStdString();
        return "";
    }
    // A picture in its size, at its place; a button wears its picture and carries no caption.
    bool pictureDrawn(const ui::form::Control& c) const override {
        auto* label = qobject_cast<QLabel*>(widget(c.name));
        if (label == nullptr ||
            label->geometry() != qtui::twipsRect(label->parentWidget(), c.place))
            return false;
        const QSize size = c.art == ui::form::Art::title       ? QSize(505, 36)
                           : c.art == ui::form::Art::diskettes ? QSize(222, 210)
                                                               : QSize(121, 110);
        return label->pixmap().deviceIndependentSize().toSize() == size * qtui::pictureScale(label);
    }
    bool frameLineDrawn(const ui::form::LineEnds& e) const override {
        const QWidget* client = form()->centralWidget();
        const QRect span = QRect(QPoint(qtui::pxX(client, e.x1), qtui::pxY(client, e.y1)),
                                 QPoint(qtui::pxX(client, e.x2), qtui::pxY(client, e.y2)))
                               .normalized();
        for (QWidget* w : form()->centralWidget()->findChildren<QWidget*>()) {
            if (w->objectName().startsWith("Line") && w->isVisible() && w->geometry() == span)
                return true;
        }
        return false;
    }
    std::vector<std::string> listEntries() const override {
        std::vector<std::string> entries;
        for (int i = 0; i < combo()->count(); ++i)
            entries.push_back(combo()->itemText(i).toStdString());
        return entries;
    }
    int listCurrent() const override { return combo()->currentIndex(); }
    bool menuEnabled(ui::form::Menu entry) const override {
        const auto name = ui::form::menuEntry(entry).name;
        return form()->findChild<QAction*>(QString::fromUtf8(name))->isEnabled();
    }
    std::string checkMark() const override { return "\xE2\x9C\x93 "; }
    std::vector<std::string> menu() const override {
        std::vector<std::string> texts;
        for (QAction* a : form()->menuBar()->actions())
            texts.push_back(a->text().toStdString());
        return texts;
    }
    std::string selectedLog() const override {
        return qobject_cast<QPlainTextEdit*>(widget("logText"))
            ->textCursor()
            .selectedText()
            .toStdString();
    }
    int statusFontPoints() const override { return widget("mainText")->font().pointSize(); }
    Progress progress() const override {
        auto* bar = qobject_cast<QProgressBar*>(widget("ProgressBar1"));
        return {bar->value(), bar->maximum()};
    }
    bool readOnly(std::string_view box) const override {
        return qobject_cast<QPlainTextEdit*>(widget(box))->isReadOnly();
    }

    bool aboutShown() const override { return dialog() != nullptr && dialog()->isVisible(); }
    bool aboutModal() const override { return dialog()->isModal(); }
    std::string aboutCaption() const override { return dialog()->windowTitle().toStdString(); }
    uitest::Px aboutClient() const override { return pixels(dialog()->rect()); }
    uitest::Px aboutPx(const ui::form::Rect& twips) const override {
        return pixels(qtui::twipsRect(dialog(), twips));
    }
    uitest::Px aboutPlace(std::string_view control) const override {
        return pixels(aboutWidget(control)->geometry());
    }
    std::string aboutText(std::string_view control) const override {
        QWidget* w = aboutWidget(control);
        if (auto* b = qobject_cast<QPushButton*>(w))
            return b->text().toStdString();
        return qobject_cast<QLabel*>(w)->text().toStdString();
    }
    bool aboutFits(std::string_view name) const override {
        auto* label = qobject_cast<QLabel*>(aboutWidget(name));
        const QRect room = label->contentsRect();
        return QFontMetrics(label->font())
                   .boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text())
                   .height() <= room.height();
    }
    void aboutOk() override {
        QTest::mouseClick(qobject_cast<QPushButton*>(aboutWidget("cmdOK")), Qt::LeftButton);
    }
    void aboutCloseBox() override { dialog()->close(); }

    std::filesystem::path useLogHome(const std::filesystem::path& home) override {
        if (const char* state = std::getenv("XDG_STATE_HOME"); state && !savedState_)
            savedState_ = state;
        setenv("XDG_STATE_HOME", home.c_str(), 1);
        return home / "velt-converter" / "logs";
    }
    std::string lineEnd() const override { return "\n"; }

    void screenshot(const std::string& name, bool about) override {
        QtWindowTest::screenshot(about ? static_cast<QWidget*>(dialog()) : form(), name);
    }

  private:
    std::optional<std::string> savedState_;
    platform::ImageDriveTable images_{
        std::make_unique<testsupport::BorrowedDrives>(QtWindowTest::drives)};
    QMainWindow* form() const { return QtWindowTest::window->widget(); }
    QWidget* widget(std::string_view name) const {
        QWidget* w = form()->findChild<QWidget*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* combo() const { return qobject_cast<QComboBox*>(widget("DriveList")); }
    QDialog* dialog() const { return QtWindowTest::window->qtAboutBox().dialog(); }
    QWidget* aboutWidget(std::string_view name) const {
        return dialog()->findChild<QWidget*>(QString::fromUtf8(name));
    }
};

}  // namespace
}  // namespace qttest

std::unique_ptr<uitest::Toolkit> uitest::makeToolkit() {
    return std::make_unique<qttest::QtToolkit>();
}
