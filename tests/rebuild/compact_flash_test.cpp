// writeCompactFlash: the flat area written into \backup\single\ on the card in E:.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/context.h"
#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"

namespace rebuildtest {
namespace {

using testsupport::readFile;
using testsupport::writeFile;
using Tree = std::map<std::string, std::string>;

const std::string selected = "Compact Flash drive E: was selected ";
const std::string copyLine = "Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\";
const std::string verifiedLine = "Verified E:\\backup\\single\\";
const std::string keptLine = "Kept the previous database in E:\\backup\\single\\";

class CompactFlashTest : public RebuildTest {
  protected:
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
    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);

    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_TRUE(window->messageBoxes().empty());
    EXPECT_EQ(window->logs().front(), selected);
    EXPECT_EQ(window->statuses(),
              std::vector<std::string>{"Please wait...\r\nWriting on the Compact Flash"});
    EXPECT_EQ(window->logs().back(), verifiedLine);
    EXPECT_EQ(window->logs()[window->logs().size() - 2], copyLine);
    EXPECT_FALSE(window->progressBar1().visible());
}

TEST_F(CompactFlashTest, OtherContentOfTheBackupFolderStays) {
    writeFile(card() / "backup" / "other.txt", "other");
    writeFile(card() / "backup" / "keep" / "x", "x");

    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);

    EXPECT_TRUE(window->messageBoxes().empty());
    EXPECT_EQ(readFile(card() / "backup" / "other.txt"), "other");
    EXPECT_EQ(readFile(card() / "backup" / "keep" / "x"), "x");
    EXPECT_EQ(single(), treeOf(flat()));
}

TEST_F(CompactFlashTest, DecliningToReplaceLeavesTheCardAsItWas) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    window->queueAnswer(ui::Answer::no);

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

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

    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);

    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_EQ(readFile(card() / "backup" / "other.txt"), "other");
    EXPECT_EQ(window->logs(),
              (std::vector<std::string>{selected, "Remove E:\\backup\\single\\",
                                        "Please wait...\r\nWriting on the Compact Flash", copyLine,
                                        verifiedLine}));
    // Nothing is left set aside.
    EXPECT_FALSE(std::filesystem::exists(card() / "backup" / "single~velt-previous"));
}

TEST_F(CompactFlashTest, SameCardAgainAsksAgain) {
    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);
    window->queueAnswer(ui::Answer::yes);
    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);

    EXPECT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(single(), treeOf(flat()));
}

TEST_F(CompactFlashTest, EmptyTableStillCopiesEverythingWithoutMovingTheBar) {
    app::fileCount = 0;
    window->progressBar1().setValue(40);

    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);

    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_FLOAT_EQ(window->progressBar1().value(), 0);
}

TEST_F(CompactFlashTest, BarStartsAtZeroAndMovesPerCopiedFile) {
    app::fileCount = 20;  // step 5, five files
    window->progressBar1().setValue(70);

    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);
    EXPECT_FLOAT_EQ(window->progressBar1().value(), 25);
}

TEST_F(CompactFlashTest, WriteProtectedCardWithoutBackupFolder) {
    insertCard(readonly(cardMedium()));

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

    const std::string message =
        "Failed to create directory: E:\\backup\\\r\n"
        "Ensure there is enough free space on Compact Flash drive E:";
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].title, "Error!");
    EXPECT_EQ(window->messageBoxes()[0].icon, ui::Icon::critical);
    EXPECT_EQ(window->logs().back(), message);
    EXPECT_TRUE(treeOf(card()).empty());
}

TEST_F(CompactFlashTest, WriteProtectedCardWithBackupFolderOnly) {
    writeFile(card() / "backup" / "other.txt", "other");
    insertCard(readonly(cardMedium()));

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

    EXPECT_EQ(app::errorText,
              "Failed to create directory: E:\\backup\\single\\\r\n"
              "Ensure there is enough free space on Compact Flash drive E:");
    EXPECT_EQ(treeOf(card()), (Tree{{"backup/", ""}, {"backup/other.txt", "other"}}));
}

TEST_F(CompactFlashTest, WriteProtectedOldDatabaseCannotBeRemoved) {
    plantOldDatabase();
    const Tree before = treeOf(card());
    insertCard(readonly(cardMedium()));
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

    const std::string message =
        "Failed to remove directory: E:\\backup\\single\\\r\n"
        "Ensure the Compact Flash drive E: is not write protected";
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 2u);
    EXPECT_EQ(window->messageBoxes()[1].text, message);
    EXPECT_EQ(window->messageBoxes()[1].title, "Error!");
    EXPECT_EQ(window->logs().back(), message);
    EXPECT_EQ(treeOf(card()), before);
}

TEST_F(CompactFlashTest, FullCardLeavesNoHalfWrittenSingleFolder) {
    // Room for the small files but not for db\sub\deep.dat.
    insertCard(withCapacity(cardMedium(), 1000));

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text,
              "Can not copy file C:\\Temp\\VELT_flat\\db\\sub\\deep.dat to "
              "E:\\backup\\single\\db\\sub\\deep.dat\r\n"
              "Ensure that the floppy disk is readable and that \r\n"
              "there is enough free space available on drive E:\\");
    EXPECT_TRUE(window->progressBar1().visible());
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

        EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

        EXPECT_EQ(treeOf(card()), before);
        // The question, then the report.
        ASSERT_GT(window->messageBoxes().size(), boxes + 1);
        EXPECT_EQ(window->messageBoxes()[boxes + 1].text.rfind(c.report, 0), 0u)
            << window->messageBoxes()[boxes + 1].text;
        EXPECT_EQ(window->logs().back(), keptLine);
    }
}

// A card too small for both databases loses the old one first, and says so.
TEST_F(CompactFlashTest, CardTooSmallForBothReplacesInTheOldOrder) {
    plantOldDatabase();
    platform::MediumOptions tight = cardMedium();
    tight.freeBytes = 100;
    insertCard(tight);
    window->queueAnswer(ui::Answer::yes);

    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);
    EXPECT_EQ(single(), treeOf(flat()));
    EXPECT_EQ(window->logs(),
              (std::vector<std::string>{
                  selected, "Remove E:\\backup\\single\\",
                  "Not enough free space on E: to keep the previous database until the new one "
                  "is verified",
                  "Please wait...\r\nWriting on the Compact Flash", copyLine, verifiedLine}));
}

// A write cut short by a crash left the previous database set aside: the next write finds it.
TEST_F(CompactFlashTest, ASetAsideDatabaseIsPutBack) {
    writeFile(card() / "backup" / "single~velt-previous" / "old-only.dat", "old");
    window->queueAnswer(ui::Answer::no);

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);
    EXPECT_EQ(single(), (Tree{{"old-only.dat", "old"}}));
    EXPECT_EQ(window->logs()[1], "Restored the previous database in E:\\backup\\single\\");
}

TEST_F(CompactFlashTest, UnreportedCopyFailureIsReportedAndTheFolderRemoved) {
    std::filesystem::remove_all(flat());  // the walk cannot list its source

    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);

    const std::string message =
        "Failed to copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\\r\n"
        "Ensure the Compact Flash drive E: is ready and not write protected";
    EXPECT_EQ(app::errorText, message);
    ASSERT_EQ(window->messageBoxes().size(), 1u);
    EXPECT_EQ(window->messageBoxes()[0].text, message);
    EXPECT_EQ(window->logs().back(), message);
    EXPECT_EQ(treeOf(card()), (Tree{{"backup/", ""}}));
}

class CurrentPlaceTest : public CompactFlashTest {
  protected:
    void SetUp() override {
        CompactFlashTest::SetUp();
        std::filesystem::create_directories(card() / "elsewhere");
        platform::setCurrentDrive('C');
        platform::setCurrentFolder('E', "\\elsewhere");
    }
    void expectRestored() const {
        EXPECT_EQ(platform::currentDrive(), 'C');
        EXPECT_EQ(platform::currentFolder('E'), "\\elsewhere");
    }
};

TEST_F(CurrentPlaceTest, RestoredAfterSuccess) {
    std::filesystem::create_directories(card() / "backup");
    EXPECT_EQ(UtilModule::writeCompactFlash(), 1);
    expectRestored();
}

TEST_F(CurrentPlaceTest, RestoredAfterDeclining) {
    plantOldDatabase();
    window->queueAnswer(ui::Answer::no);
    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);
    expectRestored();
}

TEST_F(CurrentPlaceTest, RestoredAfterAFailure) {
    insertCard(withCapacity(cardMedium(), 10));
    EXPECT_EQ(UtilModule::writeCompactFlash(), -1);
    expectRestored();
}

TEST_F(CurrentPlaceTest, RestoredWhenAnErrorPassesUp) {
    plantOldDatabase();
    // No answer queued: the question box itself fails.
    EXPECT_THROW(UtilModule::writeCompactFlash(), headless::NoAnswerQueued);
    expectRestored();
}

}  // namespace
}  // namespace rebuildtest
