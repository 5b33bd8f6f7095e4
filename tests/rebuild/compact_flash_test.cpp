// writeCompactFlash: the flat area written into \backup\single\ on the card in E:.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/context.h"
#include "platform/state_folder.h"
#include "rebuild/card_states.h"
#include "rebuild/card_writer.h"
#include "rebuild/kept_copies.h"
#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"
#include "support/fat12_image.h"
#include "wizard/wizard.h"

namespace rebuildtest {
namespace {

using testsupport::readFile;
using testsupport::writeFile;
using Tree = std::map<std::string, std::string>;

const std::string selected = "Compact Flash drive E: was selected ";
const std::string copyLine = "Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\";
const std::string verifiedLine = "Verified E:\\backup\\single\\";
const std::string keptLine = "Kept the previous database in E:\\backup\\single\\";
const std::string restoredLine = "Restored the previous database in E:\\backup\\single\\";
const std::string removedReplaced =
    "Removed the previous database in E:\\backup\\single~velt-replaced\\";

class CompactFlashTest : public RebuildTest {
  public:
    // For the cases that plant what a card holds.
    using RebuildTest::card;
    using RebuildTest::cardMedium;
    using RebuildTest::flat;
    using RebuildTest::insertCard;

    void SetUp() override {
        RebuildTest::SetUp();
        writeFile(flat() / "archive.dat", "VELT ARCHIVE ID: 812\nNUMDISKS: 1\n");
        writeFile(flat() / "disk0001.dat", "VELT VOLUME ID:  812\n");
        writeFile(flat() / "keycode.rec", "abc");
        writeFile(flat() / "db" / "data.dat", "abcd");
        writeFile(flat() / "db" / "sub" / "deep.dat", std::string(5000, 'q'));
        app::fileCount = 3;
    }

    Tree single() const { return treeOf(card() / "backup" / "single"); }

    void plantOldDatabase() {
        writeFile(card() / "backup" / "single" / "old-only.dat", "old");
        writeFile(card() / "backup" / "single" / "db" / "data.dat", "stale");
        writeFile(card() / "backup" / "other.txt", "other");
    }
};

TEST_F(CompactFlashTest, FreshCardGetsBothFoldersAndTheWholeFlatArea) {
    EXPECT_EQ(wizard::writeCompactFlash(), 1);

    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_TRUE(window->messageBoxes().empty());
    EXPECT_EQ(window->logs().front(), selected);
    EXPECT_EQ(window->statuses(),
              std::vector<std::string>{"Please wait...\r\nWriting on the Compact Flash"});
    EXPECT_EQ(window->logs().back(), verifiedLine);
    EXPECT_EQ(window->logs()[window->logs().size() - 2], copyLine);
    EXPECT_FALSE(window->progressBar().visible());
}

TEST_F(CompactFlashTest, OtherContentOfTheBackupFolderStays) {
    writeFile(card() / "backup" / "other.txt", "other");
    writeFile(card() / "backup" / "keep" / "x", "x");

    EXPECT_EQ(wizard::writeCompactFlash(), 1);

    EXPECT_TRUE(window->messageBoxes().empty());
    EXPECT_EQ(readFile(card() / "backup" / "other.txt"), "other");
    EXPECT_EQ(readFile(card() / "backup" / "keep" / "x"), "x");
    EXPECT_EQ(single(), treeOf(flat()));
}

TEST_F(CompactFlashTest, DecliningToReplaceLeavesTheCardAsItWas) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    window->queueAnswer(ui::Answer::no);

    EXPECT_EQ(wizard::writeCompactFlash(), -1);

    EXPECT_EQ(treeOf(card()), before);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    const auto& box = window->messageBoxes()[0];
    EXPECT_EQ(box.text, "Directory E:\\backup\\single\\ already exists\r\nReplace old database?");
    EXPECT_EQ(box.title, "Replace");
    EXPECT_EQ(box.icon, ui::Icon::question);
    EXPECT_EQ(box.buttons, ui::Buttons::yesNo);
    EXPECT_EQ(window->logs(), std::vector<std::string>{selected});
    EXPECT_TRUE(window->statuses().empty());
}

TEST_F(CompactFlashTest, ReplacingRemovesTheOldDatabaseCompletely) {
    plantOldDatabase();
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(wizard::writeCompactFlash(), 1);

    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_EQ(readFile(card() / "backup" / "other.txt"), "other");
    EXPECT_EQ(window->logs(),
              (std::vector<std::string>{selected, "Remove E:\\backup\\single\\",
                                        "Please wait...\r\nWriting on the Compact Flash", copyLine,
                                        verifiedLine, removedReplaced}));
    // No folder of passage is left: not the new, verified, replaced or deleting one.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(card() / "backup"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"other.txt", "single"}));
}

TEST_F(CompactFlashTest, SameCardAgainAsksAgain) {
    EXPECT_EQ(wizard::writeCompactFlash(), 1);
    window->queueAnswer(ui::Answer::yes);
    EXPECT_EQ(wizard::writeCompactFlash(), 1);

    EXPECT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(single(), treeOf(flat()));
}

// The bar starts at zero and moves a step per copied file; an empty table copies everything
// all the same, without moving it.
TEST_F(CompactFlashTest, BarStartsAtZeroAndMovesPerCopiedFile) {
    const struct {
        int16_t files;
        float before, after;
    } cases[] = {{20, 70, 25}, {0, 40, 0}};  // 20: step 5, five files
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files);
        std::filesystem::remove_all(card() / "backup");
        app::fileCount = c.files;
        window->progressBar().setValue(c.before);

        EXPECT_EQ(wizard::writeCompactFlash(), 1);

        EXPECT_EQ(single(), treeOf(flat()));
        EXPECT_FLOAT_EQ(window->progressBar().value(), c.after);
    }
}

// A write-protected card fails at the first folder written, and is left as it was: the old
// database is never touched before the new one is verified.
TEST_F(CompactFlashTest, WriteProtectedCardIsLeftAsItWas) {
    const struct {
        const char* what;
        void (*plant)(CompactFlashTest&);
        bool old;            // a database to replace: the question is answered Yes
        const char* folder;  // the folder it fails at
    } cases[] = {
        {"no backup folder", [](CompactFlashTest&) {}, false, "E:\\backup\\"},
        {"the backup folder only",
         [](CompactFlashTest& t) { writeFile(t.card() / "backup" / "other.txt", "other"); }, false,
         "E:\\backup\\single\\"},
        {"an old database", [](CompactFlashTest& t) { t.plantOldDatabase(); }, true,
         "E:\\backup\\single\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(card());
        std::filesystem::create_directories(card());
        c.plant(*this);
        const Tree before = treeOf(card());
        insertCard(readonly(cardMedium()));
        if (c.old)
            window->queueAnswer(ui::Answer::yes);
        const size_t boxes = window->messageBoxes().size();

        EXPECT_EQ(wizard::writeCompactFlash(), -1);

        const std::string message =
            "Failed to create directory: " + std::string(c.folder) +
            "\r\nEnsure there is enough free space on Compact Flash drive E:";
        EXPECT_EQ(app::errorText, message);
        ASSERT_EQ(window->messageBoxes().size(), boxes + (c.old ? 2 : 1));
        EXPECT_EQ(window->messageBoxes().back().text, message);
        EXPECT_EQ(window->messageBoxes().back().title, "Error!");
        EXPECT_EQ(window->messageBoxes().back().icon, ui::Icon::critical);
        EXPECT_EQ(window->logs().back(), c.old ? keptLine : message);
        EXPECT_EQ(treeOf(card()), before);
    }
}

TEST_F(CompactFlashTest, FullCardLeavesNoHalfWrittenSingleFolder) {
    // Room for the small files but not for db\sub\deep.dat.
    insertCard(withCapacity(cardMedium(), 1000));

    EXPECT_EQ(wizard::writeCompactFlash(), -1);

    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text,
              "Can not copy file C:\\Temp\\VELT_flat\\db\\sub\\deep.dat to "
              "E:\\backup\\single\\db\\sub\\deep.dat\r\n"
              "Ensure that the floppy disk is readable and that \r\n"
              "there is enough free space available on drive E:\\");
    EXPECT_TRUE(window->progressBar().visible());
    EXPECT_EQ(treeOf(card()), (Tree{{"backup/", ""}}));
}

// A replacement that fails at any point after the Yes leaves the previous database as it was.
TEST_F(CompactFlashTest, FailedReplacementKeepsThePreviousDatabase) {
    struct Case {
        const char* name;
        platform::MediumOptions (*card)(platform::MediumOptions);
        const char* report;  // the start of the first report
    } cases[] = {
        {"full", [](platform::MediumOptions m) { return withCapacity(std::move(m), 1000); },
         "Can not copy file"},
        {"does not keep",
         [](platform::MediumOptions m) {
             m.faults.corrupt = {"backup\\single\\db\\sub\\deep.dat"};
             return m;
         },
         "Verification failed: E:\\backup\\single\\db\\sub\\deep.dat\r\n"
         "The Compact Flash card does not keep what is written to it. Use another card."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(card() / "backup");
        plantOldDatabase();
        const Tree before = treeOf(card());
        insertCard(c.card(cardMedium()));
        const size_t boxes = window->messageBoxes().size();
        window->queueAnswer(ui::Answer::yes);

        EXPECT_EQ(wizard::writeCompactFlash(), -1);

        EXPECT_EQ(treeOf(card()), before);
        // The question, then the report.
        ASSERT_GT(window->messageBoxes().size(), boxes + 1);
        EXPECT_EQ(window->messageBoxes()[boxes + 1].text.rfind(c.report, 0), 0u)
            << window->messageBoxes()[boxes + 1].text;
        EXPECT_EQ(window->logs().back(), keptLine);
    }
}

// A card too small for both databases loses the old one first, and says so: a verified copy
// is kept in the state folder until the new one is verified.
TEST_F(CompactFlashTest, CardTooSmallForBothReplacesInTheOldOrder) {
    plantOldDatabase();
    platform::MediumOptions tight = cardMedium();
    tight.freeBytes = 100;
    insertCard(tight);
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(wizard::writeCompactFlash(), 1);
    EXPECT_EQ(single(), treeOf(flat()));
    const std::vector<std::string>& logs = window->logs();
    ASSERT_EQ(logs.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(logs.begin(), logs.begin() + 3),
              (std::vector<std::string>{
                  selected, "Remove E:\\backup\\single\\",
                  "Not enough free space on E: to keep the previous database until the new one "
                  "is verified"}));
    const std::string copy = (keptCopies() / "card_").make_preferred().string();
    EXPECT_EQ(logs[3].rfind("Copied the previous database to " + copy, 0), 0u) << logs[3];
    EXPECT_EQ(std::vector<std::string>(logs.begin() + 4, logs.end() - 1),
              (std::vector<std::string>{"Removed the previous database in E:\\backup\\single\\",
                                        "Please wait...\r\nWriting on the Compact Flash", copyLine,
                                        verifiedLine}));
    EXPECT_EQ(logs.back(),
              "Removed the copy of the previous database kept in " +
                  logs[3].substr(std::string("Copied the previous database to ").size()));
    EXPECT_TRUE(std::filesystem::is_empty(keptCopies()));
}

// Each state a cut can leave, made by hand: the card step finishes it before it asks, and asks
// about a whole database only.
TEST_F(CompactFlashTest, AnEarlierWritesStatesAreFinishedBeforeTheQuestion) {
    const Tree oldDb{{"old-only.dat", "old"}};
    const Tree newDb{{"db/", ""}, {"db/data.dat", "new"}};
    // What the finishing logs: the verified new database put in place, an old one put back,
    // and each folder removed.
    const std::string put = "Put the verified database of an earlier write in E:\\backup\\single\\";
    const std::string restored = restoredLine;
    const std::string removedNew = "Removed the unfinished folder E:\\backup\\single~velt-new\\";
    const std::string removedDeleting =
        "Removed the unfinished folder E:\\backup\\single~velt-deleting\\";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, const Tree*>> folders;  // in \backup\ before
        const Tree* after;                                         // \backup\single\ after
        std::vector<std::string> finishing;                        // logged before the question
    } cases[] = {
        {"verified, the single folder gone", {{"single~velt-verified", &newDb}}, &newDb, {put}},
        {"verified beside the old one",
         {{"single", &oldDb}, {"single~velt-verified", &newDb}},
         &newDb,
         {put, removedReplaced}},
        {"verified beside the old one and the one before it",
         {{"single", &oldDb}, {"single~velt-replaced", &oldDb}, {"single~velt-verified", &newDb}},
         &newDb,
         {"Removed the previous database in E:\\backup\\single\\", put, removedReplaced}},
        {"between the renames",
         {{"single~velt-replaced", &oldDb}, {"single~velt-verified", &newDb}},
         &newDb,
         {put, removedReplaced}},
        {"the old one not yet deleted",
         {{"single", &newDb}, {"single~velt-replaced", &oldDb}},
         &newDb,
         {removedReplaced}},
        {"only the replaced one", {{"single~velt-replaced", &oldDb}}, &oldDb, {restored}},
        {"a cut-short write",
         {{"single", &oldDb}, {"single~velt-new", &newDb}},
         &oldDb,
         {removedNew}},
        {"a cut-short deletion",
         {{"single", &newDb}, {"single~velt-deleting", &oldDb}},
         &newDb,
         {removedDeleting}},
        {"nothing whole",
         {{"single~velt-new", &newDb}, {"single~velt-deleting", &oldDb}},
         nullptr,
         {removedDeleting, removedNew}},
    };
    for (const Case& c : cases) {
        for (ui::Answer answer : {ui::Answer::no, ui::Answer::yes}) {
            SCOPED_TRACE(std::string(c.name) + (answer == ui::Answer::no ? ", No" : ", Yes"));
            std::filesystem::remove_all(card());
            writeFile(card() / "backup" / "other.txt", "other");
            for (const auto& [folder, tree] : c.folders) {
                std::filesystem::create_directories(card() / "backup" / folder);
                for (const auto& [rel, bytes] : *tree) {
                    if (rel.back() != '/')
                        writeFile(card() / "backup" / folder / rel, bytes);
                }
            }
            const size_t boxes = window->messageBoxes().size();
            const size_t logs = window->logs().size();
            window->queueAnswer(answer);

            const int16_t r = wizard::writeCompactFlash();

            const bool asked = window->messageBoxes().size() > boxes;
            EXPECT_EQ(asked, c.after != nullptr);
            std::vector<std::string> finishing(window->logs().begin() + static_cast<long>(logs) + 1,
                                               window->logs().end());
            finishing.resize(std::min(finishing.size(), c.finishing.size()));
            EXPECT_EQ(finishing, c.finishing);
            if (answer == ui::Answer::no && asked) {
                EXPECT_EQ(r, -1);
                EXPECT_EQ(single(), *c.after);
            } else {
                EXPECT_EQ(r, 1);
                EXPECT_EQ(single(), treeOf(flat()));
            }
            Tree backup{{"other.txt", "other"}, {"single/", ""}};
            for (const auto& [rel, bytes] : single())
                backup["single/" + rel] = bytes;
            EXPECT_EQ(treeOf(card() / "backup"), backup);
            window->clearAnswers();
        }
    }
}

// The tight card whose new write fails: the old database comes back from the computer.
TEST_F(CompactFlashTest, ATightCardGetsItsOldDatabaseBackWhenTheNewOneFails) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    platform::MediumOptions tight = cardMedium();
    tight.freeBytes = 100;
    tight.faults.corrupt = {"backup\\single\\db\\sub\\deep.dat"};
    insertCard(tight);
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(wizard::writeCompactFlash(), -1);

    EXPECT_EQ(treeOf(card()), before);
    const auto& logs = window->logs();
    ASSERT_GE(logs.size(), 2u);
    EXPECT_EQ(logs[logs.size() - 2], restoredLine);
    EXPECT_EQ(logs.back().rfind("Removed the copy of the previous database kept in ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(keptCopies()));
}

// What a tree takes on a card: each file rounded up to the card's cluster (512 bytes on a
// 1.44 MB image), or its bare length where the drive tells no cluster.
TEST_F(CompactFlashTest, BytesOnCardRoundEachFileUpToTheCluster) {
    writeFile(scratch.path() / "card.img", testsupport::fat12Image(0x2C, {}));
    platform::MediumOptions image;
    image.root = scratch.path() / "card.img";
    insertCard(image);
    // 33 + 21 + 3 + 4 + 5000 bytes in five files.
    EXPECT_EQ(rebuild::bytesOnCard("C:\\Temp\\VELT_flat", "E:\\"), 4 * 512u + 10 * 512u);
    EXPECT_EQ(rebuild::bytesOnCard("C:\\Temp\\VELT_flat", "F:\\"), 5061u);
}

// The computer's copy of a tight card's old database, when the card could take back neither
// database: it outlives every other card's write, the cards with the same label included, and
// goes only when its own card holds a verified database again.
TEST_F(CompactFlashTest, AKeptCopyStaysUntilItsOwnCardIsVerifiedAgain) {
    const auto tightCard = [&](const std::string& serial, const std::string& label,
                               const std::vector<std::string>& corrupt) {
        platform::MediumOptions m = cardMedium();
        m.serial = serial;
        m.label = label;
        m.freeBytes = 100;
        m.faults.corrupt = corrupt;
        insertCard(m);
    };
    const auto copies = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(keptCopies()))
            names.push_back(e.path().filename().string());
        return names;
    };

    // Card A fails both ways: db\data.dat does not read back, in the new database or the old.
    plantOldDatabase();
    const Tree oldA = treeOf(card() / "backup" / "single");
    tightCard("1111-1111", "CF", {"backup\\single\\db\\data.dat"});
    window->queueAnswer(ui::Answer::yes);
    EXPECT_EQ(wizard::writeCompactFlash(), -1);
    ASSERT_EQ(copies().size(), 1u);
    const std::string copyA = copies()[0];
    EXPECT_EQ(copyA.rfind("1111-1111_", 0), 0u) << copyA;
    EXPECT_EQ(treeOf(keptCopies() / copyA), oldA);
    const std::string shownA = (keptCopies() / copyA).make_preferred().string();
    EXPECT_EQ(window->logs().back(), "The previous database is kept in " + shownA);
    EXPECT_EQ(rebuild::keptCopies(), std::vector<std::string>{shownA});

    // Card B, then a card without a serial number under A's label: their writes go well, and
    // each copy of their own goes; A's stays.
    for (const auto& [serial, label] :
         {std::pair<std::string, std::string>{"2222-2222", "CF"}, {"", "CF"}}) {
        SCOPED_TRACE(serial.empty() ? "no serial number" : serial);
        std::filesystem::remove_all(card());
        writeFile(card() / "backup" / "single" / "b.dat", "b");
        tightCard(serial, label, {});
        window->queueAnswer(ui::Answer::yes);
        EXPECT_EQ(wizard::writeCompactFlash(), 1);
        EXPECT_EQ(copies(), std::vector<std::string>{copyA});
        EXPECT_EQ(treeOf(keptCopies() / copyA), oldA);
    }

    // Card A, healthy again, gets a verified database: its copy goes, and the log says so.
    tightCard("1111-1111", "CF", {});
    window->queueAnswer(ui::Answer::yes);
    EXPECT_EQ(wizard::writeCompactFlash(), 1);
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(window->logs().back(), "Removed the copy of the previous database kept in " + shownA);
}

// Without a place on the computer for the old database, a tight card is left as it is.
TEST_F(CompactFlashTest, ATightCardStaysAsItIsWhenTheComputerCannotKeepItsDatabase) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    platform::setStateFolder({});
    platform::MediumOptions tight = cardMedium();
    tight.freeBytes = 100;
    insertCard(tight);
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(wizard::writeCompactFlash(), -1);

    EXPECT_EQ(treeOf(card()), before);
    ASSERT_EQ(window->messageBoxes().size(), 2u);
    EXPECT_EQ(window->messageBoxes()[1].text,
              "The previous database could not be kept on this computer: the system names no "
              "folder for it");
}

// Names a FAT card cannot hold distinctly are refused before the card is touched.
std::filesystem::path utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}
std::string utf8Name(const std::filesystem::path& p) {
    const std::u8string name = p.filename().u8string();
    return std::string(name.begin(), name.end());
}

TEST_F(CompactFlashTest, NamesTheCardCannotHoldAreRefusedFirst) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    const struct {
        const char* name;
        const char* problem;
    } cases[] = {
        {"cfg.", "The name ends in a dot or a blank."},
        {"cfg ", "The name ends in a dot or a blank."},
        {"CON", "The name is a device name."},
        {"lpt3.dat", "The name is a device name."},
        {"a<b", "The name holds a character that the Compact Flash card does not allow."},
        {"x:y.dat", "The name holds a character that the Compact Flash card does not allow."},
        {"\xc3\x89.dat", "for one name."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool twins = std::string(c.name).rfind("\xc3\x89", 0) == 0;
        try {
            writeFile(flat() / "db" / utf8Path(c.name), "x");
            if (twins)
                writeFile(flat() / "db" / utf8Path("\xc3\xa9.dat"), "y");
        } catch (const std::exception&) {
        }
        // A host that cannot hold the name itself (Windows drops a trailing dot, takes CON for
        // its console) leaves this case to the end-to-end scripts, whose names Linux makes.
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(flat() / "db"))
            names.push_back(utf8Name(e.path()));
        if (std::find(names.begin(), names.end(), c.name) == names.end() ||
            names.size() < (twins ? 4u : 3u)) {
            for (const std::string& n : names) {
                if (n != "data.dat" && n != "sub")
                    std::filesystem::remove(flat() / "db" / utf8Path(n));
            }
            continue;
        }
        const size_t boxes = window->messageBoxes().size();

        EXPECT_EQ(wizard::writeCompactFlash(), -1);

        ASSERT_EQ(window->messageBoxes().size(), boxes + 1);
        const auto& box = window->messageBoxes().back();
        EXPECT_EQ(box.title, "Error!");
        EXPECT_NE(box.text.find("E:\\backup\\single\\db\\"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(c.problem), std::string::npos) << box.text;
        EXPECT_EQ(treeOf(card()), before);
        std::filesystem::remove(flat() / "db" / utf8Path(c.name));
        std::filesystem::remove(flat() / "db" / utf8Path("\xc3\xa9.dat"));
    }
    // A leading dot is an ordinary name: the file reaches the card.
    writeFile(flat() / "db" / ".cfg", "dot");
    window->queueAnswer(ui::Answer::yes);
    EXPECT_EQ(wizard::writeCompactFlash(), 1);
    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_EQ(single().at("db/.cfg"), "dot");
}

TEST_F(CompactFlashTest, UnreportedCopyFailureIsReportedBeforeTheCardIsTouched) {
    std::filesystem::remove_all(flat());  // the walk cannot list its source

    EXPECT_EQ(wizard::writeCompactFlash(), -1);

    const std::string message =
        "Failed to copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\\r\n"
        "Ensure the Compact Flash drive E: is ready and not write protected";
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, message);
    EXPECT_EQ(window->logs().back(), message);
    EXPECT_TRUE(treeOf(card()).empty());
}

// True when `folder` lists `name` as it is spelled.
bool holds(const std::filesystem::path& folder, const std::string& name) {
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.path().filename().string() == name)
            return true;
    }
    return false;
}

// The writer's steps on their own: the first tells what the card holds and asks nothing; the
// second replaces a database it is told to without asking either.
TEST_F(CompactFlashTest, TheWritersStepsNeverAsk) {
    using Found = rebuild::CardWriter::Found;
    struct Case {
        const char* name;
        void (*plant)(CompactFlashTest&);
        Found found;
        size_t boxes;  // shown by prepare()
    } cases[] = {
        {"fresh card", [](CompactFlashTest&) {}, Found::nothing, 0},
        {"backup folder only",
         [](CompactFlashTest& t) { writeFile(t.card() / "backup" / "other.txt", "other"); },
         Found::nothing, 0},
        {"a database", [](CompactFlashTest& t) { t.plantOldDatabase(); }, Found::database, 0},
        {"a verified one left by a cut",
         [](CompactFlashTest& t) {
             writeFile(t.card() / "backup" / "single~velt-verified" / "x.dat", "x");
         },
         Found::database, 0},
        {"a name the card cannot hold",
         [](CompactFlashTest& t) { writeFile(t.flat() / "db" / "aux", "x"); }, Found::failed, 1},
        {"write protected", [](CompactFlashTest& t) { t.insertCard(readonly(t.cardMedium())); },
         Found::failed, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(card());
        std::filesystem::create_directories(card());
        insertCard(cardMedium());
        c.plant(*this);
        // A host that takes "aux" for its device (Windows) leaves that case to Linux.
        if (std::string(c.name) == "a name the card cannot hold" && !holds(flat() / "db", "aux"))
            continue;
        const size_t boxes = window->messageBoxes().size();
        {
            rebuild::CardWriter writer;
            EXPECT_EQ(writer.prepare(), c.found);
            EXPECT_EQ(window->messageBoxes().size(), boxes + c.boxes);
            EXPECT_EQ(writer.single(), "E:\\backup\\single\\");
            if (c.found != Found::failed) {
                EXPECT_TRUE(std::filesystem::is_directory(card() / "backup"));
                EXPECT_TRUE(writer.write(c.found == Found::database));
                EXPECT_EQ(single(), treeOf(flat()));
                EXPECT_EQ(window->messageBoxes().size(), boxes);
            }
        }
        std::filesystem::remove(flat() / "db" / "aux");
    }
}

// The current drive and E:'s current folder are restored however the card step ends.
TEST_F(CompactFlashTest, TheCurrentPlaceIsRestoredHoweverTheStepEnds) {
    std::filesystem::create_directories(card() / "elsewhere");
    const struct {
        const char* what;
        void (*plant)(CompactFlashTest&);
        std::optional<ui::Answer> answer;
        std::optional<int16_t> result;  // none: an error passes up
    } cases[] = {
        {"success",
         [](CompactFlashTest& t) { std::filesystem::create_directories(t.card() / "backup"); },
         std::nullopt, 1},
        {"declining", [](CompactFlashTest& t) { t.plantOldDatabase(); }, ui::Answer::no, -1},
        {"a failure", [](CompactFlashTest& t) { t.insertCard(withCapacity(t.cardMedium(), 10)); },
         std::nullopt, -1},
        // No answer queued: the question box itself fails.
        {"an error passing up", [](CompactFlashTest& t) { t.plantOldDatabase(); }, std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(card() / "backup");
        insertCard(cardMedium());
        c.plant(*this);
        platform::setCurrentDrive('C');
        platform::setCurrentFolder('E', "\\elsewhere");
        if (c.answer)
            window->queueAnswer(*c.answer);

        if (c.result) {
            EXPECT_EQ(wizard::writeCompactFlash(), *c.result);
        } else {
            EXPECT_THROW(wizard::writeCompactFlash(), ui::NoAnswerQueued);
        }
        EXPECT_EQ(platform::currentDrive(), 'C');
        EXPECT_EQ(platform::currentFolder('E'), "\\elsewhere");
    }
}

}  // namespace
}  // namespace rebuildtest
