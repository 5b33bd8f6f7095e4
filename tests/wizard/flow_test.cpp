// Whole conversions driven through OK, Back and the drive list as the user drives them, with
// diskette sets built on folder drives: the transitions of every step and what reaches the card.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/faulty_medium.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

namespace fsys = std::filesystem;
using testsupport::readFile;
using testsupport::SetPlan;
using testsupport::spreadFile;
using testsupport::wholeFile;
using Tree = std::map<std::string, std::string>;

const std::string floppyPrompt = "Please select the floppy disk drive \r\nand press the OK button";
const std::string flashPrompt = "Please select the Compact Flash\r\ndrive and press the OK button";

class FlowTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
    }

    // A set of `disks` diskettes with a keycode file, a file on every diskette and one file
    // spread over all of them.
    testsupport::BuiltSet makeSet(int disks, const std::string& id = "812") {
        testsupport::SetPlan plan;
        plan.disks = disks;
        plan.archiveId = id;
        plan.files.push_back(testsupport::wholeFile("keycode.rec", "KEY"));
        std::vector<std::pair<int, size_t>> pieces;
        for (int d = 1; d <= disks; ++d) {
            plan.files.push_back(testsupport::wholeFile("db/part" + std::to_string(d) + ".dat",
                                                        testsupport::noise(300, unsigned(d)), d));
            pieces.emplace_back(d, 100);
        }
        plan.files.push_back(testsupport::spreadFile(
            "db/big.dat", testsupport::noise(100 * size_t(disks), 99), pieces));
        sets_.push_back(plan);
        return testsupport::buildSet(scratch.path() / ("set" + id), plan);
    }
    void insertDisk(const testsupport::BuiltSet& set, int n) {
        platform::MediumOptions m;
        m.root = set.disk(n);
        drives.insert('a', m);
    }
    // Start, floppy a:, and diskette 1 of the set in the drive; the wizard waits for its OK.
    void insertFirstDisk(const testsupport::BuiltSet& set) {
        ASSERT_TRUE(start());
        ASSERT_TRUE(select('a'));
        ASSERT_TRUE(ok());
        insertDisk(set, 1);
    }
    // Start, floppy a:, and every diskette of the set read; the wizard then waits for the card.
    void readWholeSet(const testsupport::BuiltSet& set) {
        ASSERT_TRUE(start());
        ASSERT_TRUE(select('a'));
        ASSERT_TRUE(ok());
        for (int n = 1; n <= static_cast<int>(set.disks.size()); ++n) {
            insertDisk(set, n);
            ASSERT_TRUE(ok());
        }
        ASSERT_EQ(app::wizardStep, app::Step::cardDrive);
    }
    bool writeCard(char letter) {
        if (!select(letter))
            return false;
        return ok();
    }
    // The database of the last set made, as the card's \backup\single\ must hold it.
    void expectCardHoldsSet(const fsys::path& cardRoot) {
        const fsys::path single = cardRoot / "backup" / "single";
        const auto& plan = sets_.back();
        for (const auto& file : plan.files)
            EXPECT_EQ(readFile(single / file.name), file.bytes) << file.name;
        EXPECT_TRUE(fsys::exists(single / "archive.dat"));
    }
    // The wizard back at the floppy drive step, the card never offered.
    void expectBackAtTheFloppyStep() {
        EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
        EXPECT_EQ(win().statuses().back(), floppyPrompt);
        EXPECT_FALSE(statusShown(flashPrompt));
    }
    bool statusShown(const std::string& text) const {
        const auto& all = const_cast<FlowTest*>(this)->win().statuses();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    size_t bytesBelow(const fsys::path& root) const {
        size_t n = 0;
        for (const auto& e : fsys::recursive_directory_iterator(root)) {
            if (e.is_regular_file())
                n += static_cast<size_t>(e.file_size());
        }
        return n;
    }

    // The plan's set read and written onto e:, as a user clicks it.
    void convert(const testsupport::SetPlan& plan) {
        readWholeSet(testsupport::buildSet(scratch.path() / "set", plan));
        ASSERT_TRUE(writeCard('e'));
        ASSERT_EQ(app::wizardStep, app::Step::done);
        EXPECT_TRUE(newBoxes().empty());
    }
    Tree single() const {
        return testsupport::fileTree(scratch.path() / "cf" / "backup" / "single");
    }

  private:
    std::vector<testsupport::SetPlan> sets_;
};

std::string sumText(const std::string& bytes) {
    return std::to_string(static_cast<long long>(testsupport::archivedChecksum(bytes)));
}

TEST_F(FlowTest, OneDisketteGoesFromStepOneStraightToTheCard) {
    const auto set = makeSet(1);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(win().statuses().back(), flashPrompt);
    EXPECT_TRUE(statusShown("Please wait...\r\nReading diskette #1"));
    EXPECT_TRUE(
        statusShown("Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."));
    EXPECT_FALSE(win().progressBar().visible());
    EXPECT_TRUE(win().driveList().visible());
    EXPECT_TRUE(win().driveList().enabled());
    EXPECT_TRUE(win().driveSize().visible());

    ASSERT_TRUE(writeCard('e'));
    EXPECT_EQ(app::wizardStep, app::Step::done);
    EXPECT_EQ(app::flashDrive, "E:");
    EXPECT_EQ(
        win().statuses().back(),
        "Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit");
    EXPECT_FALSE(win().driveList().visible());
    EXPECT_FALSE(win().driveSize().visible());
    EXPECT_TRUE(win().buttonOK().enabled());
    expectCardHoldsSet(scratch.path() / "cf");
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(FlowTest, ThreeDiskettesAskInTurnAndTheBarRunsAcrossTheSet) {
    const auto set = makeSet(3);
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    ASSERT_TRUE(ok());
    float last = -1;
    for (int n = 1; n <= 3; ++n) {
        insertDisk(set, n);
        ASSERT_TRUE(ok());
        if (n < 3) {
            EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
            EXPECT_EQ(app::currentDisk, n + 1);
            EXPECT_EQ(win().statuses().back(), "Please insert diskette #" + std::to_string(n + 1) +
                                                   " and press the OK button");
            // Later diskettes go on from where the previous one left the bar.
            EXPECT_TRUE(win().progressBar().visible());
            EXPECT_GT(win().progressBar().value(), last);
            last = win().progressBar().value();
        }
    }
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(app::currentDisk, 3);
    ASSERT_TRUE(writeCard('e'));
    EXPECT_EQ(win().statuses().back(),
              "Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another "
              "copy or Exit");
    expectCardHoldsSet(scratch.path() / "cf");
}

TEST_F(FlowTest, AnotherCopyWritesTheSameImageWithoutReadingAgain) {
    const auto set = makeSet(2);
    drives.define('f', platform::DriveType::removable, medium("cf2", "CF2", 64000000));
    readWholeSet(set);
    win().driveList().refreshDrives();
    ASSERT_TRUE(writeCard('e'));
    drives.eject('a');
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    ASSERT_TRUE(writeCard('f'));
    EXPECT_EQ(app::wizardStep, app::Step::done);
    EXPECT_EQ(app::flashDrive, "F:");
    EXPECT_EQ(win().statuses().back(),
              "Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another "
              "copy or Exit");
    expectCardHoldsSet(scratch.path() / "cf2");
    EXPECT_EQ(readFile(scratch.path() / "cf2" / "backup" / "single" / "archive.dat"),
              readFile(scratch.path() / "cf" / "backup" / "single" / "archive.dat"));
    EXPECT_TRUE(newBoxes().empty());
}

TEST_F(FlowTest, FailedWriteAsksForTheCardAgain) {
    const auto set = makeSet(1);
    readWholeSet(set);
    platform::MediumOptions locked = medium("cf", "CF", 64000000);
    locked.faults.readonly = true;
    drives.insert('e', locked);
    ASSERT_TRUE(writeCard('e'));
    EXPECT_FALSE(newBoxes().empty());
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(win().statuses().back(), flashPrompt);
    EXPECT_TRUE(win().driveList().visible());
    EXPECT_TRUE(win().driveList().enabled());
    EXPECT_TRUE(win().driveSize().visible());
    EXPECT_FALSE(win().progressBar().visible());
}

TEST_F(FlowTest, DeclinedReplaceLeavesTheOldDatabaseAndAsksForTheCardAgain) {
    const auto set = makeSet(1);
    testsupport::writeFile(scratch.path() / "cf" / "backup" / "single" / "old.dat", "old");
    readWholeSet(set);
    answer(ui::Answer::no);
    ASSERT_TRUE(writeCard('e'));
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
    EXPECT_EQ(win().statuses().back(), flashPrompt);
    EXPECT_EQ(readFile(scratch.path() / "cf" / "backup" / "single" / "old.dat"), "old");
}

TEST_F(FlowTest, InvalidDataAfterTheLastDisketteReturnsToStepZero) {
    const auto set = makeSet(2);
    testsupport::writeFile(set.disk(2) / "db" / "part2.dat", "tampered");
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    ASSERT_TRUE(ok());
    insertDisk(set, 2);
    ASSERT_TRUE(ok());
    expectBackAtTheFloppyStep();
    EXPECT_FALSE(win().buttonBack().enabled());
    EXPECT_FALSE(win().progressBar().visible());
    EXPECT_FALSE(fsys::exists(scratch.path() / "cf" / "backup"));
    // Two more presses of OK read the set again from diskette #1.
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::currentDisk, 1);
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
}

TEST_F(FlowTest, RejectedDisketteKeepsTheStepAndIsReadAgain) {
    const auto set = makeSet(3);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    ASSERT_TRUE(ok());
    insertDisk(set, 3);  // diskette 2 is expected
    newBoxes();
    ASSERT_TRUE(ok());
    EXPECT_EQ(newBoxes().size(), 1u);
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    EXPECT_EQ(app::currentDisk, 2);
    insertDisk(set, 2);
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::currentDisk, 3);
}

TEST_F(FlowTest, DisketteOfAnotherSetRestartsFromTheFloppyStep) {
    const auto set = makeSet(2, "812");
    const auto other = makeSet(2, "999");
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    ASSERT_TRUE(ok());
    insertDisk(other, 2);
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);  // set by the reader
    ASSERT_TRUE(ok());                                   // the floppy step again: diskette #1 first
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_EQ(app::currentDisk, 1);
}

TEST_F(FlowTest, FailedCopyOfADisketteReturnsToTheFloppyStep) {
    const auto set = makeSet(2);
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    ASSERT_TRUE(ok());
    platform::MediumOptions damaged;
    damaged.root = set.disk(1);
    damaged.faults.bad = {"db\\part1.dat"};
    drives.insert('a', damaged);
    ASSERT_TRUE(ok());
    EXPECT_FALSE(newBoxes().empty());
    expectBackAtTheFloppyStep();
    EXPECT_FALSE(win().progressBar().visible());
}

TEST_F(FlowTest, BackAfterTheCardIsWrittenLeavesTheCardAndReadsAgain) {
    const auto set = makeSet(2);
    readWholeSet(set);
    ASSERT_TRUE(writeCard('e'));
    answer(ui::Answer::yes);
    ASSERT_TRUE(back());
    EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    EXPECT_FALSE(win().driveList().visible());
    expectCardHoldsSet(scratch.path() / "cf");
    // The list still holds e:, which is ready; the floppy drive is read as before.
    insertDisk(set, 1);
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::wizardStep, app::Step::nextDiskette);
    EXPECT_EQ(app::currentDisk, 2);
}

TEST_F(FlowTest, FailedRecombinationDoesNotOfferTheCard) {
    const auto set = makeSet(1);
    // Room for the diskette area, not for the image built from it.
    platform::MediumOptions tight = medium("c", "SYSTEM");
    tight.faults.capacity = bytesBelow(set.disk(1)) + 1;
    drives.insert('c', tight);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    newBoxes();
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::totalDisks, 1);  // the diskette itself was read
    const auto boxes = newBoxes();
    ASSERT_FALSE(boxes.empty());
    for (const auto& box : boxes)
        EXPECT_EQ(box.title, "Error!");
    expectBackAtTheFloppyStep();
    EXPECT_FALSE(win().progressBar().visible());
}

TEST_F(FlowTest, FailedDescriptorDoesNotOfferTheCard) {
    const auto set = makeSet(1);
    // A first run measures what reading and rebuilding write to c:.
    const uint64_t roomy = 1ull << 40;
    platform::MediumOptions measured = medium("c", "SYSTEM");
    measured.faults.capacity = roomy;
    drives.insert('c', measured);
    readWholeSet(set);
    const uint64_t written = drives.medium('c')->written();
    ASSERT_GT(written, 0u);
    TearDown();
    SetUp();

    // The same run again, one byte short: the descriptor is the last thing written.
    platform::MediumOptions tight = medium("c", "SYSTEM");
    tight.faults.capacity = written - 1;
    drives.insert('c', tight);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    newBoxes();
    ASSERT_TRUE(ok());
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Failed writing: C:\\Temp\\VELT_flat\\archive.dat", 0), 0u)
        << boxes[0].text;
    expectBackAtTheFloppyStep();
}

TEST_F(FlowTest, UnreportedFailureAfterTheLastDisketteReturnsToTheFloppyStep) {
    // The checksums cannot open the diskette area's files: a device fault that no step reports.
    const auto set = makeSet(1);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    drives.medium('c')->failNth(platform::OpKind::open, 1, true);
    newBoxes();
    ASSERT_TRUE(ok());
    EXPECT_EQ(app::totalDisks, 1);  // the diskette itself was read
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_NE(boxes[0].text.find("(error 57)"), std::string::npos) << boxes[0].text;
    expectBackAtTheFloppyStep();
}

TEST_F(FlowTest, TooManyDiskettesEndsTheProgramAtTheBoundary) {
    const auto set = makeSet(1);
    ASSERT_NO_FATAL_FAILURE(insertFirstDisk(set));
    app::wizardStep = app::Step::nextDiskette;
    app::currentDisk = 100;
    EXPECT_FALSE(ok());
    EXPECT_TRUE(wizard::ended());
    EXPECT_TRUE(win().quitCalled());
    EXPECT_FALSE(ok());
}

// Whole sets onto the card: its \backup\single\ compared byte for byte.
TEST_F(FlowTest, TwelveDiskettesWithAFileSpreadOverTheLastThreeBecomeOne) {
    SetPlan l;
    l.disks = 12;
    l.files = {wholeFile("keycode.rec", "abc")};
    for (int d = 2; d <= 9; ++d)
        l.files.push_back(
            wholeFile("db/t" + std::to_string(d) + ".dat", "table " + std::to_string(d), d));
    l.files.push_back(
        spreadFile("db/log.dat", "first piece|second|third", {{10, 12}, {11, 7}, {12, 5}}));
    ASSERT_NO_FATAL_FAILURE(convert(l));

    const Tree card = single();
    EXPECT_EQ(card.at("db/log.dat"), "first piece|second|third");
    EXPECT_EQ(card.at("db/t9.dat"), "table 9");
    std::string expected = "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nFILE: 1 0 1 294 /keycode.rec std\n";
    for (int d = 2; d <= 9; ++d)
        expected += "FILE: 1 0 1 " + sumText("table " + std::to_string(d)) + " /db/t" +
                    std::to_string(d) + ".dat std\n";
    expected += "FILE: 1 0 1 " + sumText("first piece|second|third") + " /db/log.dat std\n";
    EXPECT_EQ(card.at("archive.dat"), expected);
    // Only diskette 1's volume file travels; nothing else lies beside the database.
    EXPECT_EQ(card.size(), 13u);  // archive.dat, db/, 8 tables, log.dat, disk0001.dat, keycode.rec
    EXPECT_EQ(card.count("disk0010.dat"), 0u);
}

TEST_F(FlowTest, AKeycodeKcdTravelsUnderItsOwnName) {
    SetPlan l;
    l.keycodeAsKcd = true;
    l.files = {wholeFile("keycode.rec", "kcd bytes"), wholeFile("x.dat", "x")};
    ASSERT_NO_FATAL_FAILURE(convert(l));

    const Tree card = single();
    EXPECT_EQ(card.at("keycode.kcd"), "kcd bytes");
    EXPECT_EQ(card.count("keycode.rec"), 0u);
    EXPECT_NE(card.at("archive.dat").find(" /keycode.rec std\n"), std::string::npos);
}

TEST_F(FlowTest, NestedFoldersAndACrLfDescriptor) {
    SetPlan l;
    l.disks = 2;
    l.lineEnd = "\r\n";
    l.headerLines = {"SITE: 7"};
    l.files = {wholeFile("keycode.rec", "abc"),
               spreadFile("a/b/c/deep.dat", "deep", {{1, 3}, {2, 1}}),
               wholeFile("a/flat.dat", "flat", 2)};
    ASSERT_NO_FATAL_FAILURE(convert(l));

    EXPECT_EQ(single(), (Tree{{"archive.dat",
                               "ARCHIVE-ID-LABEL:812\nNUMDISKS: 1\nSITE: 7\n"
                               "FILE: 1 0 1 294 /keycode.rec std\n"
                               "FILE: 1 0 1 " +
                                   sumText("deep") +
                                   " /a/b/c/deep.dat std\n"
                                   "FILE: 1 0 1 " +
                                   sumText("flat") + " /a/flat.dat std\n"},
                              {"a/", ""},
                              {"a/b/", ""},
                              {"a/b/c/", ""},
                              {"a/b/c/deep.dat", "deep"},
                              {"a/flat.dat", "flat"},
                              {"disk0001.dat", "ARCHIVE-ID-LABEL:812\r\n"},
                              {"keycode.rec", "abc"}}));
}

}  // namespace
}  // namespace wizardtest
