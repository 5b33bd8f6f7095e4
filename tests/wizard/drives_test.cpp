// The drive list's change handling per step, the drive descriptions, the free-space figure and
// the check of the Compact Flash drive.
#include <gtest/gtest.h>

#include "platform/context.h"
#include "state/state.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

class DrivesTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
    }
    // Started, then moved to the Compact Flash step as the steps leave it.
    void startInFlashStep() {
        ASSERT_TRUE(start());
        app::wizardStep = app::Step::cardDrive;
        newBoxes();
        newLogs();
    }
};

TEST_F(DrivesTest, FreeSpaceIsRoundedToWholeKilobytesHalfUp) {
    const std::pair<uint64_t, std::string> cases[] = {
        {1536, "2"},
        {1535, "1"},
        {0, "0"},
        {512, "1"},
        {511, "0"},
        {64000000, "62,500"},
        {1024ull * 1024 * 1024 * 1024, "1,073,741,824"}};
    for (const auto& [bytes, kb] : cases) {
        drives.define('e', platform::DriveType::removable, medium("cf", "CF", bytes));
        EXPECT_EQ(wizard::getFreeSpace("e:"), "Drive E: - CF\r\n Free Space: " + kb + " Kbytes")
            << bytes;
    }
    EXPECT_EQ(wizard::getFreeSpace("c: [SYSTEM]"),
              "Drive C: [SYSTEM] - SYSTEM\r\n Free Space: 10,485,760 Kbytes");
}

TEST_F(DrivesTest, DigitGroupingFollowsTheChosenSeparator) {
    EXPECT_EQ(wizard::groupDigits(999), "999");
    EXPECT_EQ(wizard::groupDigits(1000), "1,000");
    EXPECT_EQ(wizard::groupDigits(18446744073709551615ull), "18,446,744,073,709,551,615");
    wizard::setDigitGrouping(".");
    EXPECT_EQ(wizard::groupDigits(1234567), "1.234.567");
    wizard::setDigitGrouping("\u202f");
    EXPECT_EQ(wizard::groupDigits(62500), "62\u202f500");
    wizard::setDigitGrouping("");
    EXPECT_EQ(wizard::groupDigits(1234567), "1234567");
}

TEST_F(DrivesTest, TypeTextsEndInABlankAndUnknownCodesGiveNothing) {
    const std::pair<int, std::string> cases[] = {
        {0, "Unknown "}, {1, "Removable "}, {2, "Fixed "}, {3, "Network "},
        {4, "CD-ROM "},  {5, "RAM Disk "},  {6, ""},       {-1, ""}};
    for (const auto& [type, text] : cases) {
        drives.define('g', static_cast<platform::DriveType>(type), std::nullopt);
        EXPECT_EQ(wizard::getDriveTypeText("g:"), text) << type;
    }
}

TEST_F(DrivesTest, FloppyStepDescribesTheDriveWithoutFreeSpace) {
    ASSERT_TRUE(start());
    drives.insert('a', medium("floppy"));
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - ");
    EXPECT_GT(win().recordingDriveSize().refreshCount(), 0);
    EXPECT_EQ(win().focus(), "buttonOK");
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(DrivesTest, DriveWithoutMediumIsNamedOnlyAndTakesNoMessage) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Drive A:");
    EXPECT_EQ(win().focus(), "buttonOK");
    EXPECT_TRUE(newBoxes().empty());
    // Outside the Compact Flash step the same holds in every step.
    app::wizardStep = app::Step::firstDiskette;
    ASSERT_TRUE(select('c'));
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Drive A:");
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(DrivesTest, KeyPressRunsTheSameHandling) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    drives.insert('a', medium("floppy"));
    win().driveList().setFocus();
    ASSERT_TRUE(key());
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - ");
    EXPECT_EQ(win().focus(), "buttonOK");
}

TEST_F(DrivesTest, FlashStepShowsFreeSpaceOfAReadyDrive) {
    startInFlashStep();
    ASSERT_TRUE(select('e'));
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes");
    EXPECT_EQ(win().focus(), "buttonOK");
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(DrivesTest, FlashStepRefusesAnUnknownTypeAndKeepsLabelAndFocus) {
    drives.define('u', platform::DriveType::unknown, medium("u"));
    startInFlashStep();
    const std::string before = win().driveSize().caption();
    win().driveList().setFocus();
    ASSERT_TRUE(select('u'));
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown type Drive U:");
    EXPECT_EQ(boxes[0].title, "VELT Database Media Converter");
    EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR Unknown type Drive U:"});
    EXPECT_EQ(win().driveSize().caption(), before);
    EXPECT_EQ(win().focus(), "DriveList");
    EXPECT_EQ(win().driveList().listIndex(), indexOf('u'));
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
}

TEST_F(DrivesTest, FlashStepFallsBackToTheSavedDriveWhenNotReady) {
    drives.eject('e');
    startInFlashStep();
    ASSERT_TRUE(select('e'));
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\r\nDrive E: is not ready.");
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR \r\nDrive E: is not ready."});
    // The list is back at c: and the handling ran again for it.
    EXPECT_EQ(win().driveList().listIndex(), wizard::savedListIndex);
    EXPECT_EQ(win().driveList().drive(), "c: [SYSTEM]");
    EXPECT_EQ(win().driveSize().caption(),
              "Fixed Drive C: [SYSTEM] - SYSTEM\r\n Free Space: 10,485,760 Kbytes");
    EXPECT_EQ(win().focus(), "buttonOK");
}

TEST_F(DrivesTest, FallbackToADriveThatIsNotReadyEitherStopsAfterTheSecondReport) {
    drives.define('b', platform::DriveType::removable, std::nullopt);
    drives.eject('e');
    startInFlashStep();
    wizard::savedListIndex = indexOf('b');
    const std::string before = win().driveSize().caption();
    ASSERT_TRUE(select('e'));
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "\r\nDrive E: is not ready.");
    EXPECT_EQ(boxes[1].text, "\r\nDrive B: is not ready.");
    EXPECT_EQ(win().driveList().listIndex(), indexOf('b'));
    EXPECT_EQ(win().driveSize().caption(), before);
}

TEST_F(DrivesTest, CheckFlashDriveEnablesOkOnAReadyDrive) {
    startInFlashStep();
    ASSERT_TRUE(select('e'));
    win().buttonOK().setEnabled(false);
    win().driveSize().setCaption("");
    bool usable = false;
    ASSERT_TRUE(wizard::dispatch([&] { usable = wizard::checkFlashDrive(); }));
    EXPECT_TRUE(usable);
    EXPECT_TRUE(win().buttonOK().enabled());
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes");
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(DrivesTest, CheckFlashDriveReportsAndLeavesTheListAlone) {
    drives.define('u', platform::DriveType::unknown, medium("u"));
    startInFlashStep();
    ASSERT_TRUE(select('e'));
    drives.eject('e');
    bool usable = true;
    ASSERT_TRUE(wizard::dispatch([&] { usable = wizard::checkFlashDrive(); }));
    EXPECT_FALSE(usable);
    EXPECT_EQ(win().driveList().listIndex(), indexOf('e'));
    auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\r\nDrive E: is not ready.");
    EXPECT_EQ(boxes[0].title, "Error!");

    ASSERT_TRUE(select('u'));
    newBoxes();
    usable = true;
    ASSERT_TRUE(wizard::dispatch([&] { usable = wizard::checkFlashDrive(); }));
    EXPECT_FALSE(usable);
    boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown type Drive U:");
}

TEST_F(DrivesTest, VanishedDriveInTheChangeHandlingReachesTheBoundary) {
    drives.define('z', platform::DriveType::removable, medium("z"));
    ASSERT_TRUE(start());
    platform::FolderDriveTable other;
    other.define('c', platform::DriveType::fixed, medium("c", "SYSTEM"));
    platform::installDrives(&other);
    EXPECT_TRUE(select('z'));
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_FALSE(wizard::ended());
    platform::installDrives(&drives);
}

}  // namespace
}  // namespace wizardtest
