// Path mapping and the folder drive table.
#include <gtest/gtest.h>

#include "platform/context.h"
#include "platform/drives.h"
#include "platform/error.h"
#include "platform/folder_drives.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace {

using platform::FolderDriveTable;
using platform::MediumOptions;

// The host file a converter path comes to.
std::filesystem::path hostOf(const std::string& path) {
    platform::MediumPath mp = platform::resolvePath(path);
    return mp.medium->hostPath(mp.relative);
}

using testsupport::codeOf;

class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::resetContext();
        MediumOptions m;
        m.root = dir.make("a");
        drives.define('a', platform::DriveType::removable, m);
        drives.define('b', platform::DriveType::removable, std::nullopt);
        MediumOptions c;
        c.root = dir.make("c");
        c.label = "SYSTEM";
        c.freeBytes = 123456;
        drives.define('c', platform::DriveType::fixed, c);
        platform::installDrives(&drives);
    }
    void TearDown() override { platform::resetContext(); }

    testsupport::ScratchDir dir;
    FolderDriveTable drives;
};

TEST_F(PathsTest, MapsLettersAndCollapsesSeparators) {
    auto hp = platform::resolvePath("C:\\Temp\\\\VELT_flat\\db\\x.dat");
    EXPECT_EQ(hp.letter, 'C');
    EXPECT_EQ(hp.relative, "Temp\\VELT_flat\\db\\x.dat");
    EXPECT_EQ(hp.medium->hostPath(hp.relative),
              dir.path() / "c" / "Temp" / "VELT_flat" / "db" / "x.dat");
    EXPECT_EQ(hostOf("c:\\"), dir.path() / "c");
    EXPECT_EQ(platform::resolvePath("c:\\a\\.\\b\\..\\d").relative, "a\\d");
}

TEST_F(PathsTest, FallsBackToOtherLetterCase) {
    testsupport::writeFile(dir.path() / "a" / "DISK0001.DAT", "x");
    testsupport::writeFile(dir.path() / "a" / "Db" / "Data.dat", "y");
    EXPECT_EQ(hostOf("A:\\disk0001.dat"), dir.path() / "a" / "DISK0001.DAT");
    EXPECT_EQ(hostOf("A:\\db\\DATA.DAT"), dir.path() / "a" / "Db" / "Data.dat");
    // An exact spelling wins over another case; a missing name keeps its spelling.
    testsupport::writeFile(dir.path() / "a" / "disk0001.dat", "z");
    EXPECT_EQ(hostOf("A:\\disk0001.dat"), dir.path() / "a" / "disk0001.dat");
    EXPECT_EQ(hostOf("A:\\New\\File"), dir.path() / "a" / "New" / "File");
}

TEST_F(PathsTest, RefusesBadDrivesAndEscapes) {
    EXPECT_EQ(codeOf([] { platform::resolvePath("Q:\\x"); }), platform::err::deviceUnavailable);
    EXPECT_EQ(codeOf([] { platform::resolvePath("B:\\x"); }), platform::err::diskNotReady);
    EXPECT_EQ(codeOf([] { platform::resolvePath("A:\\..\\c\\x"); }), platform::err::pathNotFound);
    EXPECT_EQ(codeOf([] { platform::resolvePath("A:\\db\\..\\..\\x"); }),
              platform::err::pathNotFound);
    EXPECT_EQ(codeOf([] { platform::resolvePath(""); }), platform::err::badFileName);
    EXPECT_EQ(codeOf([] { platform::resolvePath("A:\\x:y"); }), platform::err::badFileName);
}

TEST_F(PathsTest, RelativePathsUseTheCurrentDriveAndFolder) {
    EXPECT_EQ(codeOf([] { platform::resolvePath("x"); }), platform::err::badFileName);
    platform::setCurrentDrive('c');
    platform::setCurrentFolder('c', "\\backup");
    EXPECT_EQ(platform::resolvePath("single\\x").relative, "backup\\single\\x");
    EXPECT_EQ(platform::resolvePath("\\x").relative, "x");
    EXPECT_EQ(platform::resolvePath("A:x").relative, "x");
}

TEST_F(PathsTest, DriveNames) {
    EXPECT_EQ(platform::driveNameOf("a: [LABEL]"), "a:");
    EXPECT_EQ(platform::driveNameOf("E:\\backup\\"), "E:");
    EXPECT_EQ(platform::driveNameOf("\\x"), "");
}

TEST_F(PathsTest, DriveTableDescribesDrives) {
    auto list = drives.list();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].entry, "a:");
    EXPECT_EQ(list[1].entry, "b:");
    EXPECT_FALSE(list[1].ready);
    EXPECT_EQ(list[2].entry, "c: [SYSTEM]");
    EXPECT_EQ(list[2].freeBytes, 123456u);
    EXPECT_EQ(platform::driveEntryText('e', platform::DriveType::removable, "CF"), "e:");
    EXPECT_EQ(platform::driveEntryText('E', platform::DriveType::network, "share"), "e: [share]");

    MediumOptions m;
    m.root = dir.make("b");
    m.label = "DISK2";
    drives.insert('b', m);
    EXPECT_TRUE(drives.find('B')->ready);
    drives.eject('b');
    EXPECT_FALSE(drives.find('b')->ready);
    EXPECT_EQ(codeOf([&] { drives.eject('q'); }), platform::err::deviceUnavailable);
}

TEST(ErrorTest, CodesCarryThePlatformTexts) {
    EXPECT_EQ(platform::errorDescription(53), "File not found");
    EXPECT_EQ(platform::errorDescription(71), "Disk not ready");
    EXPECT_EQ(platform::errorDescription(61), "Disk full");
    EXPECT_EQ(platform::errorDescription(70), "Permission denied");
    EXPECT_EQ(platform::errorDescription(76), "Path not found");
    platform::Error e(57);
    EXPECT_EQ(e.code(), 57);
    EXPECT_STREQ(e.what(), "Device I/O error");
}

}  // namespace
