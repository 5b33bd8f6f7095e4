// The Qt window's boxes in their icons, and the window showing its work while a click runs.
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt_fixture.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"

namespace qttest {
namespace {

using testsupport::readFile;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

using QtConversion = QtWindowTest;

TEST_F(QtConversion, NotReadyFloppyIsReportedInACriticalBox) {
    start();
    pick("a:");
    click("buttonOK");
    click("buttonOK");
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(window->messageBoxes()[0].title, "Error!");
    EXPECT_EQ(window->messageBoxes()[0].buttons, ui::Buttons::ok);
    EXPECT_EQ(shownIcons, std::vector<QMessageBox::Icon>{QMessageBox::Critical});
    EXPECT_EQ(shownTitles, std::vector<QString>{"Error!"});
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
}

// Each icon the logic asks for is the Qt box's own, and a question is answered as queued.
TEST_F(QtConversion, MessageBoxesWearTheIconsAskedFor) {
    start();
    struct Case {
        ui::Icon icon;
        QMessageBox::Icon shown;
    };
    for (const Case& c : {Case{ui::Icon::critical, QMessageBox::Critical},
                          Case{ui::Icon::question, QMessageBox::Question},
                          Case{ui::Icon::exclamation, QMessageBox::Warning},
                          Case{ui::Icon::information, QMessageBox::Information},
                          Case{ui::Icon::none, QMessageBox::NoIcon}}) {
        window->queueAnswer(ui::Answer::yes);
        EXPECT_EQ(ui::msgBox("text", ui::Buttons::yesNo, c.icon, "Replace"), ui::Answer::yes);
        EXPECT_EQ(shownIcons.back(), c.shown);
        EXPECT_EQ(shownTitles.back(), "Replace");
    }
    EXPECT_EQ(window->unansweredQuestions(), 0);
}

TEST_F(QtConversion, StatusAndProgressArePaintedAtOnceDuringAClick) {
    start();
    PaintCounter statusPaints, barPaints;
    child<QPlainTextEdit>("mainText")->viewport()->installEventFilter(&statusPaints);
    child<QProgressBar>("ProgressBar1")->installEventFilter(&barPaints);
    wizard::dispatch([&] {
        ui::setStatus("Reading diskette #1");
        EXPECT_GT(statusPaints.paints, 0);
        auto& bar = window->progressBar1();
        bar.setVisible(true);
        bar.setMax(200);
        const int before = barPaints.paints;
        bar.setValue(50);
        EXPECT_GT(barPaints.paints, before);
    });
}

TEST_F(QtConversion, LongWorkKeepsTheWindowAliveAndTakesNoClick) {
    start();
    PaintCounter barPaints;
    child<QProgressBar>("ProgressBar1")->installEventFilter(&barPaints);
    bool timerFired = false;
    wizard::dispatch([&] {
        const app::Step step = app::wizardStep;
        QTimer::singleShot(0, [&] { timerFired = true; });
        // As the window looks while a card is written.
        ui::setStatus("Please wait...\r\nWriting on the Compact Flash");
        window->driveList().setVisible(false);
        window->driveSize().setVisible(false);
        window->progressBar1().setVisible(true);
        window->progressBar1().setValue(40);
        child<QProgressBar>("ProgressBar1")->update();
        const int before = barPaints.paints;
        ui::keepAlive();
        EXPECT_TRUE(timerFired);
        EXPECT_GT(barPaints.paints, before);
        // A click, a drive pick and the close box in the middle of the work go nowhere.
        QTest::mouseClick(child<QPushButton>("buttonOK"), Qt::LeftButton);
        EXPECT_EQ(app::wizardStep, step);
        EXPECT_TRUE(window->messageBoxes().empty());
        window->widget()->close();
        EXPECT_TRUE(window->widget()->isVisible());
    });
    EXPECT_FALSE(wizard::ended());
}

}  // namespace
}  // namespace qttest
