// Start-up: the window's state once the program waits in the floppy drive step, the instance
// check, and drive lists that do not hold the two entries start-up expects.
#include <gtest/gtest.h>

#include "state/state.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

const std::string floppyPrompt = "Please select the floppy disk drive \r\nand press the OK button";

class StartupTest : public WizardTest {};

TEST_F(StartupTest, WaitsInTheFloppyStepWithTheBannerFirst) {
    defineUsualDrives();
    ASSERT_TRUE(start());
    auto& w = win();

    const std::string banner =
        "\r\n===============================\r\nVELT Database Media Converter Version 1.0.0";
    ASSERT_FALSE(w.logs().empty());
    EXPECT_EQ(w.logs()[0], banner);
    EXPECT_EQ(w.logText().text(), banner + crlf + floppyPrompt + crlf);
    EXPECT_EQ(w.statuses(), std::vector<std::string>{floppyPrompt});
    EXPECT_EQ(w.mainText().text(), floppyPrompt + crlf);
    EXPECT_TRUE(w.mainText().locked());
    EXPECT_EQ(w.mainText().fontSize(), 11);
    EXPECT_EQ(w.caption(), "VELT Database Media Converter");
    EXPECT_TRUE(w.shown());
    EXPECT_TRUE(w.messageBoxes().empty());

    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
    EXPECT_EQ(app::currentDisk, 0);
    EXPECT_FALSE(wizard::logShown);
    EXPECT_EQ(w.buttonLog().picture(), ui::Picture::showLog);
    EXPECT_FALSE(w.logText().visible());
    EXPECT_EQ(w.logText().backColor(), (ui::Color{213, 200, 187}));
    EXPECT_EQ(w.height(), 6990);
    EXPECT_FALSE(w.buttonBack().enabled());
    EXPECT_TRUE(w.buttonOK().enabled());
    EXPECT_FALSE(w.progressBar().visible());
    EXPECT_EQ(w.progressBar().min(), 0);
    EXPECT_EQ(w.progressBar().value(), 0);

    // The second entry is chosen and read back; the list keeps the focus.
    EXPECT_EQ(w.driveList().listIndex(), 1);
    EXPECT_EQ(wizard::savedListIndex, 1);
    EXPECT_TRUE(w.driveList().visible());
    EXPECT_TRUE(w.driveList().enabled());
    EXPECT_EQ(w.focus(), "DriveList");
    EXPECT_TRUE(w.driveSize().visible());
    EXPECT_EQ(w.driveSize().caption(), "Fixed Drive C: [SYSTEM] - SYSTEM");
}

TEST_F(StartupTest, AnotherInstanceEndsBeforeAnythingIsShownOrWritten) {
    defineUsualDrives();
    auto& w = openWindow();
    w.setAnotherInstance(true);
    EXPECT_FALSE(start());

    ASSERT_EQ(w.messageBoxes().size(), 1u);
    const auto& box = w.messageBoxes()[0];
    EXPECT_EQ(box.text,
              "Can not run muliply instances of VELT Database\r\nMedia Converter application");
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.icon, ui::Icon::critical);
    EXPECT_EQ(box.buttons, ui::Buttons::ok);
    EXPECT_TRUE(w.quitCalled());
    EXPECT_TRUE(wizard::ended());
    EXPECT_FALSE(w.shown());
    EXPECT_EQ(w.caption(), "");
    EXPECT_TRUE(w.logs().empty());
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path() / "c" / "Temp"));
}

TEST_F(StartupTest, DriveNotReadyAtIndexOneIsDescribedByItsLetter) {
    drives.define('a', platform::DriveType::removable, medium("floppy"));
    drives.define('b', platform::DriveType::removable, std::nullopt);
    ASSERT_TRUE(start());
    EXPECT_EQ(win().driveSize().caption(), "Drive B:");
    EXPECT_TRUE(win().messageBoxes().empty());
    EXPECT_EQ(win().caption(), "VELT Database Media Converter");
    EXPECT_EQ(win().statuses(), std::vector<std::string>{floppyPrompt});
}

TEST_F(StartupTest, SingleDriveIsChosenAtIndexZero) {
    drives.define('a', platform::DriveType::removable, medium("floppy"));
    ASSERT_TRUE(start());
    EXPECT_EQ(win().driveList().listIndex(), 0);
    EXPECT_EQ(wizard::savedListIndex, 0);
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - ");
}

TEST_F(StartupTest, EmptyDriveListStillStartsAndOkReportsTheMissingDrive) {
    ASSERT_TRUE(start());
    EXPECT_EQ(win().driveList().listIndex(), -1);
    EXPECT_EQ(wizard::savedListIndex, -1);
    EXPECT_EQ(win().caption(), "VELT Database Media Converter");
    EXPECT_EQ(win().statuses(), std::vector<std::string>{floppyPrompt});
    EXPECT_TRUE(newBoxes().empty());

    newLogs();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(boxes[0].text, "\r\nNo drive is selected.");
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR \r\nNo drive is selected."});
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
    EXPECT_EQ(app::floppyDrive, "");
}

}  // namespace
}  // namespace wizardtest
