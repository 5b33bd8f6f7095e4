// The steps behind OK that need no diskette set: choosing the floppy drive, the not-ready
// reports, a failed drive lookup, another copy, and OK outside the steps.
#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/context.h"
#include "state/state.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

class StepsTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
        ASSERT_TRUE(start());
        newLogs();
    }
    void chooseFloppy() {
        ASSERT_TRUE(select('a'));
        ASSERT_TRUE(ok());
        newLogs();
        newBoxes();
    }
};

TEST_F(StepsTest, OkInTheFloppyStepAsksForDisketteOne) {
    ASSERT_TRUE(select('a'));
    newLogs();
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::floppyDrive, "A:");
    EXPECT_EQ(app::currentDisk, 1);
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_EQ(newLogs(),
              (std::vector<std::string>{"Floppy drive A: was selected",
                                        "Please insert diskette #1 and press the OK button"}));
    EXPECT_FALSE(win().driveList().visible());
    EXPECT_FALSE(win().driveList().enabled());
    EXPECT_FALSE(win().driveSize().visible());
    EXPECT_TRUE(win().buttonBack().enabled());
    // The floppy step does not test readiness: drive a: has no diskette here.
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(StepsTest, FloppyNotReadyForDisketteOneIsReportedAndTheStepStays) {
    chooseFloppy();
    const std::string status = win().mainText().text();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
    EXPECT_EQ(boxes[0].buttons, ui::Buttons::ok);
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR \r\nDrive A: is not ready."});
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_EQ(app::currentDisk, 1);
    EXPECT_EQ(win().mainText().text(), status);
    EXPECT_FALSE(win().progressBar().visible());
}

TEST_F(StepsTest, FloppyNotReadyForALaterDisketteAsksForThatDisk) {
    chooseFloppy();
    app::wizardStep = app::Step::nextDiskette;
    app::currentDisk = 2;
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string text = "\r\nDrive A: is not ready.\r\nPlease insert disk #2 into drive.";
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR " + text});
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    EXPECT_EQ(app::currentDisk, 2);
}

TEST_F(StepsTest, FlashDriveNotReadyFallsBackToTheSavedEntry) {
    app::wizardStep = app::Step::cardDrive;
    ASSERT_TRUE(select('e'));
    drives.eject('e');
    newLogs();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\r\nDrive E: is not ready.");
    EXPECT_EQ(newLogs().front(), "ERROR \r\nDrive E: is not ready.");
    EXPECT_EQ(win().driveList().listIndex(), wizard::savedListIndex);
    EXPECT_EQ(win().driveList().drive(), "c: [SYSTEM]");
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(app::flashDrive, "");
}

TEST_F(StepsTest, FlashDriveOfUnknownTypeIsRefusedAndTheStepStays) {
    drives.define('u', platform::DriveType::unknown, medium("u"));
    win().driveList().refreshDrives();
    // Chosen while another step was showing, so the change handling let it pass.
    app::wizardStep = app::Step::firstDiskette;
    ASSERT_TRUE(select('u'));
    app::wizardStep = app::Step::cardDrive;
    newBoxes();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown type Drive U:");
    EXPECT_EQ(app::flashDrive, "U:");
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_TRUE(win().driveList().visible());
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path() / "u"));
}

TEST_F(StepsTest, AnotherCopyReturnsToTheFlashStepWithItsOwnPrompt) {
    app::wizardStep = app::Step::done;
    win().driveList().setEnabled(false);
    win().driveList().setVisible(false);
    win().driveSize().setVisible(false);
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(newLogs(), std::vector<std::string>{
                             "Please select the Compact Flash \r\ndrive and press the OK button"});
    EXPECT_TRUE(win().driveList().visible());
    EXPECT_TRUE(win().driveList().enabled());
    EXPECT_TRUE(win().driveSize().visible());
}

TEST_F(StepsTest, OkOutsideTheStepsChangesNothing) {
    for (const int16_t step : std::initializer_list<int16_t>{-1, 5, 32767}) {
        app::wizardStep = static_cast<app::Step>(step);
        const auto shown = win().statuses().size() + win().logs().size();
        ASSERT_TRUE(ok());
        EXPECT_EQ(win().statuses().size() + win().logs().size(), shown);
        EXPECT_TRUE(newBoxes().empty());
        EXPECT_EQ(app::wizardStep, static_cast<app::Step>(step));
        EXPECT_EQ(app::floppyDrive, "");
    }
}

TEST_F(StepsTest, FailedDriveLookupEndsTheStepWithAReport) {
    // The list still shows z:, but the drive has gone from the table.
    platform::FolderDriveTable later;
    later.define('c', platform::DriveType::fixed, medium("c", "SYSTEM"));
    drives.define('z', platform::DriveType::removable, medium("z"));
    win().driveList().refreshDrives();
    ASSERT_TRUE(select('z'));
    platform::installDrives(&later);
    newLogs();
    newBoxes();
    for (const int16_t step : std::initializer_list<int16_t>{0, 1, 2, 3}) {
        app::wizardStep = static_cast<app::Step>(step);
        app::currentDisk = 1;
        ASSERT_TRUE(ok());
        const auto boxes = newBoxes();
        ASSERT_EQ(boxes.size(), 1u) << step;
        EXPECT_EQ(boxes[0].text, "\r\nDrive Z: is not available.");
        EXPECT_EQ(boxes[0].title, "Error!");
        EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR \r\nDrive Z: is not available."});
        EXPECT_EQ(app::wizardStep, static_cast<app::Step>(step));
        EXPECT_EQ(app::currentDisk, 1);
    }
    EXPECT_EQ(app::floppyDrive, "");
    EXPECT_EQ(app::flashDrive, "");
    platform::installDrives(&drives);
}

}  // namespace
}  // namespace wizardtest
