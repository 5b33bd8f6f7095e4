// What only the Qt window shows: its buttons' pictures and another instance found by the lock.
// The rest runs in the shared window suite.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "qt_fixture.h"
#include "state/state.h"
#include "wizard/wizard.h"

namespace qttest {
namespace {

const std::string floppyPrompt =
    "Please select the floppy disk drive \r\nand press the OK button\r\n";

using QtStartUp = QtWindowTest;

// The wizard buttons wear pictures in their sizes and carry no caption; the pictures the logic
// puts on the Log button come in theirs.
TEST_F(QtStartUp, ButtonsWearTheirPictures) {
    start();
    const double scale = qtui::pictureScale(window->widget());
    struct Worn {
        const char* name;
        QSize size;
    };
    for (const Worn& b : {Worn{"buttonOK", {50, 27}}, Worn{"buttonBack", {79, 31}},
                          Worn{"buttonExit", {60, 32}}, Worn{"buttonLog", {71, 32}}}) {
        SCOPED_TRACE(b.name);
        auto* button = child<QPushButton>(b.name);
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), b.size * scale);
    }
    click("buttonLog");
    EXPECT_EQ(child<QPushButton>("buttonLog")->iconSize(), QSize(61, 28) * scale);
}

TEST_F(QtStartUp, AnotherInstanceIsReportedAndNothingIsShown) {
    window->setInstanceCheck([] { return true; });
    EXPECT_FALSE(wizard::dispatch(wizard::onLoad));
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    const auto& box = window->messageBoxes()[0];
    EXPECT_EQ(box.text,
              "Can not run muliply instances of VELT Database\r\nMedia Converter application");
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(shownIcons, std::vector<QMessageBox::Icon>{QMessageBox::Critical});
    EXPECT_TRUE(window->quitCalled());
    EXPECT_FALSE(window->widget()->isVisible());
    EXPECT_TRUE(window->caption().empty());
}

}  // namespace
}  // namespace qttest
