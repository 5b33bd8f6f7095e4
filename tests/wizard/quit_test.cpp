// Back, Exit and the close request in each step, and the orderly end that clears the
// temporary area even when clearing it fails.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "fs/probe_medium.h"
#include "platform/context.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

const std::string quitQuestion =
    "Database conversion is not complete! \r\nAre you sure you want to quit?";

class QuitTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
        ASSERT_TRUE(start());
    }
    // The window as the steps leave it waiting in `step`.
    void enterStep(int16_t step) {
        app::wizardStep = static_cast<app::Step>(step);
        app::currentDisk = step >= 2 ? 3 : 1;
        app::totalDisks = 3;
        const bool choosing = step == 0 || step == 3;
        win().driveList().setVisible(choosing);
        win().driveSize().setVisible(choosing);
        win().buttonBack().setEnabled(step != 0);
        win().progressBar().setMax(300);
        win().progressBar().setValue(step == 2 ? 200 : 0);
        win().progressBar().setVisible(step == 2);
        win().summaryLabel().setCaption("\r\nArchive ID = 7\r\nTotal diskettes num = 3");
        newBoxes();
        newLogs();
    }
    // A temporary area as three diskettes leave it.
    void makeTempArea() {
        testsupport::writeFile(tempHost("VELT_flat") / "archive.dat", "x");
        for (const char* area : {"VELT_disk1", "VELT_disk2", "VELT_disk3"})
            testsupport::writeFile(tempHost(area) / "db" / "data.dat", "y");
    }
    void expectTempAreaGone() {
        for (const char* area : {"VELT_flat", "VELT_disk1", "VELT_disk2", "VELT_disk3"})
            EXPECT_FALSE(std::filesystem::exists(tempHost(area))) << area;
    }
    void expectQuitAsked(ui::Answer answer) {
        const auto boxes = newBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, quitQuestion);
        EXPECT_EQ(boxes[0].title, "warning!");
        EXPECT_EQ(boxes[0].icon, ui::Icon::exclamation);
        EXPECT_EQ(boxes[0].buttons, ui::Buttons::yesNo);
        EXPECT_EQ(boxes[0].answer, answer);
    }
    void expectDisketteOnePrompt() {
        EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
        EXPECT_EQ(app::currentDisk, 1);
        EXPECT_EQ(win().statuses().back(), "Please insert diskette #1 and press the OK button");
        EXPECT_EQ(win().summaryLabel().caption(), "");
        EXPECT_FALSE(win().progressBar().visible());
        EXPECT_EQ(win().progressBar().value(), 0);
    }
};

TEST_F(QuitTest, BackInTheFirstDisketteStepReturnsToTheFloppyDrive) {
    enterStep(1);
    ASSERT_TRUE(back());
    const auto logs = newLogs();
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs[0], "Going back to select floppy drive\r\n");
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
    EXPECT_EQ(win().statuses().back(),
              "Please select the floppy disk drive \r\nand press the OK button");
    EXPECT_TRUE(win().driveList().visible());
    EXPECT_TRUE(win().driveList().enabled());
    EXPECT_FALSE(win().buttonBack().enabled());
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(QuitTest, BackInTheFloppyStepPromptsAgain) {
    enterStep(0);
    ASSERT_TRUE(back());
    EXPECT_EQ(newLogs(), std::vector<std::string>{
                             "Please select the floppy disk drive \r\nand press the OK button"});
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
}

TEST_F(QuitTest, BackWhileALaterDisketteIsAskedForRestartsWithoutAQuestion) {
    enterStep(2);
    ASSERT_TRUE(back());
    EXPECT_TRUE(newBoxes().empty());
    const auto logs = newLogs();
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_EQ(logs[0], "Going back to 1st diskette\r\n");
    EXPECT_NE(win().logText().text().find("Going back to 1st diskette\r\n\r\n"), std::string::npos);
    expectDisketteOnePrompt();
    EXPECT_TRUE(win().buttonBack().enabled());
}

TEST_F(QuitTest, BackInTheFlashStepsAsksAndOnNoChangesNothing) {
    for (const int16_t step : std::initializer_list<int16_t>{3, 4}) {
        enterStep(step);
        const std::string status = win().mainText().text();
        answer(ui::Answer::no);
        ASSERT_TRUE(back());
        const auto boxes = newBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Start over reading from the first diskette?");
        EXPECT_EQ(boxes[0].title, "Restart");
        EXPECT_EQ(boxes[0].icon, ui::Icon::question);
        EXPECT_EQ(boxes[0].buttons, ui::Buttons::yesNo);
        EXPECT_TRUE(newLogs().empty());
        EXPECT_EQ(app::wizardStep, static_cast<app::Step>(step));
        EXPECT_EQ(win().mainText().text(), status);
        EXPECT_EQ(win().driveList().visible(), step == 3);
    }
}

TEST_F(QuitTest, BackInTheFlashStepsOnYesPutsTheDriveChoiceAway) {
    for (const int16_t step : std::initializer_list<int16_t>{3, 4}) {
        enterStep(step);
        win().driveList().setVisible(true);
        win().driveSize().setVisible(true);
        answer(ui::Answer::yes);
        ASSERT_TRUE(back());
        EXPECT_EQ(newBoxes().size(), 1u);
        expectDisketteOnePrompt();
        EXPECT_FALSE(win().driveList().visible());
        EXPECT_FALSE(win().driveSize().visible());
    }
}

TEST_F(QuitTest, BackAndExitOutsideTheStepsDoNothing) {
    enterStep(9);
    ASSERT_TRUE(back());
    ASSERT_TRUE(exitClick());
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_TRUE(newLogs().empty());
    EXPECT_EQ(app::wizardStep, static_cast<app::Step>(9));
}

// Exit (while a later diskette is asked for) or the close request (in the card step) answered
// No: nothing changes, and the close request is cancelled.
TEST_F(QuitTest, AQuitAnsweredNoChangesNothing) {
    for (const bool viaClose : {false, true}) {
        SCOPED_TRACE(viaClose ? "close" : "Exit");
        enterStep(viaClose ? 3 : 2);
        const std::string status = win().mainText().text();
        answer(ui::Answer::no);
        bool cancelled = false;
        EXPECT_TRUE(viaClose ? close(&cancelled) : exitClick());
        EXPECT_EQ(cancelled, viaClose);
        expectQuitAsked(ui::Answer::no);
        EXPECT_EQ(newLogs(), std::vector<std::string>{"QUERY " + quitQuestion});
        EXPECT_EQ(app::wizardStep, viaClose ? app::Step::cardDrive : app::Step::nextDiskette);
        EXPECT_EQ(win().mainText().text(), status);
        EXPECT_FALSE(wizard::ended());
        EXPECT_FALSE(win().quitCalled());
    }
}

TEST_F(QuitTest, ExitAnsweredYesClearsTheTemporaryAreaAndEnds) {
    for (const int16_t step : std::initializer_list<int16_t>{0, 1, 2, 3}) {
        SCOPED_TRACE(step);
        wizard::resetForm();
        enterStep(step);
        makeTempArea();
        answer(ui::Answer::yes);
        EXPECT_FALSE(exitClick());
        expectQuitAsked(ui::Answer::yes);
        const auto logs = newLogs();
        ASSERT_EQ(logs.size(), 5u);
        EXPECT_EQ(logs[0], "QUERY " + quitQuestion);
        EXPECT_EQ(logs[1], "Remove temporary directory C:\\Temp\\VELT_flat\\");
        EXPECT_EQ(logs[4], "Remove temporary directory C:\\Temp\\VELT_disk3\\");
        expectTempAreaGone();
        EXPECT_TRUE(wizard::ended());
        EXPECT_TRUE(win().quitCalled());
    }
}

TEST_F(QuitTest, ExitOrCloseAfterTheDatabaseIsWrittenEndsWithoutAQuestion) {
    for (const bool viaClose : {false, true}) {
        SCOPED_TRACE(viaClose ? "close" : "Exit");
        wizard::resetForm();
        openWindow();
        enterStep(4);
        makeTempArea();
        EXPECT_FALSE(viaClose ? close() : exitClick());
        EXPECT_TRUE(newBoxes().empty());
        expectTempAreaGone();
        EXPECT_TRUE(win().quitCalled());
    }
}

TEST_F(QuitTest, CloseAnsweredYesEndsAndIsNotAskedAgain) {
    enterStep(1);
    makeTempArea();
    answer(ui::Answer::yes);
    EXPECT_FALSE(close());
    expectQuitAsked(ui::Answer::yes);
    expectTempAreaGone();
    // A close request raised by the end itself finds the program gone.
    EXPECT_FALSE(close());
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(QuitTest, FailedClearingIsReportedAndTheProgramStillEnds) {
    struct Case {
        const char* drive;
        std::function<void()> spoil;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"write-protected",
         [this] {
             platform::MediumOptions locked = medium("c", "SYSTEM");
             locked.faults.readonly = true;
             drives.insert('c', locked);
         },
         "Permission denied"},
        {"not ready", [this] { drives.eject('c'); }, "Disk not ready"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drive);
        wizard::resetForm();
        drives.insert('c', medium("c", "SYSTEM"));
        enterStep(4);
        makeTempArea();
        c.spoil();
        EXPECT_FALSE(exitClick());
        const auto boxes = newBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Error!");
        EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
        EXPECT_EQ(boxes[0].text, "Failed to remove the temporary directory\r\n" + c.reason);
        const auto logs = newLogs();
        ASSERT_EQ(logs.size(), 2u);
        EXPECT_EQ(logs[0], "Remove temporary directory C:\\Temp\\VELT_flat\\");
        EXPECT_EQ(logs[1], "ERROR " + boxes[0].text);
        EXPECT_TRUE(wizard::ended());
        EXPECT_TRUE(win().quitCalled());
        EXPECT_TRUE(std::filesystem::exists(tempHost("VELT_flat")));
    }
}

TEST_F(QuitTest, ExitAfterASetCountingThousandsOfDiskettesEndsWithABoundedLog) {
    enterStep(4);
    app::totalDisks = 32767;
    makeTempArea();
    EXPECT_FALSE(exitClick());
    const auto logs = newLogs();
    ASSERT_EQ(logs.size(), 100u);  // the flat area and diskettes 1 to 99: no others are read
    EXPECT_EQ(logs.back(), "Remove temporary directory C:\\Temp\\VELT_disk99\\");
    expectTempAreaGone();
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_TRUE(win().quitCalled());
}

TEST_F(QuitTest, AnAllocationFailureIsReportedAndTheAreaCanStillBeRemoved) {
    testsupport::SetPlan plan;
    plan.files = {testsupport::wholeFile("keycode.rec", "abc"),
                  testsupport::wholeFile("db/a.dat", "data")};
    testsupport::buildSet(scratch.path() / "set", plan);
    fstest::ProbedDrives probed(drives);
    probed.probe.starved = "db\\a.dat";
    platform::installDrives(&probed);
    ASSERT_TRUE(select('a'));
    ASSERT_TRUE(ok());
    drives.insert('a', medium("set/disk1"));
    newBoxes();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Out of memory (error 7)");
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_TRUE(std::filesystem::is_directory(tempHost("VELT_disk1") / "db"));

    answer(ui::Answer::yes);
    EXPECT_FALSE(exitClick());
    expectTempAreaGone();
    EXPECT_EQ(newBoxes().size(), 1u);  // the quit question only
    platform::installDrives(&drives);
}

}  // namespace
}  // namespace wizardtest
