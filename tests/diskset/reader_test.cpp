// Whole diskette reads: sets of one, two, ten and twelve diskettes built on host folders and
// put into the folder drive A:, every rejection with its exact report, and the diskette areas
// the reads leave in C:\Temp.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diskset/diskset_support.h"
#include "diskset/reader.h"
#include "fs/file_system.h"
#include "platform/error.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/messages.h"
#include "wizard/wizard.h"

namespace {

using disksettest::treeOf;
using R = diskset::DisketteRead;
using testsupport::spreadFile;
using testsupport::wholeFile;

class ReaderTest : public disksettest::DisksetTest {
  protected:
    // Reads diskette n as the wizard asks for it, from the drive chosen in the list.
    R read(int n) {
        app::currentDisk = static_cast<int16_t>(n);
        return wizard::readDiskette(static_cast<int16_t>(n), listLetter());
    }
    // The letter of the drive list's drive; "" for none.
    std::string listLetter() const {
        try {
            fs::FileSystemObject fso;
            return fso.GetDrive(fso.GetDriveName(window->driveList().drive())).DriveLetter();
        } catch (const platform::Error&) {
            return "";
        }
    }
    void build(const testsupport::SetPlan& plan) {
        set = testsupport::buildSet(scratch.path() / "set", plan);
    }
    void insert(int n, std::vector<std::string> bad = {}) {
        insertDiskette(set.disk(n), std::move(bad));
    }
    // Index of the first recorded event holding `text`, or -1.
    long eventIndex(const std::string& text) const {
        const auto& events = window->record();
        for (size_t k = 0; k < events.size(); ++k) {
            if (events[k].find(text) != std::string::npos)
                return static_cast<long>(k);
        }
        return -1;
    }
    // The one box shown: the text, and the "Error!" style.
    std::string onlyBox() const {
        EXPECT_EQ(boxes().size(), 1u);
        if (boxes().size() != 1)
            return "";
        EXPECT_EQ(boxes()[0].title, "Error!");
        EXPECT_EQ(boxes()[0].icon, ui::Icon::critical);
        EXPECT_EQ(boxes()[0].buttons, ui::Buttons::ok);
        return boxes()[0].text;
    }

    static testsupport::SetPlan exampleSet() {
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.files = {wholeFile("keycode.rec", "abc"),
                      spreadFile("db/data.dat", "abcd", {{1, 3}, {2, 1}})};
        return plan;
    }

    testsupport::BuiltSet set;
};

TEST_F(ReaderTest, OneDisketteSet) {
    testsupport::SetPlan plan;
    plan.archiveId = "00000000000000004711";
    plan.files = {wholeFile("keycode.rec", "abc"), wholeFile("db/a/x.dat", "12345"),
                  wholeFile("db/y.dat", "y")};
    build(plan);
    insert(1);
    app::keycodeRecFound = true;  // left from an earlier set
    EXPECT_EQ(read(1), R::last);

    EXPECT_EQ(app::archiveId, 4711);
    EXPECT_EQ(app::totalDisks, 1);
    EXPECT_EQ(app::fileCount, 3);
    EXPECT_FALSE(app::keycodeRecFound);
    EXPECT_EQ(app::diskEntryCount, 7);  // 2 set files, keycode, db, db/a, x, y
    const std::string summary = "\r\nArchive ID = 4711\r\nTotal diskettes num = 1";
    EXPECT_EQ(app::errorText, summary);
    EXPECT_EQ(window->summaryLabel().caption(), summary);
    EXPECT_EQ(logs(), std::vector<std::string>{summary});
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(window->progressBar().max(), 100);
    EXPECT_EQ(window->progressBar().value(), 14 * 5);  // five files copied, 100 / 7 each

    EXPECT_EQ(treeOf(area(1)),
              (std::vector<std::string>{"archive.dat", "db/", "db/a/", "db/a/x.dat", "db/y.dat",
                                        "disk0001.dat", "keycode.rec"}));
    EXPECT_EQ(testsupport::readFile(area(1) / "db" / "a" / "x.dat"), "12345");
    EXPECT_TRUE(std::filesystem::is_directory(flat()));
    EXPECT_TRUE(treeOf(flat()).empty());
}

TEST_F(ReaderTest, TwoDisketteSet) {
    build(exampleSet());
    insert(1);
    EXPECT_EQ(read(1), R::more);
    insert(2);
    EXPECT_EQ(read(2), R::last);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(logs().size(), 1u);  // only the summary of diskette 1
    EXPECT_EQ(window->progressBar().max(), 200);
    EXPECT_EQ(treeOf(area(1)), (std::vector<std::string>{"archive.dat", "db/", "db/data.dat",
                                                         "disk0001.dat", "keycode.rec"}));
    EXPECT_EQ(treeOf(area(2)), (std::vector<std::string>{"db/", "db/data.dat"}));
    EXPECT_EQ(testsupport::readFile(area(2) / "db" / "data.dat"), "d");
    EXPECT_EQ(testsupport::readFile(set.disk(2) / "disk0002.dat"), "ARCHIVE-ID-LABEL:812\n");
}

TEST_F(ReaderTest, TwelveDisketteSet) {
    testsupport::SetPlan plan;
    plan.disks = 12;
    plan.lineEnd = "\r\n";
    const std::string big = testsupport::noise(30000, 5);
    plan.files = {wholeFile("keycode.rec", "abc"),
                  spreadFile("db/big.dat", big, {{9, 7000}, {10, 8000}, {11, 9000}, {12, 6000}})};
    for (int n = 1; n <= 8; ++n)
        plan.files.push_back(wholeFile("db/f" + std::to_string(n) + ".dat", "n", n));
    build(plan);
    insert(9);
    EXPECT_EQ(read(10), R::refused);  // disk0009.dat does not stand for diskette 10
    ASSERT_EQ(boxes().size(), 1u);
    freshWindow();
    for (int n = 1; n <= 12; ++n) {
        insert(n);
        EXPECT_EQ(read(n), n == 12 ? R::last : R::more) << "diskette " << n;
        EXPECT_EQ(treeOf(area(n)).size(), n == 1 ? 5u : 2u) << "diskette " << n;
    }
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(app::fileCount, 13);
    EXPECT_EQ(app::fileTable(13).disk, 12);
    EXPECT_EQ(app::fileTable(13).extraText, "std\r");
    EXPECT_EQ(window->progressBar().max(), 1200);
    EXPECT_TRUE(std::filesystem::exists(area(9) / "db" / "big.dat"));
    EXPECT_TRUE(std::filesystem::exists(area(10) / "db" / "big.dat"));
    EXPECT_FALSE(std::filesystem::exists(area(10) / "disk0010.dat"));
    EXPECT_FALSE(std::filesystem::exists(area(12) / "disk0012.dat"));
    EXPECT_EQ(std::filesystem::file_size(area(12) / "db" / "big.dat"), 6000u);
    EXPECT_EQ(treeOf(area(9)), (std::vector<std::string>{"db/", "db/big.dat"}));
}

TEST_F(ReaderTest, DisketteOutOfOrderIsRefusedBeforeAnythingIsTouched) {
    testsupport::SetPlan plan = exampleSet();
    plan.disks = 3;
    build(plan);
    insert(2);
    EXPECT_EQ(read(3), R::refused);
    const std::string text = "Wrong diskette!\r\nInsert diskette #3";
    EXPECT_EQ(onlyBox(), text);
    EXPECT_EQ(app::errorText, text);
    EXPECT_EQ(logs(), (std::vector<std::string>{
                          "ERROR " + text, "Please insert diskette #3 and press the OK button"}));
    EXPECT_EQ(statuses(),
              std::vector<std::string>{"Please insert diskette #3 and press the OK button"});
    EXPECT_LT(eventIndex("status: "), eventIndex("msgbox: "));  // asked again before the box
    EXPECT_FALSE(std::filesystem::exists(area(3)));
    EXPECT_FALSE(std::filesystem::exists(area(2)));

    // The same diskette twice, and no diskette at all, are refused the same way.
    drives.eject('A');
    EXPECT_EQ(read(1), R::refused);
    EXPECT_EQ(boxes().back().text, "Wrong diskette!\r\nInsert diskette #1");
    EXPECT_FALSE(std::filesystem::exists(flat()));
}

TEST_F(ReaderTest, MissingDescriptor) {
    build(exampleSet());
    std::filesystem::remove(set.disk(1) / "archive.dat");
    insert(1);
    EXPECT_EQ(read(1), R::refused);
    const std::string text = "A:\\archive.dat File not found\r\nInsert diskette #1";
    EXPECT_EQ(onlyBox(), text);
    EXPECT_EQ(logs(), (std::vector<std::string>{
                          "ERROR " + text, "Please insert diskette #1 and press the OK button"}));
    EXPECT_LT(eventIndex("status: "), eventIndex("msgbox: "));
    EXPECT_TRUE(std::filesystem::is_directory(area(1)));
    EXPECT_TRUE(treeOf(area(1)).empty());
    EXPECT_TRUE(std::filesystem::is_directory(flat()));
    EXPECT_TRUE(treeOf(flat()).empty());
}

TEST_F(ReaderTest, UnusableDescriptorIsAWrongDiskette) {
    const std::vector<std::string> descriptors = {
        "ARCHIVE-ID-LABEL:812\nNUMDISKS: 2\n",                             // no entries
        "ARCHIVE-ID-LABEL:812\nNUMDISKS: 2\nFILE: 1 0 1 294 /../x std\n",  // climbs out
        "ARCHIVE-ID-LABEL:812\nNUMDISKS: 0\nFILE: 1 0 1 294 /x std\n",
        "",  // empty
        std::string(10001, 'x'),
    };
    build(exampleSet());
    insert(1);
    for (const std::string& d : descriptors) {
        testsupport::writeFile(set.disk(1) / "archive.dat", d);
        freshWindow();
        EXPECT_EQ(read(1), R::refused) << d;
        EXPECT_EQ(onlyBox(), "Wrong diskette!\r\nInsert diskette #1") << d;
        EXPECT_EQ(logs().front(), "ERROR Wrong diskette!\r\nInsert diskette #1");
        EXPECT_EQ(statuses().back(), "Please insert diskette #1 and press the OK button");
        EXPECT_TRUE(treeOf(area(1)).empty());
    }
    // A damaged sector in the descriptor is that, not a wrong diskette.
    testsupport::writeFile(set.disk(1) / "archive.dat", set.descriptor);
    insert(1, {"archive.dat"});
    EXPECT_EQ(read(1), R::unreadable);
    EXPECT_EQ(boxes().back().text,
              "Cannot read A:\\archive.dat\r\nSome of its sectors on the diskette could not be "
              "read.\r\nClean the drive's head, or try another drive or another copy of diskette "
              "#1;\r\nwhat was read is kept, and only the missing sectors are read again.");
    EXPECT_EQ(statuses().back(), "Please insert diskette #1 and press the OK button");
}

TEST_F(ReaderTest, DisketteOfAnotherSet) {
    testsupport::SetPlan plan = exampleSet();
    plan.volumeIds = {{2, "999"}};
    build(plan);
    insert(1);
    ASSERT_EQ(read(1), R::more);
    app::wizardStep = app::Step::nextDiskette;
    insert(2);
    EXPECT_EQ(read(2), R::otherSet);
    EXPECT_EQ(app::wizardStep, app::Step::floppyDrive);
    const std::string text = "\r\nWrong Archive ID at diskette #2\r\nExpected 812 found 999";
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(onlyBox(), text);
    EXPECT_EQ(app::errorText, text);
    ASSERT_EQ(logs().size(), 3u);
    EXPECT_EQ(logs()[1], "ERROR " + text);
    // The next OK starts the set again, and the status says so after the box.
    EXPECT_EQ(logs()[2], "Please press the OK button\r\nto read the set again from diskette #1");
    EXPECT_GT(eventIndex("status: "), eventIndex("msgbox: "));
    EXPECT_TRUE(treeOf(area(2)).empty());
}

// The volume file's Archive ID is compared as a number; a first line without an end is read
// only as far as an ID reaches, and what a report shows of it is bounded and says it is cut.
TEST_F(ReaderTest, ArchiveIdIsComparedAsANumber) {
    const std::string longest = std::string(32764, '0') + "812";  // the longest ID compared
    const std::string huge = "812" + std::string(size_t{1} << 20, '9');
    const struct {
        std::string volume;                // the volume file
        std::optional<std::string> found;  // as the report shows it; none: accepted
    } cases[] = {
        {"ARCHIVE-ID-LABEL:00812\r\nmore\n", std::nullopt},
        {"xxxxxxxxxxxxxxxxx812\r\nmore\n", std::nullopt},
        {"ARCHIVE-ID-LABEL:812 \r\nmore\n", "812 "},
        {"ARCHIVE-ID-LABEL:8l2\r\nmore\n", "8l2"},
        {"ARCHIVE-ID-LABEL:-812\r\nmore\n", "-812"},
        {"ARCHIVE-ID-LABEL:\r\nmore\n", ""},
        {"SHORT\r\nmore\n", ""},
        {"ARCHIVE-ID-LABEL:813\r\nmore\n", "813"},
        {"ARCHIVE-ID-LABEL:" + longest, std::nullopt},
        {"ARCHIVE-ID-LABEL:0" + longest, ("0" + longest).substr(0, 100) + "..."},
        {"ARCHIVE-ID-LABEL:" + huge, huge.substr(0, 100) + "..."},
    };
    build(exampleSet());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume.substr(0, 30) + " (" + std::to_string(c.volume.size()) + " bytes)");
        testsupport::writeFile(set.disk(1) / "disk0001.dat", c.volume);
        freshWindow();
        insert(1);
        EXPECT_EQ(read(1), c.found ? R::otherSet : R::more);
        if (!c.found) {
            EXPECT_TRUE(boxes().empty());
            continue;
        }
        EXPECT_EQ(onlyBox(),
                  "\r\nWrong Archive ID at diskette #1\r\nExpected 812 found " + *c.found);
        for (const std::string& line : logs())
            EXPECT_LT(line.size(), 200u);
    }
}

// A link on a diskette may point anywhere on the host: it is read as no entry at all.
TEST_F(ReaderTest, LinkedEntriesAreAbsent) {
    struct Case {
        std::string linked;
        R result;
        std::string box;  // "" for none
    };
    const std::vector<Case> cases = {
        {"archive.dat", R::refused, "A:\\archive.dat File not found\r\nInsert diskette #1"},
        {"disk0001.dat", R::refused, "Wrong diskette!\r\nInsert diskette #1"},
        {"db/data.dat", R::more, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(scratch.path() / "set");
        build(exampleSet());
        const auto entry = set.disk(1) / c.linked;
        testsupport::writeFile(scratch.path() / "host" / c.linked, testsupport::readFile(entry));
        std::filesystem::remove(entry);
        std::filesystem::create_symlink(scratch.path() / "host" / c.linked, entry);
        freshWindow();
        insert(1);
        EXPECT_EQ(read(1), c.result) << c.linked;
        if (c.box.empty())
            EXPECT_TRUE(boxes().empty()) << c.linked;
        else
            EXPECT_EQ(onlyBox(), c.box);
        EXPECT_FALSE(std::filesystem::exists(area(1) / c.linked)) << c.linked;
    }
}

TEST_F(ReaderTest, UnreadableVolumeFile) {
    build(exampleSet());
    insert(1);
    ASSERT_EQ(read(1), R::more);
    testsupport::writeFile(set.disk(2) / "disk0002.dat", "");
    insert(2);
    EXPECT_EQ(read(2), R::refused);
    EXPECT_EQ(onlyBox(), "Failed to open A:\\disk0002.dat");
    EXPECT_EQ(logs()[logs().size() - 2], "Failed to open A:\\disk0002.dat");  // no prefix
    // The status no longer says "Please wait...": the next OK reads diskette 2 again.
    EXPECT_EQ(statuses(),
              std::vector<std::string>{"Please insert diskette #2 and press the OK button"});
    EXPECT_FALSE(std::filesystem::exists(area(2)));

    // A volume file whose sectors do not read is that, named, with what to do.
    testsupport::writeFile(set.disk(2) / "disk0002.dat", "ARCHIVE-ID-LABEL:812\n");
    insert(2, {"disk0002.dat"});
    EXPECT_EQ(read(2), R::unreadable);
    EXPECT_EQ(boxes().back().text.rfind("Cannot read A:\\disk0002.dat\r\n", 0), 0u);
    EXPECT_NE(boxes().back().text.find("another copy of diskette #2;"), std::string::npos);
}

TEST_F(ReaderTest, DamagedFileOnTheDisketteFailsTheCopy) {
    build(exampleSet());
    insert(1, {"db\\data.dat"});
    EXPECT_EQ(read(1), R::copyFailed);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Error!");
    EXPECT_NE(boxes()[0].text.find("A:\\db\\data.dat"), std::string::npos);
    EXPECT_EQ(app::errorText, boxes()[0].text);
    EXPECT_EQ(window->summaryLabel().caption(), "");  // no summary
}

TEST_F(ReaderTest, AreasThatCannotBeCreated) {
    build(exampleSet());
    insert(1);
    // Something that is not a folder stands where the flat area goes.
    testsupport::writeFile(flat(), "in the way");
    EXPECT_EQ(read(1), R::refused);
    const std::string text =
        "Failed to create directory: C:\\Temp\\VELT_flat\r\n"
        "Ensure there is enough free space available on drive A:\\";
    EXPECT_EQ(onlyBox(), text);
    EXPECT_EQ(logs().front(), text);  // no prefix
    // The status says what the next OK does, after the box.
    EXPECT_EQ(statuses(),
              std::vector<std::string>{"Please insert diskette #1 and press the OK button"});
    EXPECT_GT(eventIndex("status: "), eventIndex("msgbox: "));
    std::filesystem::remove(flat());

    // A write-protected system drive; and with no drive selected the letter is left out.
    platform::MediumOptions system;
    system.root = scratch.path() / "c";
    system.faults.readonly = true;
    drives.insert('C', system);
    std::filesystem::remove_all(area(1));
    window = std::make_unique<ui::RecordingWindow>();
    ui::installWindow(window.get());
    EXPECT_EQ(read(1), R::refused);
    EXPECT_EQ(onlyBox(),
              "Failed to create directory: C:\\Temp\\VELT_disk1\r\n"
              "Ensure there is enough free space available on drive :\\");
}

TEST_F(ReaderTest, ReadingAgainStartsFromAnEmptyArea) {
    build(exampleSet());
    testsupport::writeFile(area(1) / "old" / "stale.dat", "stale");
    testsupport::writeFile(flat() / "stale.dat", "stale");
    testsupport::writeFile(area(2) / "stale.dat", "stale");
    insert(1);
    ASSERT_EQ(read(1), R::more);
    EXPECT_FALSE(std::filesystem::exists(area(1) / "old"));
    EXPECT_TRUE(treeOf(flat()).empty());
    EXPECT_TRUE(std::filesystem::exists(area(2) / "stale.dat"));  // until diskette 2 is read
    insert(2);
    ASSERT_EQ(read(2), R::last);
    EXPECT_FALSE(std::filesystem::exists(area(2) / "stale.dat"));

    // Diskette 1 of another set replaces the descriptor's state.
    testsupport::SetPlan other;
    other.archiveId = "5";
    other.disks = 3;
    other.files = {wholeFile("keycode.rec", "k")};
    set = testsupport::buildSet(scratch.path() / "other", other);
    insert(1);
    EXPECT_EQ(read(1), R::more);
    EXPECT_EQ(app::archiveId, 5);
    EXPECT_EQ(app::totalDisks, 3);
    EXPECT_EQ(app::fileCount, 1);
    EXPECT_EQ(window->summaryLabel().caption(), "\r\nArchive ID = 5\r\nTotal diskettes num = 3");
}

// The reader's two steps on their own: the first learns the set and copies nothing, so that
// the bar's range can be set before the copy moves it; neither touches a control or the step.
TEST_F(ReaderTest, TheStepsReportOnlyAndOpenCopiesNothing) {
    struct Case {
        const char* name;
        void (*spoil)(const std::filesystem::path& disk1);
        std::optional<R> opened;  // what open() gives
        R copied;                 // what copy() gives after a nullopt
    } cases[] = {
        {"good", [](const std::filesystem::path&) {}, std::nullopt, R::more},
        {"no descriptor",
         [](const std::filesystem::path& d) { std::filesystem::remove(d / "archive.dat"); },
         R::refused, R::refused},
        {"another set",
         [](const std::filesystem::path& d) {
             testsupport::writeFile(d / "disk0001.dat", "ARCHIVE-ID-LABEL:813\n");
         },
         std::nullopt, R::otherSet},
        {"no volume file",
         [](const std::filesystem::path& d) { std::filesystem::remove(d / "disk0001.dat"); },
         R::refused, R::refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(scratch.path() / "set");
        std::filesystem::remove_all(area(1));
        std::filesystem::remove_all(flat());
        build(exampleSet());
        c.spoil(set.disk(1));
        insert(1);
        window->progressBar().setMax(700);
        window->summaryLabel().setCaption("before");
        app::wizardStep = app::Step::firstDiskette;
        app::totalDisks = 9;
        app::currentDisk = 1;

        diskset::DisketteReader reader(1, "A");
        const std::optional<R> opened = reader.open();
        EXPECT_EQ(opened, c.opened);
        if (!opened) {
            EXPECT_EQ(app::totalDisks, 2);
            EXPECT_TRUE(std::filesystem::is_directory(area(1)));
            EXPECT_TRUE(treeOf(area(1)).empty());
            EXPECT_EQ(reader.copy(), c.copied);
            EXPECT_EQ(!treeOf(area(1)).empty(), c.copied == R::more);
        }
        EXPECT_EQ(window->progressBar().max(), 700);
        EXPECT_EQ(window->summaryLabel().caption(), "before");
        EXPECT_EQ(app::wizardStep, app::Step::firstDiskette);
    }
}

TEST_F(ReaderTest, DisketteOneHundredEndsTheProgram) {
    build(exampleSet());
    insert(1);
    EXPECT_THROW(read(100), ui::ProgramEnded);
    EXPECT_EQ(onlyBox(), "Too many diskettes!\r\n");
    EXPECT_EQ(logs(), std::vector<std::string>{"ERROR Too many diskettes!\r\n"});
    EXPECT_EQ(app::errorText, "Too many diskettes!\r\n");
    EXPECT_FALSE(std::filesystem::exists(area(100)));
    EXPECT_THROW(read(32767), ui::ProgramEnded);
}

}  // namespace
