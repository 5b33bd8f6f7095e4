// The desktop window after start-up, its Log button, its close box, the drive list's events
// and the About box, driven as a user drives them.
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
#include "wizard/form1.h"

namespace qttest {
namespace {

const std::string floppyPrompt =
    "Please select the floppy disk drive \r\nand press the OK button\r\n";

using QtStartUp = QtWindowTest;

TEST_F(QtStartUp, ControlsSitAtTheirPlacesInTheirFirstState) {
    start();
    QMainWindow* form = window->widget();
    EXPECT_EQ(form->windowTitle(), "VELT Database Media Converter");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(window->height(), 6990);
    EXPECT_EQ(form->centralWidget()->size(), px(0, 0, 8145, 6375).size());
    EXPECT_EQ(form->minimumSize(), form->maximumSize());  // not resizable

    struct Place {
        const char* name;
        int left, top, width, height;
        bool shown;
    };
    const Place places[] = {
        {"Image1", 240, 240, 7575, 540, true},      {"mainText", 240, 840, 3855, 1095, true},
        {"Picture1", 3585, 1440, 2895, 3015, true}, {"ProgressBar1", 240, 1800, 3855, 255, false},
        {"DriveList", 240, 2400, 3255, 315, true},  {"DriveSize", 240, 2760, 3255, 1095, true},
        {"Picture2", 5895, 3480, 1815, 1645, true}, {"Label2", 240, 4320, 2415, 855, true},
        {"buttonExit", 240, 5500, 1350, 645, true}, {"buttonBack", 1680, 5500, 1350, 645, true},
        {"buttonOK", 3120, 5500, 1350, 645, true},  {"buttonLog", 6360, 5500, 1350, 645, true},
        {"logText", 240, 6200, 7455, 2655, false},  {"showLog", 3000, 1080, 855, 255, false},
        {"hideLog", 3000, 1440, 855, 255, false},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        QWidget* w = child<QWidget>(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), px(p.left, p.top, p.width, p.height));
        EXPECT_EQ(w->isVisible(), p.shown);
    }
    struct Ends {
        const char* name;
        int x1, y1, x2, y2;
    };
    for (const Ends& e :
         {Ends{"Line1", 120, 120, 8040, 120}, Ends{"Line2", 8040, 120, 8040, 6240},
          Ends{"Line3", 120, 6240, 8040, 6240}, Ends{"Line4", 120, 120, 120, 6240}}) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(child<QWidget>(e.name)->geometry(),
                  QRect(px(e.x1, e.y1, 0, 0).topLeft(), px(e.x2, e.y2, 0, 0).topLeft()));
    }

    // The pictures in their sizes; the wizard buttons wear pictures and carry no caption.
    const double scale = qtui::pictureScale(form);
    EXPECT_EQ(child<QLabel>("Image1")->pixmap().deviceIndependentSize().toSize(),
              QSize(505, 36) * scale);
    EXPECT_EQ(child<QLabel>("Picture1")->pixmap().deviceIndependentSize().toSize(),
              QSize(222, 210) * scale);
    EXPECT_EQ(child<QLabel>("Picture2")->pixmap().deviceIndependentSize().toSize(),
              QSize(121, 110) * scale);
    struct Worn {
        const char* name;
        QSize size;
        bool enabled;
    };
    for (const Worn& b : {Worn{"buttonOK", {50, 27}, true}, Worn{"buttonBack", {79, 31}, false},
                          Worn{"buttonExit", {60, 32}, true}, Worn{"buttonLog", {71, 32}, true}}) {
        SCOPED_TRACE(b.name);
        auto* button = child<QPushButton>(b.name);
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), b.size * scale);
        EXPECT_EQ(button->isEnabled(), b.enabled);
    }
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::showLog);
    EXPECT_EQ(form->findChild<QAction*>("About")->text(), "About");

    // The status box, the log and the drive list as start-up leaves them.
    auto* status = child<QPlainTextEdit>("mainText");
    EXPECT_EQ(window->mainText().text(), floppyPrompt);
    EXPECT_EQ(status->toPlainText(),
              "Please select the floppy disk drive \nand press the OK button\n");
    EXPECT_TRUE(status->isReadOnly());
    EXPECT_EQ(status->font().pointSize(), 11);
    const std::string banner =
        "\r\n" + std::string(31, '=') + "\r\nVELT Database Media Converter Version 1.0.0\r\n";
    EXPECT_EQ(window->logText().text().substr(0, banner.size()), banner);
    EXPECT_EQ(child<QPlainTextEdit>("logText")->palette().color(QPalette::Base),
              QColor(213, 200, 187));
    auto* combo = child<QComboBox>("DriveList");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(1), "c: [SYSTEM]");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(window->driveList().listIndex(), 1);
    EXPECT_EQ(child<QLabel>("DriveSize")->text(), "Fixed Drive C: [SYSTEM] - SYSTEM");
    EXPECT_EQ(window->focus(), "DriveList");
    EXPECT_EQ(app::wizardStep, 0);
    screenshot(form, "startup");
}

TEST_F(QtStartUp, AnotherInstanceIsReportedAndNothingIsShown) {
    window->setInstanceCheck([] { return true; });
    EXPECT_FALSE(Form1::dispatch(Form1::Form_Load));
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

// "Keep diskette images..." beside "Diskette image...": a folder dialog, then a check mark on
// the entry while images are kept.
TEST_F(QtStartUp, KeepDisketteImagesTakesAFolderAndWearsACheckMark) {
    start();
    const QList<QAction*> entries = window->widget()->menuBar()->actions();
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "Diskette image...");
    EXPECT_EQ(entries[1]->text(), "Keep diskette images...");
    const std::filesystem::path folder = scratch.make("kept");
    QString title;
    auto answer = [&](bool pick) {
        QTimer::singleShot(0, [&, pick] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible()) {
                    title = dialog->windowTitle();
                    dialog->setDirectory(QString::fromStdString(folder.string()));
                    dialog->selectFile(QString::fromStdString(folder.string()));
                    QMetaObject::invokeMethod(dialog, pick ? "accept" : "reject");
                }
            }
        });
    };
    answer(false);
    entries[1]->trigger();
    EXPECT_EQ(title, "Keep diskette images");
    EXPECT_EQ(Form1::keptImagesFolder(), "");
    EXPECT_EQ(entries[1]->text(), "Keep diskette images...");
    answer(true);
    entries[1]->trigger();
    EXPECT_EQ(Form1::keptImagesFolder(), folder.string());
    EXPECT_EQ(entries[1]->text(), QString::fromUtf8("\xE2\x9C\x93 Keep diskette images..."));
    screenshot(window->widget(), "keep-images-on");
    Form1::keepImagesIn("");
}

using QtLogButton = QtWindowTest;

TEST_F(QtLogButton, GrowsTheWindowToShowTheLogAndShrinksItBack) {
    start();
    QMainWindow* form = window->widget();
    const int shortHeight = form->height();
    click("buttonLog");
    EXPECT_EQ(window->height(), 9935);
    EXPECT_EQ(form->centralWidget()->height(), px(0, 0, 0, 9320).height());
    EXPECT_GT(form->height(), shortHeight);
    EXPECT_TRUE(child<QWidget>("logText")->isVisible());
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::hideLog);
    EXPECT_EQ(child<QPushButton>("buttonLog")->iconSize(),
              QSize(61, 28) * qtui::pictureScale(form));
    EXPECT_EQ(child<QWidget>("Line3")->geometry().top(), px(0, 9080, 0, 0).top());
    EXPECT_EQ(child<QWidget>("Line2")->geometry().bottom(), px(0, 9080, 0, 0).top());
    screenshot(form, "log-shown");

    click("buttonLog");
    EXPECT_EQ(window->height(), 6990);
    EXPECT_EQ(form->height(), shortHeight);
    EXPECT_FALSE(child<QWidget>("logText")->isVisible());
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::showLog);
    EXPECT_EQ(child<QWidget>("Line4")->geometry().bottom(), px(0, 6240, 0, 0).top());
}

TEST_F(QtLogButton, ANewMessageIsSelectedWhileTheLogIsShown) {
    start();
    click("buttonLog");
    pick("a:");
    click("buttonOK");  // the floppy drive is chosen: its log line is selected
    auto* log = child<QPlainTextEdit>("logText");
    EXPECT_EQ(log->textCursor().selectedText(),
              "Please insert diskette #1 and press the OK button");
    const std::string text = window->logText().text();
    EXPECT_EQ(window->logText().selStart() + window->logText().selLength() + 2,
              static_cast<int32_t>(text.size()));
}

using QtCloseBox = QtWindowTest;

TEST_F(QtCloseBox, AsksBeforeEndingAndNeverAsksTwice) {
    start();
    QMainWindow* form = window->widget();
    window->queueAnswer(ui::Answer::no);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].title, "warning!");
    EXPECT_EQ(window->messageBoxes()[0].answer, ui::Answer::no);
    EXPECT_EQ(shownIcons.back(), QMessageBox::Warning);

    window->queueAnswer(ui::Answer::yes);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(Form1::ended());
    EXPECT_TRUE(window->quitCalled());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(window->messageBoxes().size(), 2u);

    // The ended program raises no further close request, and its buttons do nothing.
    form->show();
    EXPECT_TRUE(form->close());
    click("buttonOK");
    EXPECT_EQ(window->messageBoxes().size(), 2u);
    EXPECT_EQ(window->unansweredQuestions(), 0);
}

using QtDriveList = QtWindowTest;

TEST_F(QtDriveList, PickAndKeyPressRunTheChangeHandling) {
    start();
    pick("e:");
    EXPECT_EQ(window->driveList().listIndex(), 2);
    EXPECT_EQ(child<QLabel>("DriveSize")->text(), "Removable Drive E: - CF");
    EXPECT_EQ(window->focus(), "buttonOK");

    // A key that moves nowhere still runs the handling, which moves the focus to OK.
    auto* combo = child<QComboBox>("DriveList");
    combo->setFocus();
    EXPECT_EQ(window->focus(), "DriveList");
    QTest::keyClick(combo, Qt::Key_Shift);
    EXPECT_EQ(window->focus(), "buttonOK");
    // Tab only moves the focus on (the handling would have moved it to OK, and Tab past it).
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_EQ(window->focus(), "buttonOK");  // the next in the tab order

    // Arrow keys move through the list like picks.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(window->driveList().listIndex(), 1);
    EXPECT_EQ(child<QLabel>("DriveSize")->text(), "Fixed Drive C: [SYSTEM] - SYSTEM");
}

TEST_F(QtDriveList, OpeningTheListShowsDrivesAddedSinceStartUp) {
    start();
    drives.define('F', platform::driveRemovable, medium(scratch.make("f"), "CARD"));
    auto* combo = child<QComboBox>("DriveList");
    combo->showPopup();
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(3), "f:");
    EXPECT_EQ(combo->currentIndex(), 1);
    combo->hidePopup();
    pick("f:");
    EXPECT_EQ(child<QLabel>("DriveSize")->text(), "Removable Drive F: - CARD");
}

TEST_F(QtDriveList, ANotReadyCardDriveFallsBackToTheSavedIndex) {
    start();
    app::wizardStep = 3;  // choosing the Compact Flash drive
    pick("a:");
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(window->driveList().listIndex(), Form1::savedListIndex);
    EXPECT_EQ(child<QComboBox>("DriveList")->currentIndex(), Form1::savedListIndex);
}

using QtAbout = QtWindowTest;

TEST_F(QtAbout, OpensOnceNonModalWithItsTextsAndClosesWithOK) {
    start();
    QAction* about = window->widget()->findChild<QAction*>("About");
    about->trigger();
    QDialog* dialog = window->qtAboutBox().dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "About VELT Database Media Converter");
    EXPECT_EQ(dialog->size(), qtui::twipsRect(dialog, 0, 0, 5730, 3270).size());
    auto label = [dialog](const char* name) { return dialog->findChild<QLabel*>(name); };
    EXPECT_EQ(label("lblTitle")->text(), "VELT Database Media Converter");
    EXPECT_EQ(label("lblVersion")->text(), "Version 1.0 ( Mar 24, 2005 )");
    const QString description =
        "This tool converts the Valdrome system database from floppy diskettes form into "
        "Compact Flash based form.\nTo be used when upgrading to a PENTIUM IV based Valdrome "
        "system.\n\nBy Halvex Networks.";
    QLabel* text = label("lblDescription");
    EXPECT_EQ(text->text(), description);
    EXPECT_EQ(text->geometry(), qtui::twipsRect(dialog, 1050, 1125, 3885, 1170));
    // All four lines are seen: the font gives way where the box is too small for it.
    EXPECT_LE(QFontMetrics(text->font())
                  .boundingRect(QRect(0, 0, text->contentsRect().width(), 100000), Qt::TextWordWrap,
                                description)
                  .height(),
              text->contentsRect().height());
    auto* icon = label("picIcon");
    EXPECT_EQ(icon->pixmap().deviceIndependentSize().toSize(),
              QSize(32, 32) * qtui::pictureScale(dialog));
    auto* ok = dialog->findChild<QPushButton*>("cmdOK");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), qtui::twipsRect(dialog, 2160, 2640, 1260, 345));
    screenshot(dialog, "about");

    // The main window goes on working while the box is open; the entry again only brings the
    // same box forward.
    click("buttonLog");
    EXPECT_EQ(window->height(), 9935);
    about->trigger();
    EXPECT_EQ(window->qtAboutBox().dialog(), dialog);
    EXPECT_EQ(window->qtAboutBox().loads(), 1);
    EXPECT_EQ(label("lblDescription")->text(), description);

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(window->aboutBox().loaded());
    about->trigger();
    EXPECT_EQ(window->qtAboutBox().loads(), 2);
    EXPECT_EQ(window->qtAboutBox().dialog()->findChild<QLabel*>("lblDescription")->text(),
              description);

    // Its close box unloads it as OK does.
    EXPECT_FALSE(window->qtAboutBox().dialog()->close());
    EXPECT_FALSE(window->aboutBox().loaded());
}

}  // namespace
}  // namespace qttest
