// The power-cut walk: a replacement write cut off after its Nth change, for every N (the card
// pulled, the laptop dead), then the card put in again whole and healthy and a new session run
// on it; and the new session's own recovery cut off in turn. The switch reads the single folder
// only, so that folder must hold a whole database, old or new, whenever the card can be taken.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/faulty_medium.h"
#include "rebuild/card_states.h"
#include "rebuild/rebuild.h"
#include "rebuild/rebuild_support.h"
#include "state/state.h"
#include "wizard/wizard.h"

namespace rebuildtest {
namespace {

using testsupport::writeFile;
using Tree = std::map<std::string, std::string>;

class PowerCutTest : public RebuildTest {
  protected:
    void SetUp() override {
        RebuildTest::SetUp();
        writeFile(flat() / "archive.dat", "VELT ARCHIVE ID: 812\nNUMDISKS: 1\n");
        writeFile(flat() / "disk0001.dat", "VELT VOLUME ID:  812\n");
        writeFile(flat() / "db" / "data.dat", "new data");
        writeFile(flat() / "db" / "sub" / "deep.dat", std::string(3000, 'n'));
        app::fileCount = 2;
        newDb_ = treeOf(flat());
    }

    // The card as a technician brings it: an old database and a neighbour.
    void plantCard() {
        std::filesystem::remove_all(card());
        writeFile(card() / "backup" / "single" / "archive.dat", "old descriptor");
        writeFile(card() / "backup" / "single" / "db" / "old.dat", "old");
        writeFile(card() / "backup" / "other" / "keep.txt", "keep");
        oldDb_ = single();
    }

    static Tree treeIfAny(const std::filesystem::path& root) {
        return std::filesystem::exists(root) ? treeOf(root) : Tree{};
    }
    Tree single() const { return treeIfAny(card() / "backup" / "single"); }
    Tree at(const char* state) const { return treeIfAny(card() / "backup" / state); }
    bool whole(const Tree& t) const { return t == oldDb_ || t == newDb_; }
    // Whether the state folder keeps a copy of the old database.
    bool oldKeptOnComputer() const {
        if (!std::filesystem::exists(keptCopies()))
            return false;
        for (const auto& e : std::filesystem::directory_iterator(keptCopies())) {
            if (treeOf(e.path()) == oldDb_)
                return true;
        }
        return false;
    }

    // One write on the card as it is, cut after `cut` changes (none: 0); returns the changes
    // that reached the card.
    uint64_t write(uint64_t cut, bool tight, ui::Answer answer = ui::Answer::yes) {
        platform::MediumOptions m = cardMedium();
        if (cut > 0)
            m.faults.cutAfter = cut;
        if (tight)
            m.freeBytes = 100;
        insertCard(m);
        window->queueAnswer(answer);
        wizard::writeCompactFlash();
        window->clearAnswers();
        return drives.medium('E')->changesReached();
    }

    // What a cut may leave: the single folder whole, or absent while the database is whole in
    // a state the next session moves in (between the two renames).
    void checkAfterCut(const std::string& where) {
        SCOPED_TRACE(where);
        const Tree s = single();
        if (std::filesystem::exists(card() / "backup" / "single")) {
            EXPECT_TRUE(whole(s)) << "a partial database in \\backup\\single\\";
        } else {
            EXPECT_TRUE(whole(at(rebuild::cardVerifiedFolder)) ||
                        whole(at(rebuild::cardReplacedFolder)))
                << "no whole database left to move in";
        }
        EXPECT_EQ(at("other"), (Tree{{"keep.txt", "keep"}}));
    }

    // A new session on the healthy card, answering No: it must restore without asking, remove
    // what is not whole, and ask about a whole database.
    void checkNextSession(const std::string& where) {
        SCOPED_TRACE(where);
        const bool absent = !std::filesystem::exists(card() / "backup" / "single");
        const size_t boxes = window->messageBoxes().size();
        const size_t logs = window->logs().size();
        write(0, false, ui::Answer::no);
        EXPECT_TRUE(whole(single())) << "\\backup\\single\\ is not whole after recovery";
        ASSERT_EQ(window->messageBoxes().size(), boxes + 1);
        EXPECT_EQ(window->messageBoxes().back().title, "Replace");
        const std::vector<std::string> added(window->logs().begin() + static_cast<long>(logs),
                                             window->logs().end());
        const bool restored =
            std::find(added.begin(), added.end(),
                      "Restored the previous database in E:\\backup\\single\\") != added.end() ||
            std::find(added.begin(), added.end(),
                      "Put the verified database of an earlier write in E:\\backup\\single\\") !=
                added.end();
        if (absent) {
            EXPECT_TRUE(restored);
        }
        // Only the database and its neighbour are left.
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(card() / "backup"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"other", "single"}));
        EXPECT_EQ(at("other"), (Tree{{"keep.txt", "keep"}}));
    }

    Tree oldDb_, newDb_;
};

TEST_F(PowerCutTest, EveryCutOfAReplacementAndOfItsRecoveryLeavesAWholeDatabase) {
    plantCard();
    const uint64_t total = write(0, false);
    ASSERT_EQ(single(), newDb_);
    ASSERT_GT(total, 10u);

    uint64_t points = 0;
    for (uint64_t n = 1; n <= total; ++n) {
        const std::string where = "write cut after change " + std::to_string(n);
        plantCard();
        write(n, false);
        checkAfterCut(where);
        const std::filesystem::path saved = scratch.path() / "after-cut";
        std::filesystem::remove_all(saved);
        std::filesystem::copy(card(), saved, std::filesystem::copy_options::recursive);
        ++points;

        // The next session's recovery, cut in its turn at each of its changes.
        const uint64_t recovery = write(0, false, ui::Answer::no);
        for (uint64_t m = 1; m < recovery; ++m) {
            std::filesystem::remove_all(card());
            std::filesystem::copy(saved, card(), std::filesystem::copy_options::recursive);
            write(m, false, ui::Answer::no);
            checkAfterCut(where + ", recovery cut after change " + std::to_string(m));
            checkNextSession(where + ", recovery cut after change " + std::to_string(m));
            ++points;
        }
        std::filesystem::remove_all(card());
        std::filesystem::copy(saved, card(), std::filesystem::copy_options::recursive);
        checkNextSession(where);
        if (HasFatalFailure())
            return;
    }
    std::printf("power-cut walk: %llu cut points\n", static_cast<unsigned long long>(points));
}

// A card too small for both keeps the old database on the computer while the card holds none:
// at every cut one whole database is left, on the card or there.
TEST_F(PowerCutTest, ATightCardAlwaysLeavesOneWholeDatabaseSomewhere) {
    plantCard();
    const uint64_t total = write(0, true);
    ASSERT_EQ(single(), newDb_);
    EXPECT_TRUE(std::filesystem::is_empty(keptCopies()));
    for (uint64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("cut after change " + std::to_string(n));
        std::filesystem::remove_all(keptCopies());
        plantCard();
        write(n, true);
        const bool onCard = whole(single()) || whole(at(rebuild::cardVerifiedFolder)) ||
                            whole(at(rebuild::cardReplacedFolder));
        EXPECT_TRUE(onCard || oldKeptOnComputer());
        EXPECT_TRUE(single().empty() || whole(single()));
    }
}

}  // namespace
}  // namespace rebuildtest
