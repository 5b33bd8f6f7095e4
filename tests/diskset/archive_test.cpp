// The descriptor parser: fields by position, the limits, the file's own faults, and input
// outside the format, which must end with a code of its own and never touch memory outside
// the buffers (the sanitizer build watches that).
#include <string>

#include "diskset/archive.h"
#include "diskset/diskset_support.h"
#include "state/state.h"
#include "support/set_builder.h"

namespace {

using diskset::parseArchive;
namespace fault = diskset::parseFault;

const std::string idLine = "ARCHIVE-ID-LABEL:812\n";  // the ID at the 18th character

class ArchiveTest : public disksettest::DisksetTest {
  protected:
    void SetUp() override {
        DisksetTest::SetUp();
        floppy = scratch.make("floppy");
        insertDiskette(floppy);
    }
    // Writes the descriptor to A:\archive.dat and parses it.
    int parse(const std::string& text) {
        testsupport::writeFile(floppy / "archive.dat", text);
        return parseArchive("A:\\archive.dat");
    }
    int parseEntries(const std::string& entries) {
        return parse(idLine + "NUMDISKS: 2\n" + entries);
    }
    static const app::FileEntry& entry(int n) { return app::fileTable(n); }

    std::filesystem::path floppy;
};

// A card's descriptor read while a set is being converted: the set's state stays as it was,
// whether the card's parses or not.
TEST_F(ArchiveTest, ADescriptorParsedApartLeavesTheSetsState) {
    ASSERT_EQ(parseEntries("FILE: 1 0 1 294 /keycode.rec std\nFILE: 2 0 1 7 /db/x.dat std\n"), 0);
    testsupport::writeFile(scratch.path() / "c" / "card.dat",
                           "CARD ARCHIVE ID: 99\nNUMDISKS: 1\nFILE: 1 0 1 5 /only.dat std\n");
    testsupport::writeFile(scratch.path() / "c" / "bad.dat", "no descriptor");
    for (const char* path : {"C:\\card.dat", "C:\\bad.dat"}) {
        SCOPED_TRACE(path);
        diskset::Descriptor card;
        const int code = diskset::parseDescriptor(path, card);
        EXPECT_EQ(code == 0, std::string(path) == "C:\\card.dat");
        if (code == 0) {
            EXPECT_EQ(card.archiveId, 99);
            ASSERT_EQ(card.count, 1);
            EXPECT_EQ(card.entries(1).name, "\\only.dat");
        }
        EXPECT_EQ(app::archiveId, 812);
        EXPECT_EQ(app::totalDisks, 2);
        ASSERT_EQ(app::fileCount, 2);
        EXPECT_EQ(entry(1).name, "\\keycode.rec");
        EXPECT_EQ(entry(2).archivedSum, 7);
    }
}

TEST_F(ArchiveTest, ExampleSetAsTheBuilderWritesIt) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {testsupport::wholeFile("keycode.rec", "abc"),
                  testsupport::spreadFile("db/data.dat", "abcd", {{1, 3}, {2, 1}})};
    const testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
    insertDiskette(set.disk(1));
    ASSERT_EQ(parseArchive("A:\\archive.dat"), 0);
    EXPECT_EQ(app::archiveId, 812);
    EXPECT_EQ(app::totalDisks, 2);
    ASSERT_EQ(app::fileCount, 3);
    for (int n = 1; n <= 3; ++n) {
        const app::FileEntry& want = set.entries[static_cast<size_t>(n - 1)];
        EXPECT_EQ(entry(n).disk, want.disk);
        EXPECT_EQ(entry(n).split, want.split);
        EXPECT_EQ(entry(n).lastPart, want.lastPart);
        EXPECT_EQ(entry(n).archivedSum, want.archivedSum);
        EXPECT_EQ(entry(n).name, want.name);
        EXPECT_EQ(entry(n).extraText, want.extraText);
    }
    EXPECT_EQ(entry(1).name, "\\keycode.rec");
    EXPECT_EQ(entry(3).archivedSum, 394);
}

TEST_F(ArchiveTest, FieldsByPosition) {
    ASSERT_EQ(parse("01234567890123456012345\nNUMDISKS: 03\nheader one\n\nFILE \n"
                    "FILE: 2 1 1 294 /db/part.dat tag\n"
                    "FILE: 10 0 1 7 /x y\n"
                    "FILE: 12 1 0 4294967295 /a/b/c.dat /x/y\n"
                    "FILE: 3 0 0 0 /z "),
              0);
    EXPECT_EQ(app::archiveId, 12345);
    EXPECT_EQ(app::totalDisks, 3);
    ASSERT_EQ(app::fileCount, 4);
    EXPECT_EQ(entry(1).disk, 2);
    EXPECT_TRUE(entry(1).split);
    EXPECT_TRUE(entry(1).lastPart);
    EXPECT_EQ(entry(1).archivedSum, 294);
    EXPECT_EQ(entry(1).name, "\\db\\part.dat");
    EXPECT_EQ(entry(1).extraText, "tag");
    EXPECT_EQ(entry(2).disk, 10);
    EXPECT_FALSE(entry(2).split);
    EXPECT_TRUE(entry(2).lastPart);
    EXPECT_EQ(entry(2).archivedSum, 7);
    EXPECT_EQ(entry(2).name, "\\x");
    EXPECT_EQ(entry(2).extraText, "y");
    EXPECT_EQ(entry(3).disk, 12);
    EXPECT_TRUE(entry(3).split);
    EXPECT_FALSE(entry(3).lastPart);
    EXPECT_EQ(entry(3).archivedSum, 4294967295.0);
    EXPECT_EQ(entry(3).extraText, "\\x\\y");  // "/" turned in the extra text too
    EXPECT_EQ(entry(4).name, "\\z");          // the last line without its LF, empty extra text
    EXPECT_EQ(entry(4).extraText, "");
}

TEST_F(ArchiveTest, ArchiveIdAndCountWithLeadingZeros) {
    ASSERT_EQ(parseEntries("FILE: 1 0 1 1 /a b\n"), 0);
    EXPECT_EQ(app::archiveId, 812);
    ASSERT_EQ(parse("ARCHIVE-ID-LABEL:0042\nnumdisks::07\nFILE: 1 0 1 1 /a b\n"), 0);
    EXPECT_EQ(app::archiveId, 42);
    EXPECT_EQ(app::totalDisks, 7);
    // Not digits at the 18th character: the ID reads as 0; the reader refuses the diskettes.
    ASSERT_EQ(parse("ARCHIVE-ID-LABEL: 42\nNUMDISKS: 1\nFILE: 1 0 1 1 /a b\n"), 0);
    EXPECT_EQ(app::archiveId, 0);
}

TEST_F(ArchiveTest, CarriageReturnsStayInTheLine) {
    testsupport::SetPlan plan;
    plan.lineEnd = "\r\n";
    plan.headerLines = {"HEADER: one", "HEADER: two"};
    plan.files = {testsupport::wholeFile("keycode.rec", "abc"),
                  testsupport::wholeFile("db/a.dat", "12345")};
    const testsupport::BuiltSet set = testsupport::buildSet(scratch.path() / "set", plan);
    insertDiskette(set.disk(1));
    ASSERT_EQ(parseArchive("A:\\archive.dat"), 0);
    EXPECT_EQ(app::totalDisks, 1);
    ASSERT_EQ(app::fileCount, 2);
    EXPECT_EQ(entry(1).extraText, "std\r");
    EXPECT_EQ(entry(2).name, "\\db\\a.dat");
    EXPECT_EQ(entry(2).archivedSum, set.entries[1].archivedSum);
}

TEST_F(ArchiveTest, AtMostOneHundredEntriesAndASetWithMoreIsRefused) {
    const auto lines = [](int count) {
        std::string entries;
        for (int k = 1; k <= count; ++k)
            entries += "FILE: 1 0 1 " + std::to_string(k) + " /f" + std::to_string(k) + " std\n";
        return entries;
    };
    // Files past the table would reach the card unchecked: their count refuses the set.
    struct Case {
        std::string entries;
        int code, seen;
    } cases[] = {
        {lines(100), 0, 100},
        {lines(100) + "\n\nbad", 0, 100},  // text after the entries names no file
        {lines(101), diskset::parseFault::tooManyEntries, 101},
        {lines(120), diskset::parseFault::tooManyEntries, 120},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseEntries(c.entries), c.code);
        EXPECT_EQ(diskset::descriptorEntries(), c.seen);
        EXPECT_EQ(app::fileCount, 100);
        EXPECT_EQ(entry(100).name, "\\f100");
    }
}

TEST_F(ArchiveTest, SizeLimits) {
    std::string text = idLine + "NUMDISKS: 1\n";
    while (10000 - text.size() > 160)
        text += std::string(99, 'H') + "\n";
    text += "FILE: 1 0 1 1 /a std\n";
    // The last entry's line, without its LF, ends at the 10000th byte.
    const size_t nameLength = 10000 - text.size() - 19;
    text += "FILE: 1 0 1 1 /" + std::string(nameLength, 'n') + " std";
    ASSERT_EQ(text.size(), 10000u);
    ASSERT_EQ(parse(text), 0);
    ASSERT_EQ(app::fileCount, 2);
    EXPECT_EQ(entry(2).name, "\\" + std::string(nameLength, 'n'));
    EXPECT_EQ(entry(2).extraText, "std");
    EXPECT_EQ(parse(text + "x"), 3);
    EXPECT_EQ(parse(""), 2);
}

TEST_F(ArchiveTest, FaultsOfTheFileLeaveTheResultsAlone) {
    ASSERT_EQ(parse(idLine + "NUMDISKS: 4\nFILE: 1 0 1 5 /a b\n"), 0);
    std::filesystem::remove(floppy / "archive.dat");
    EXPECT_EQ(parseArchive("A:\\archive.dat"), 53);
    EXPECT_EQ(parseArchive("Q:\\archive.dat"), 68);  // no such drive
    testsupport::writeFile(floppy / "archive.dat", idLine + "NUMDISKS: 2\nFILE: 1 0 1 6 /c d\n");
    insertDiskette(floppy, {"archive.dat"});
    EXPECT_EQ(parseArchive("A:\\archive.dat"), 57);  // a damaged sector
    drives.eject('A');
    EXPECT_EQ(parseArchive("A:\\archive.dat"), 71);
    EXPECT_EQ(app::totalDisks, 4);
    EXPECT_EQ(app::fileCount, 1);
    EXPECT_EQ(entry(1).name, "\\a");
}

TEST_F(ArchiveTest, LinesOutsideTheFormat) {
    EXPECT_EQ(parse(std::string(17, 'L') + "812" + std::string(80, 'L') +
                    "\nNUMDISKS: 1\nFILE: 1 0 1 1 /a b\n"),
              0);
    EXPECT_EQ(parse(std::string(17, 'L') + "812" + std::string(81, 'L') +
                    "\nNUMDISKS: 1\nFILE: 1 0 1 1 /a b\n"),
              fault::lineTooLong);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1" + std::string(89, ' ') + "\nFILE: 1 0 1 1 /a b\n"), 0);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1" + std::string(90, ' ') + "\nFILE: 1 0 1 1 /a b\n"),
              fault::lineTooLong);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1\n" + std::string(101, 'h') + "\nFILE: 1 0 1 1 /a b\n"),
              fault::lineTooLong);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 1 /a " + std::string(83, 'e') + "\n"), 0);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 1 /a " + std::string(84, 'e') + "\n"), fault::lineTooLong);
    EXPECT_EQ(parseEntries(std::string(5000, 'F')), fault::lineTooLong);

    EXPECT_EQ(parse("ARCHIVE-ID-LABEL:812"), fault::unendedLine);
    EXPECT_EQ(parse("A"), fault::unendedLine);
    EXPECT_EQ(parse("\n"), fault::unendedLine);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1"), fault::unendedLine);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 0\nFILE: 1 0 1 1 /a b\n"), fault::diskCountOutOfRange);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 32768\nFILE: 1 0 1 1 /a b\n"), fault::diskCountOutOfRange);
    // Too many diskettes are refused by the reader when it gets to diskette 100.
    EXPECT_EQ(parse(idLine + "NUMDISKS: 100\nFILE: 1 0 1 1 /a b\n"), 0);
    EXPECT_EQ(app::totalDisks, 100);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 99999999999999999999\nFILE: 1 0 1 1 /a b\n"),
              fault::diskCountOutOfRange);
    EXPECT_EQ(parse(idLine + "NUMDISKS\nFILE: 1 0 1 1 /a b\n"), fault::diskCountOutOfRange);

    EXPECT_EQ(parse(idLine + "NUMDISKS: 1\n"), fault::noEntries);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1\nheader\nFILE\nfile: 1 0 1 1 /a b\n"), fault::noEntries);
    EXPECT_EQ(parse(idLine + "NUMDISKS: 1\n FILE: 1 0 1 1 /a b"), fault::noEntries);
}

TEST_F(ArchiveTest, EntriesOutsideTheFormat) {
    const std::string good = "FILE: 1 0 1 294 /a std\n";
    EXPECT_EQ(parseEntries(good + "\n" + good), fault::blankEntryLine);
    EXPECT_EQ(parseEntries(good + "\n"), fault::blankEntryLine);  // a blank line after them
    EXPECT_EQ(parseEntries(good + "\r\n" + good), fault::blankEntryLine);

    EXPECT_EQ(parseEntries("FILE: 0 0 1 294 /a std\n"), fault::diskOutOfRange);
    EXPECT_EQ(parseEntries("FILE: 100 0 1 294 /a std\n"), fault::diskOutOfRange);
    EXPECT_EQ(parseEntries("FILE: x 0 1 294 /a std\n"), fault::diskOutOfRange);
    EXPECT_EQ(parseEntries(good + "garbage\n"), fault::diskOutOfRange);
    EXPECT_EQ(parseEntries("FILE: 99999999999999999999999 0 1 294 /a std\n"),
              fault::diskOutOfRange);

    EXPECT_EQ(parseEntries("FILE: 05 0 1 294 /a std\n"), fault::misplacedField);
    EXPECT_EQ(parseEntries("FILE: 1 00 1 294 /a std\n"), fault::misplacedField);
    EXPECT_EQ(parseEntries("FILE: 1 0  1 294 /a std\n"), fault::misplacedField);
    EXPECT_EQ(parseEntries("FILE: 1 0 1  294 /a std\n"), fault::misplacedField);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 29x4 /a std\n"), fault::misplacedField);
    EXPECT_EQ(parseEntries("FILE: 1\t0 1 294 /a std\n"), fault::misplacedField);

    EXPECT_EQ(parseEntries("FILE: 1\n"), fault::entryCutShort);
    EXPECT_EQ(parseEntries("FILE: 1 0 1"), fault::entryCutShort);
    EXPECT_EQ(parseEntries("FILE: 12 0 1 294"), fault::entryCutShort);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 294 \n"), fault::entryCutShort);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 294 /a\n"), fault::entryCutShort);  // ends after the name
    EXPECT_EQ(parseEntries("FILE: 1 0 1 294 /a\r\n"), fault::entryCutShort);
    EXPECT_EQ(parseEntries("FILE: 1 0 1 294  std\n"), fault::entryCutShort);
    EXPECT_EQ(parseEntries(std::string("FILE: 1 0 1 294 /a") + '\0' + " std\n"),
              fault::entryCutShort);
}

TEST_F(ArchiveTest, NamesMustStayBelowTheDisketteArea) {
    for (const char* name : {"a", "/", "//a", "/a/", "/a//b", "/./a", "/a/.", "/../a", "/a/../../b",
                             "/..", "/c:/x", "/a:b", "\\..\\x"}) {
        EXPECT_EQ(parseEntries(std::string("FILE: 1 0 1 294 ") + name + " std\n"),
                  fault::unsafeName)
            << name;
    }
    for (const char* name : {"/a", "/.a", "/a./b", "/...", "/a/..b", "/db/x.dat"}) {
        EXPECT_EQ(parseEntries(std::string("FILE: 1 0 1 294 ") + name + " std\n"), 0) << name;
    }
}

TEST(ParseNumber, DigitsUpToTheFirstOtherByteOrTheEnd) {
    const uint8_t text[] = {'0', '4', '2', ' ', '7', '9'};
    EXPECT_EQ(diskset::parseNumber(text, 6, 0), 42);
    EXPECT_EQ(diskset::parseNumber(text, 6, 3), 0);
    EXPECT_EQ(diskset::parseNumber(text, 6, 4), 79);
    EXPECT_EQ(diskset::parseNumber(text, 5, 4), 7);  // the end of the buffer ends it
    EXPECT_EQ(diskset::parseNumber(text, 6, 6), 0);
    EXPECT_EQ(diskset::parseNumber(text, 6, -1), 0);
}

}  // namespace
