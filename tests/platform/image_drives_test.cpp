// Drive a: holding a picked diskette image over the machine's drives, and the name proposed
// for the next image of a series.
#include <gtest/gtest.h>

#include "platform/folder_drives.h"
#include "platform/image_drives.h"
#include "support/test_support.h"

namespace {

TEST(ImageDrives, TheImageTakesDriveAOverTheMachinesDrives) {
    testsupport::ScratchDir dir;
    auto machine = std::make_unique<platform::FolderDriveTable>();
    platform::MediumOptions c;
    c.root = dir.make("c");
    c.label = "SYSTEM";
    machine->define('a', platform::DriveType::removable, std::nullopt);
    machine->define('c', platform::DriveType::fixed, c);
    platform::ImageDriveTable drives(std::move(machine));
    EXPECT_FALSE(drives.find('a')->ready);

    const auto sample = std::filesystem::path(__FILE__).parent_path() / "../../samples/site42";
    drives.putImage((sample / "images" / "disk2.img").string());
    const auto list = drives.list();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].entry, "a:");
    EXPECT_TRUE(list[0].ready);
    EXPECT_EQ(list[0].volumeName, "DISK2");
    EXPECT_EQ(list[1].entry, "c: [SYSTEM]");
    EXPECT_TRUE(drives.mediumOf('A')->entry("disk0002.dat").has_value());

    // The picked file's name is UTF-8 on every platform (not the Windows code page).
    const auto folder = dir.path() / std::filesystem::path(u8"Sätze \u00e9t\u00e9");
    std::filesystem::create_directories(folder);
    const auto renamed = folder / std::filesystem::path(u8"Diskette \u2116 3.img");
    std::filesystem::copy_file(sample / "images" / "disk3.img", renamed);
    const std::u8string name = renamed.u8string();
    drives.putImage(std::string(name.begin(), name.end()));
    EXPECT_EQ(drives.list()[0].volumeName, "DISK3");
    EXPECT_TRUE(drives.mediumOf('A')->entry("disk0003.dat").has_value());
}

TEST(ImageDrives, NextInSeries) {
    const std::pair<const char*, const char*> cases[] = {
        {"/sets/disk1.img", "/sets/disk2.img"},
        {"/sets/set-009.img", "/sets/set-010.img"},
        {"/sets/d99", "/sets/d100"},
        {"/sets/master.img", "/sets/master.img"},
        {"/sets/7/disk.img", "/sets/7/disk.img"},
        {"C:\\sets\\DISK9.IMA", "C:\\sets\\DISK10.IMA"},
    };
    for (const auto& [from, to] : cases)
        EXPECT_EQ(platform::nextInSeries(from), to) << from;
}

}  // namespace
