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
    machine->define('a', platform::driveRemovable, std::nullopt);
    machine->define('c', platform::driveFixed, medium("c", "SYSTEM", 1ull << 30));
    fsys::create_directories(scratch.path() / "c" / "Temp");
    platform::ImageDriveTable imageDrives(std::move(machine));
    platform::installDrives(&imageDrives);
    platform::setTempFolder("C:\\Temp");

    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    EXPECT_EQ(win().driveSize().caption(), "Drive A:");

    imageDrives.putImage((images / "disk1.img").string());
    ASSERT_TRUE(wizard::handle(wizard::Event::imageChosen));
    EXPECT_EQ(win().driveList().drive(), "a:");
    EXPECT_EQ(win().driveSize().caption(), "Removable Drive A: - DISK1");

    ASSERT_TRUE(ok());
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    imageDrives.putImage((images / "disk2.img").string());
    ASSERT_TRUE(wizard::handle(wizard::Event::imageChosen));
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::currentDisk, 3);
    EXPECT_TRUE(newBoxes().empty());
}

}  // namespace
}  // namespace wizardtest
