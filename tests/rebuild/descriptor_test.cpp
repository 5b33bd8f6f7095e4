// writeSingleDescriptor: the one-diskette archive.dat written into the flat area.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"

namespace rebuildtest {
namespace {

using testsupport::readFile;
using testsupport::SetPlan;
using testsupport::spreadFile;
using testsupport::wholeFile;
using testsupport::writeFile;

const std::string targetPath = "C:\\Temp\\VELT_flat\\archive.dat";
const std::string failedWriting = "Failed writing: " + targetPath +
                                  "\r\nEnsure there is enough free space available on drive C:\\";

class DescriptorTest : public RebuildTest {
  protected:
    // Lays out the set and puts the joined files into the flat area as the recombination does.
    void layOutJoined(const SetPlan& plan) {
        layOut(plan);
        for (const testsupport::SetFile& f : plan.files) {
            const bool kcd = plan.keycodeAsKcd && f.name == "keycode.rec";
            writeFile(flat() / (kcd ? "keycode.kcd" : f.name), f.bytes);
        }
    }
    std::string target() const { return readFile(flat() / "archive.dat"); }
};

TEST_F(DescriptorTest, TwoDisketteExampleBecomesOneDiskette) {
    SetPlan l;
    l.disks = 2;
    l.files = {wholeFile("keycode.rec", "abc"),
               spreadFile("db/data.dat", "abcd", {{1, 3}, {2, 1}})};
    layOutJoined(l);

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(),
              "ARCHIVE-ID-LABEL:812\n"
              "NUMDISKS: 1\n"
              "FILE: 1 0 1 294 /keycode.rec std\n"
              "FILE: 1 0 1 1633837924 /db/data.dat std\n");
    EXPECT_EQ(window->logs(), std::vector<std::string>{"Create " + targetPath});
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(DescriptorTest, HeaderLinesAreKeptAndTheCountLineReplaced) {
    SetPlan l;
    l.disks = 7;  // the count line says 7; the written one says 1 all the same
    l.headerLines = {"SITE: north", "REV: 12 A\\B"};
    l.files = {wholeFile("db/sub/x.dat", "xyz")};
    l.files[0].extraText = "dir/more";
    layOutJoined(l);

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    // The archived sum of a whole file is carried over; "\" turns into "/" on FILE lines only.
    EXPECT_EQ(target(),
              "ARCHIVE-ID-LABEL:812\n"
              "NUMDISKS: 1\n"
              "SITE: north\n"
              "REV: 12 A\\B\n"
              "FILE: 1 0 1 363 /db/sub/x.dat dir/more\n");
}

TEST_F(DescriptorTest, CrLfSourceGivesLinesWithoutAnyCarriageReturn) {
    SetPlan l;
    l.lineEnd = "\r\n";
    l.headerLines = {"HEADER"};
    l.files = {wholeFile("a.dat", "aaaa"), wholeFile("b.dat", "b")};
    layOutJoined(l);
    ASSERT_EQ(app::fileTable(1).extraText, "std\r");

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(),
              "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nHEADER\n"
              "FILE: 1 0 1 1633771873 /a.dat std\nFILE: 1 0 1 98 /b.dat std\n");
}

TEST_F(DescriptorTest, OnlyCompletingEntriesGetALineWithTheJoinedChecksum) {
    SetPlan l;
    l.disks = 3;
    l.files = {spreadFile("big.dat", "onetwothree", {{1, 3}, {2, 3}, {3, 5}})};
    layOutJoined(l);
    // The cumulative sum of the last piece is not the joined file's checksum here.
    ASSERT_NE(app::fileTable(3).archivedSum, 3873299224);

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(), "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nFILE: 1 0 1 3873299224 /big.dat std\n");
}

TEST_F(DescriptorTest, SplitKeycodeIsMeasuredAsKcdButKeepsItsName) {
    SetPlan l;
    l.disks = 2;
    l.keycodeAsKcd = true;
    l.files = {spreadFile("keycode.rec", "keys", {{1, 2}, {2, 2}})};
    layOutJoined(l);

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(),
              "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nFILE: 1 0 1 1801812339 /keycode.rec std\n");
}

TEST_F(DescriptorTest, MissingOrEmptyJoinedFileWritesTheChecksumFailureCode) {
    SetPlan l;
    l.disks = 2;
    l.files = {spreadFile("gone.dat", "go", {{1, 1}, {2, 1}}),
               spreadFile("empty.dat", "", {{1, 0}, {2, 0}}), wholeFile("after.dat", "z", 2)};
    layOutJoined(l);
    std::filesystem::remove(flat() / "gone.dat");

    EXPECT_TRUE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(),
              "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\n"
              "FILE: 1 0 1 1 /gone.dat std\n"
              "FILE: 1 0 1 2 /empty.dat std\n"
              "FILE: 1 0 1 122 /after.dat std\n");
    EXPECT_TRUE(window->messageBoxes().empty());
}

TEST_F(DescriptorTest, EmptyTableWritesTheHeaderOnly) {
    SetPlan l;
    l.headerLines = {"H"};
    l.files = {wholeFile("a.dat", "a")};
    layOutJoined(l);
    app::fileCount = 0;

    EXPECT_TRUE(rebuild::writeSingleDescriptor());
    EXPECT_EQ(target(), "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nH\n");
}

TEST_F(DescriptorTest, SourceWithoutFileLineIsReportedOnce) {
    SetPlan l;
    layOutJoined(l);
    writeFile(area(1) / "archive.dat", "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nONLY HEADER\n");

    EXPECT_FALSE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(), "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nONLY HEADER\n");
    EXPECT_EQ(app::errorText, failedWriting);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, failedWriting);
    EXPECT_EQ(window->messageBoxes()[0].title, "Error!");
    EXPECT_EQ(window->messageBoxes()[0].icon, ui::Icon::critical);
    EXPECT_EQ(window->logs(), (std::vector<std::string>{"Create " + targetPath, failedWriting}));
}

// Without diskette 1's descriptor the flat area holds whatever archive.dat the merge left: the
// image is not the set's.
TEST_F(DescriptorTest, MissingSourceIsReportedAndLeavesTheTargetAlone) {
    SetPlan l;
    l.files = {wholeFile("a.dat", "a")};
    layOutJoined(l);
    std::filesystem::remove(area(1) / "archive.dat");
    writeFile(flat() / "archive.dat", "merged\n");

    EXPECT_FALSE(rebuild::writeSingleDescriptor());

    EXPECT_EQ(target(), "merged\n");
    const std::string text =
        "Failed writing: " + targetPath + "\r\nC:\\Temp\\VELT_disk1\\archive.dat File not found";
    EXPECT_EQ(app::errorText, text);
    EXPECT_EQ(window->logs(), std::vector<std::string>{text});
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].title, "Error!");
}

// A target the drive does not take is reported once; what fitted stays written.
TEST_F(DescriptorTest, ATargetTheDriveDoesNotTakeIsReported) {
    const struct {
        const char* what;
        platform::MediumOptions system;
        bool merged;  // the merge left an archive.dat there
        const char* after;
    } cases[] = {
        {"write protected", readonly(systemMedium()), true, "merged\n"},
        {"full", withCapacity(systemMedium(), 30), false, "ARCHIVE-ID-LABEL:812\nNUMDISKS:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        insertSystem(systemMedium());
        std::filesystem::remove_all(temp());
        SetPlan l;
        l.files = {wholeFile("a.dat", "a")};
        layOutJoined(l);
        if (c.merged)
            writeFile(flat() / "archive.dat", "merged\n");
        insertSystem(c.system);
        const size_t boxes = window->messageBoxes().size();

        EXPECT_FALSE(rebuild::writeSingleDescriptor());

        EXPECT_EQ(app::errorText, failedWriting);
        EXPECT_EQ(window->messageBoxes().size(), boxes + 1);
        EXPECT_EQ(target(), c.after);
    }
}

}  // namespace
}  // namespace rebuildtest
