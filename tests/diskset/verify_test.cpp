// The checksum verification over diskette areas laid out in C:\Temp as the reader leaves them.
#include <string>

#include "diskset/checksum.h"
#include "diskset/diskset_support.h"
#include "state/state.h"
#include "support/set_builder.h"

namespace {

using testsupport::spreadFile;
using testsupport::wholeFile;

class VerifyTest : public disksettest::DisksetTest {
  protected:
    // Builds the set, copies its diskettes into the diskette areas and fills the file table
    // as parsing its descriptor would.
    testsupport::BuiltSet layOut(const testsupport::SetPlan& plan) {
        testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
        for (int n = 1; n <= plan.disks; ++n)
            std::filesystem::copy(set.disk(n), area(n), std::filesystem::copy_options::recursive);
        useEntries(set.entries);
        app::totalDisks = static_cast<int16_t>(plan.disks);
        return set;
    }
    void useEntries(const std::vector<app::FileEntry>& entries) {
        for (size_t k = 0; k < entries.size(); ++k)
            app::fileTable(static_cast<int>(k + 1)) = entries[k];
        app::fileCount = static_cast<int16_t>(entries.size());
    }
    // The one mismatch reported, checked for its shape; returns its text.
    std::string reportedMismatch() {
        EXPECT_EQ(boxes().size(), 1u);
        EXPECT_EQ(logs().size(), 1u);
        if (boxes().size() != 1 || logs().size() != 1)
            return "";
        EXPECT_EQ(boxes()[0].title, "Error!");
        EXPECT_EQ(boxes()[0].icon, ui::Icon::critical);
        EXPECT_EQ(boxes()[0].buttons, ui::Buttons::ok);
        EXPECT_EQ(logs()[0], "ERROR " + boxes()[0].text);
        return boxes()[0].text;
    }

    testsupport::SetPlan exampleSet() const {
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.files = {wholeFile("keycode.rec", "abc"),
                      spreadFile("db/data.dat", "abcd", {{1, 3}, {2, 1}})};
        return plan;
    }
};

TEST_F(VerifyTest, EmptyTableIsTrueAtOnce) {
    EXPECT_TRUE(diskset::verifyChecksums());
    EXPECT_TRUE(logs().empty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(VerifyTest, ExampleSetPassesAndFindsKeycodeRec) {
    layOut(exampleSet());
    EXPECT_TRUE(diskset::verifyChecksums());
    EXPECT_TRUE(app::keycodeRecFound);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(logs().empty());
}

TEST_F(VerifyTest, LaterPieceAddsTheArchivedSumOfThePieceBefore) {
    layOut(exampleSet());
    app::fileTable(3).archivedSum = 395;
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk2\\db\\data.dat\r\nActual 394 archived 395");
}

TEST_F(VerifyTest, CumulativeSumIsReducedOnce) {
    testsupport::SetPlan plan;
    plan.disks = 3;
    // 0xFFFFFFFF, then 5, then 0xFFFFFFFF again: 2^32 - 1, 4, 3.
    const std::string bytes = std::string("\xFF\xFF\xFF\xFF") + std::string("\0\0\0\x05", 4) +
                              std::string("\xFF\xFF\xFF\xFF");
    plan.files = {spreadFile("big.dat", bytes, {{1, 4}, {2, 4}, {3, 4}})};
    layOut(plan);
    app::fileTable(1).archivedSum = 4294967295.0;
    app::fileTable(2).archivedSum = 4;
    app::fileTable(3).archivedSum = 3;
    EXPECT_TRUE(diskset::verifyChecksums());
}

TEST_F(VerifyTest, SplitEntryWithoutPieceBeforeStandsAlone) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {wholeFile("keycode.rec", "abc"), wholeFile("db/x.dat", "d", 2)};
    layOut(plan);
    app::fileTable(2).split = true;  // but no "\db\x.dat" on diskette 1
    app::fileTable(2).archivedSum = 100;
    EXPECT_TRUE(diskset::verifyChecksums());
    // A piece of the same name on the same diskette does not count either.
    app::fileTable(1).name = "\\db\\x.dat";
    app::fileTable(1).disk = 2;
    app::fileTable(1).archivedSum = 100;
    testsupport::writeFile(area(2) / "db" / "x.dat", "d");
    EXPECT_TRUE(diskset::verifyChecksums());
}

TEST_F(VerifyTest, KeycodeKcdStandsForTheRecEntry) {
    auto plan = exampleSet();
    plan.keycodeAsKcd = true;
    layOut(plan);
    EXPECT_TRUE(diskset::verifyChecksums());
    EXPECT_FALSE(app::keycodeRecFound);

    app::fileTable(1).archivedSum = 1;
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk1\\keycode.kcd\r\nActual 294 archived 1");
    EXPECT_FALSE(app::keycodeRecFound);
}

TEST_F(VerifyTest, KeycodeFormIsJudgedByDisketteAreaOne) {
    // The keycode entry of diskette 2: area 1 holds keycode.rec, so area 2's keycode.rec is
    // the file checked, though area 2 also holds a keycode.kcd.
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {wholeFile("keycode.rec", "abc"), wholeFile("keycode.rec", "xyz", 2)};
    layOut(plan);
    testsupport::writeFile(area(2) / "keycode.kcd", "abc");
    EXPECT_TRUE(diskset::verifyChecksums());
    EXPECT_TRUE(app::keycodeRecFound);

    std::filesystem::rename(area(1) / "keycode.rec", area(1) / "keycode.kcd");
    app::keycodeRecFound = false;
    EXPECT_FALSE(diskset::verifyChecksums());  // area 2's keycode.kcd holds abc, not xyz
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk2\\keycode.kcd\r\n"
              "Actual 294 archived " +
                  std::to_string(97 + 98 + 99 + 23 + 23 + 23));
    EXPECT_FALSE(app::keycodeRecFound);
}

TEST_F(VerifyTest, OnlyTheFirstMismatchIsReported) {
    testsupport::SetPlan plan;
    plan.files = {wholeFile("a.dat", "abc"), wholeFile("b.dat", "abcd"), wholeFile("c.dat", "x")};
    layOut(plan);
    app::fileTable(2).archivedSum = 7;
    app::fileTable(3).archivedSum = 8;
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk1\\b.dat\r\nActual 1633837924 archived 7");
}

TEST_F(VerifyTest, MissingAndEmptyFilesShowTheirFailureValues) {
    testsupport::SetPlan plan;
    plan.files = {wholeFile("db/a.dat", "abc"), wholeFile("db/e.dat", "q")};
    layOut(plan);
    std::filesystem::remove(area(1) / "db" / "a.dat");
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk1\\db\\a.dat\r\nActual 1 archived 294");

    testsupport::writeFile(area(1) / "db" / "a.dat", "abc");
    testsupport::writeFile(area(1) / "db" / "e.dat", "");
    freshWindow();
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_EQ(reportedMismatch(),
              "Wrong checksum at C:\\Temp\\VELT_disk1\\db\\e.dat\r\nActual 2 archived 113");
}

TEST_F(VerifyTest, TwelveDisketteAreasAreNamedInDecimal) {
    testsupport::SetPlan plan;
    plan.disks = 12;
    const std::string bytes = testsupport::noise(3 * 5000 + 3, 12);
    plan.files = {wholeFile("keycode.rec", "abc"),
                  spreadFile("db/big.dat", bytes, {{10, 5001}, {11, 5001}, {12, 5001}})};
    for (int n = 2; n <= 9; ++n)
        plan.files.push_back(wholeFile("d" + std::to_string(n) + ".dat", "n", n));
    layOut(plan);
    EXPECT_TRUE(diskset::verifyChecksums());
    testsupport::writeFile(area(12) / "db" / "big.dat", "changed");
    EXPECT_FALSE(diskset::verifyChecksums());
    EXPECT_NE(reportedMismatch().find("C:\\Temp\\VELT_disk12\\db\\big.dat\r\n"), std::string::npos);
}

}  // namespace
