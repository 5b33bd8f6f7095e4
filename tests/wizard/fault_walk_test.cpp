// The fault walk: a whole two-diskette conversion onto a card that already holds a database,
// run once for every operation of every kind on every medium with that one operation failing.
// After each run the program is alive and in a step the user can go on from, any failure was
// shown to the user or changed nothing, and the temporary area can be removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "fs/temp_area.h"
#include "platform/faulty_medium.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

namespace fsys = std::filesystem;
using platform::OpKind;

constexpr std::array<OpKind, platform::opKindCount> kinds = {
    OpKind::look, OpKind::open, OpKind::read, OpKind::change, OpKind::flush};

// Where the fault is planted: the first or second diskette, the temporary drive, the card.
enum class Place { disk1, disk2, temp, card };
constexpr std::array<Place, 4> places = {Place::disk1, Place::disk2, Place::temp, Place::card};

struct Fault {
    Place place;
    OpKind kind;
    uint64_t n;  // 0: none
};

// The map of every file below a folder to its bytes.
std::map<std::string, std::string> treeOf(const fsys::path& root) {
    std::map<std::string, std::string> files;
    if (!fsys::exists(root))
        return files;
    for (const auto& e : fsys::recursive_directory_iterator(root)) {
        if (e.is_regular_file())
            files[fsys::relative(e.path(), root).generic_string()] =
                testsupport::readFile(e.path());
    }
    return files;
}

class FaultWalkTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.archiveId = "812";
        plan.files.push_back(testsupport::wholeFile("keycode.rec", "KEY"));
        plan.files.push_back(testsupport::wholeFile("db/one.dat", testsupport::noise(300, 1), 1));
        plan.files.push_back(testsupport::wholeFile("db/two.dat", testsupport::noise(200, 2), 2));
        plan.files.push_back(
            testsupport::spreadFile("db/big.dat", testsupport::noise(200, 3), {{1, 120}, {2, 80}}));
        set_ = testsupport::buildSet(scratch.path() / "set", plan);
    }

    // Everything a run starts from: the drives, an old database and a neighbour on the card.
    void prepare() {
        TearDown();
        WizardTest::SetUp();
        fsys::remove_all(scratch.path() / "c");
        fsys::remove_all(scratch.path() / "cf");
        defineUsualDrives();
        testsupport::writeFile(card() / "backup" / "single" / "archive.dat", "old descriptor");
        testsupport::writeFile(card() / "backup" / "single" / "db" / "old.dat", "old");
        testsupport::writeFile(card() / "backup" / "other" / "keep.txt", "keep");
    }

    fsys::path card() const { return scratch.path() / "cf"; }

    platform::FaultyMedium& mediumAt(char letter) { return *drives.medium(letter); }

    void insert(int disk, const Fault& fault, Place place) {
        platform::MediumOptions m;
        m.root = set_.disk(disk);
        drives.insert('a', m);
        if (fault.place == place && fault.n > 0)
            mediumAt('a').failNth(fault.kind, fault.n, false);
    }

    // One whole run; returns how many operations of each kind each place saw.
    std::map<Place, std::array<uint64_t, platform::opKindCount>> run(const Fault& fault) {
        prepare();
        std::map<Place, std::array<uint64_t, platform::opKindCount>> counts;
        auto take = [&](Place place, char letter) {
            for (size_t k = 0; k < kinds.size(); ++k)
                counts[place][k] = mediumAt(letter).count(kinds[k]);
        };
        if (fault.place == Place::temp && fault.n > 0)
            mediumAt('c').failNth(fault.kind, fault.n, false);
        if (fault.place == Place::card && fault.n > 0)
            mediumAt('e').failNth(fault.kind, fault.n, false);

        start();
        select('a');
        ok();
        insert(1, fault, Place::disk1);
        ok();
        take(Place::disk1, 'a');
        insert(2, fault, Place::disk2);
        ok();
        take(Place::disk2, 'a');
        select('e');
        answer(ui::Answer::yes);
        ok();
        take(Place::temp, 'c');
        take(Place::card, 'e');
        return counts;
    }

    // What must hold after any run.
    void check(const Fault& fault, const std::string& where) {
        SCOPED_TRACE(where);
        ASSERT_FALSE(wizard::ended());
        ASSERT_GE(static_cast<int>(app::wizardStep), 0);
        ASSERT_LE(static_cast<int>(app::wizardStep), 4);
        EXPECT_TRUE(win().buttonOK().enabled() || win().driveList().enabled());

        const bool reported =
            std::any_of(win().messageBoxes().begin(), win().messageBoxes().end(),
                        [](const ui::MessageRecord& b) { return b.title == "Error!"; });
        if (!reported) {
            // Nothing shown: the run must have done all it does without the fault.
            std::string log;
            for (const std::string& line : win().logs())
                log += line + "\n";
            EXPECT_EQ(app::wizardStep, app::Step::done) << log;
            EXPECT_TRUE(treeOf(card() / "backup" / "single") == good_)
                << "the card differs from a good conversion; the log:\n"
                << log;
        }
        // The card holds the old database or the new one, whole, and nothing set aside.
        const auto single = treeOf(card() / "backup" / "single");
        const std::map<std::string, std::string> old = {{"archive.dat", "old descriptor"},
                                                        {"db/old.dat", "old"}};
        std::string names;
        for (const auto& [name, bytes] : single)
            names += " " + name;
        std::string all;
        for (const auto& [name, bytes] : treeOf(card()))
            all += " " + name;
        std::string log;
        for (const std::string& line : win().logs())
            log += line + "\n";
        EXPECT_TRUE(single == old || single == good_)
            << "a mix on the card:" << names << "\ncard:" << all << "\n"
            << log;
        EXPECT_EQ(treeOf(card() / "backup" / "other"),
                  (std::map<std::string, std::string>{{"keep.txt", "keep"}}));
        EXPECT_EQ(
            std::distance(fsys::directory_iterator(card() / "backup"), fsys::directory_iterator()),
            2);

        // The area goes once the fault is gone.
        for (char letter : {'a', 'c', 'e'}) {
            if (drives.medium(letter) != nullptr)
                drives.medium(letter)->clearCountdown();
        }
        (void)fault;
        app::totalDisks = 2;
        EXPECT_NO_THROW(fs::removeTempArea());
        for (const auto& e : fsys::directory_iterator(scratch.path() / "c" / "Temp"))
            ADD_FAILURE() << "left behind: " << e.path();
    }

    testsupport::BuiltSet set_;
    std::map<std::string, std::string> good_;
};

const char* nameOf(Place p) {
    switch (p) {
        case Place::disk1:
            return "diskette 1";
        case Place::disk2:
            return "diskette 2";
        case Place::temp:
            return "temporary drive";
        case Place::card:
            return "card";
    }
    return "";
}

const char* nameOf(OpKind k) {
    static const char* const names[] = {"look", "open", "read", "change", "flush"};
    return names[static_cast<int>(k)];
}

TEST_F(FaultWalkTest, EveryFailingOperationIsReportedOrHarmless) {
    const auto counts = run({Place::card, OpKind::look, 0});
    ASSERT_EQ(app::wizardStep, app::Step::done);
    good_ = treeOf(card() / "backup" / "single");
    ASSERT_FALSE(good_.empty());
    check({Place::card, OpKind::look, 0}, "no fault");

    uint64_t walked = 0;
    for (Place place : places) {
        for (size_t k = 0; k < kinds.size(); ++k) {
            for (uint64_t n = 1; n <= counts.at(place)[k]; ++n) {
                const Fault fault{place, kinds[k], n};
                run(fault);
                check(fault, std::string(nameOf(place)) + ": " + nameOf(kinds[k]) + " #" +
                                 std::to_string(n) + " fails");
                ++walked;
                if (HasFatalFailure())
                    return;
            }
        }
    }
    std::printf("fault walk: %llu fault points walked\n", static_cast<unsigned long long>(walked));
    EXPECT_GT(walked, 100u);
}

}  // namespace
}  // namespace wizardtest
