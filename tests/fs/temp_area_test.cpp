// Counting and removing folder trees, and clearing the temporary area.
#include "fs/temp_area.h"

#include <gtest/gtest.h>

#include "fs/fs_fixture.h"
#include "state/state.h"
#include "ui/recording_window.h"

namespace {

using testsupport::writeFile;
using namespace fs;

class TempAreaTest : public ::testing::Test, public fstest::DrivesFixture {
  protected:
    void SetUp() override {
        app::resetState();
        ui::installWindow(&window);
    }
    void TearDown() override { ui::installWindow(nullptr); }
    ui::RecordingWindow window;
};

TEST_F(TempAreaTest, CountsEverythingBelowAFolder) {
    EXPECT_EQ(countFolderEntries("A:\\"), 0);
    std::filesystem::create_directories(host("a/empty"));
    EXPECT_EQ(countFolderEntries("A:\\"), 1);
    std::filesystem::remove(host("a/empty"));
    writeFile(host("a/archive.dat"), "");
    writeFile(host("a/disk0001.dat"), "");
    writeFile(host("a/DB/one"), "");
    writeFile(host("a/DB/two"), "");
    writeFile(host("a/.cfg"), "");  // a leading dot is an ordinary name
    EXPECT_EQ(countFolderEntries("A:\\"), 6);
}

TEST_F(TempAreaTest, CountAbove32767Overflows) {
    for (int i = 0; i < 32768; ++i)
        writeFile(host("a/f" + std::to_string(i)), "");
    EXPECT_EQ(fstest::codeOf([] { countFolderEntries("A:\\"); }), platform::err::overflow);
}

TEST_F(TempAreaTest, RemovesWholeTreesAndNothingElse) {
    EXPECT_NO_THROW(removeFolderTree("C:\\Temp\\none\\"));
    writeFile(host("c/Temp/X/a.dat"), "a");
    writeFile(host("c/Temp/X/.hidden"), "h");
    writeFile(host("c/Temp/X/s1/b.dat"), "b");
    writeFile(host("c/Temp/X/s1/s2/c.dat"), "c");
    std::filesystem::create_directories(host("c/Temp/X/s1/s3"));
    writeFile(host("c/Temp/X/z.dat"), "z");
    writeFile(host("keep/precious.dat"), "p");
    std::filesystem::create_directory_symlink(host("keep"), host("c/Temp/X/s1/link"));
    removeFolderTree("C:\\Temp\\X\\");
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/X")));
    EXPECT_TRUE(std::filesystem::exists(host("keep/precious.dat")));
    EXPECT_TRUE(std::filesystem::exists(host("c/Temp")));
}

TEST_F(TempAreaTest, AFolderThatIsALinkGoesAsALink) {
    writeFile(host("keep/precious.dat"), "p");
    std::filesystem::create_directory_symlink(host("keep"), host("c/Temp/VELT_flat"));
    removeFolderTree("C:\\Temp\\VELT_flat\\");
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(host("c/Temp/VELT_flat"))));
    EXPECT_TRUE(std::filesystem::exists(host("keep/precious.dat")));
}

TEST_F(TempAreaTest, RemovalFailuresRaise) {
    writeFile(host("card/backup/single/x"), "x");
    remedy('e', "card", [](platform::MediumOptions& m) { m.faults.readonly = true; });
    EXPECT_EQ(fstest::codeOf([] { removeFolderTree("E:\\backup\\single\\"); }),
              platform::err::permissionDenied);
    EXPECT_TRUE(std::filesystem::exists(host("card/backup/single/x")));
}

TEST_F(TempAreaTest, RemoveTempAreaLogsEachAreaUpToTotalDisks) {
    removeTempArea();
    ASSERT_EQ(window.logs().size(), 1u);
    EXPECT_EQ(window.logs()[0], "Remove temporary directory C:\\Temp\\VELT_flat\\");

    app::totalDisks = 3;
    writeFile(host("c/Temp/VELT_flat/archive.dat"), "x");
    writeFile(host("c/Temp/VELT_disk2/db/x"), "x");
    writeFile(host("c/Temp/VELT_disk4/y"), "y");
    removeTempArea();
    ASSERT_EQ(window.logs().size(), 5u);
    EXPECT_EQ(window.logs()[2], "Remove temporary directory C:\\Temp\\VELT_disk1\\");
    EXPECT_EQ(window.logs()[3], "Remove temporary directory C:\\Temp\\VELT_disk2\\");
    EXPECT_EQ(window.logs()[4], "Remove temporary directory C:\\Temp\\VELT_disk3\\");
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/VELT_flat")));
    EXPECT_FALSE(std::filesystem::exists(host("c/Temp/VELT_disk2")));
    EXPECT_TRUE(std::filesystem::exists(host("c/Temp/VELT_disk4/y")));
}

}  // namespace
