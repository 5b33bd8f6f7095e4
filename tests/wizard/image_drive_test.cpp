// A diskette image put into the floppy drive from the desktop's "Diskette image..." entry: the
// drive list and the drive information show it like a diskette, and the next image of the set
// answers "Please insert diskette #2".
#include <gtest/gtest.h>

#include "platform/context.h"
#include "platform/image_drives.h"
#include "state/state.h"
#include "wizard/events.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

namespace fsys = std::filesystem;

TEST_F(WizardTest, AnImagePutIntoTheFloppyDriveIsReadLikeADiskette) {
    const fsys::path images = fsys::path(__FILE__).parent_path() / "../../samples/site42/images";
    auto machine = std::make_unique<platform::FolderDriveTable>();
    machine->define('a', platform::DriveType::removable, std::nullopt);
    machine->define('c', platform::DriveType::fixed, medium("c", "SYSTEM", 1ull << 30));
    fsys::create_directories(scratch.path() / "c" / "Temp");
    platform::ImageDriveTable imageDrives(std::move(machine));
    platform::installDrives(&imageDrives);
    platform::setTempFolder("C:\\Temp");

    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Drive A:");

    // The menu entry's flow: the toolkit's dialog only picks the file. It proposes nothing
    // first, then the next image of the series.
    std::vector<std::string> proposals;
    auto pick = [&](const fsys::path& file) {
        wizard::chooseDisketteImage(imageDrives, [&](const std::string& proposal) {
            proposals.push_back(proposal);
            return file.string();
        });
    };
    pick(images / "disk1.img");
    EXPECT_EQ(win().driveList().drive(), "a:");
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - DISK1");

    ASSERT_TRUE(ok());
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    pick(images / "disk2.img");
    EXPECT_EQ(proposals, (std::vector<std::string>{"", (images / "disk2.img").string()}));
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::currentDisk, 3);
    EXPECT_TRUE(newBoxes().empty());

    // A file that cannot be opened (gone since the dialog listed it) is reported and logged like
    // any failure; the diskette in the drive stays, and a cancelled dialog changes nothing.
    newLogs();
    const std::string shown = win().driveSize().caption();
    pick(scratch.path() / "gone.img");
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
    const auto logs = newLogs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0], "ERROR " + boxes[0].text);
    EXPECT_EQ(app::errorText, boxes[0].text);
    EXPECT_EQ(win().driveSize().caption(), shown);
    EXPECT_EQ(win().driveList().listCount(), 2);
    pick("");
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_TRUE(newLogs().empty());
}

}  // namespace
}  // namespace wizardtest
