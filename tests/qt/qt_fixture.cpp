// The Qt window tests' fixture.
#include "qt_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "frontends/qt/twips.h"
#include "platform/context.h"
#include "state/state.h"
#include "support/window_drives.h"
#include "ui/main_window.h"
#include "wizard/wizard.h"

namespace qttest {

void QtWindowTest::SetUp() {
    testsupport::startOnWindowDrives(drives, scratch);

    window = std::make_unique<qtui::QtMainWindow>();
    window->setInstanceCheck([] { return false; });
    ui::installWindow(window.get());
    window->answerBoxes([this](QMessageBox& box) {
        if (shownIcons.empty() || shownIcons.back() != box.icon()) {
            const char* name = box.icon() == QMessageBox::Critical      ? "box-critical"
                               : box.icon() == QMessageBox::Warning     ? "box-warning"
                               : box.icon() == QMessageBox::Information ? "box-information"
                                                                        : "box-question";
            screenshot(&box, name);
        }
        // The card check's boxes, each as a person sees it.
        if (box.windowTitle() == "Check Compact Flash card")
            screenshot(&box, "box-check-card-" + std::to_string(shownTitles.size() + 1));
        shownIcons.push_back(box.icon());
        shownTitles.push_back(box.windowTitle());
    });
}

void QtWindowTest::TearDown() {
    window.reset();
    ui::installWindow(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::resetContext();
}

void QtWindowTest::start() {
    ASSERT_TRUE(wizard::dispatch(wizard::onLoad));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->widget()));
}

void QtWindowTest::pick(const std::string& letter) {
    auto* combo = child<QComboBox>("DriveList");
    const int index = combo->findText(QString::fromStdString(letter), Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << letter;
    // What the list does when the user picks an entry from its popup.
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void QtWindowTest::click(const char* button) {
    QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
}

QRect QtWindowTest::px(int left, int top, int width, int height) const {
    return qtui::twipsRect(window->widget()->centralWidget(), left, top, width, height);
}

void QtWindowTest::screenshot(QWidget* widget, const std::string& name) {
    const QString dir = VELT_SCREENSHOT_DIR;
    QDir().mkpath(dir);
    EXPECT_TRUE(widget->grab().save(dir + "/" + QString::fromStdString(name) + ".png"));
}

}  // namespace qttest
