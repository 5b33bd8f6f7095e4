// Drives whose media the desktop mounts on request: the wizard mounts before it reads or writes,
// releases a diskette after every read (good or not) and the card after a good write only, and
// treats a medium it cannot mount as a drive that is not ready.
#include <gtest/gtest.h>

#include <set>

#include "platform/context.h"
#include "platform/error.h"
#include "platform/faulty_medium.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/main_window.h"
#include "wizard/events.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

// Folder drives that log what they are asked and refuse to mount where told.
class MountingDrives : public platform::FolderDriveTable {
  public:
    std::vector<std::string> asked;
    std::set<char> refuse;
    std::function<void()> whileMounting = [] {};

    std::string mountForUse(char letter) override {
        asked.push_back(std::string("mount ") + letter);
        whileMounting();
        if (refuse.count(letter))
            throw platform::Error(platform::err::diskNotReady,
                                  std::string("Could not mount ") + letter + ": Not authorized");
        return std::string("Mounted ") + letter + ":";
    }
    std::string releaseDiskette(char letter) override {
        asked.push_back(std::string("diskette ") + letter);
        return std::string("Unmounted ") + letter + ":";
    }
    std::string releaseCard(char letter) override {
        asked.push_back(std::string("card ") + letter);
        return std::string(1, letter) + ": can now be removed.";
    }
};

class MountingTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        table.define('a', platform::DriveType::removable, std::nullopt);
        table.define('c', platform::DriveType::fixed, medium("c", "SYSTEM", 1ull << 30));
        std::filesystem::create_directories(scratch.path() / "c" / "Temp");
        table.define('e', platform::DriveType::removable, medium("cf", "CF", 64000000));
        platform::installDrives(&table);
        platform::setTempFolder("C:\\Temp");
    }
    std::vector<std::string> asked() { return std::exchange(table.asked, {}); }

    MountingDrives table;
};

TEST_F(MountingTest, MountsBeforeUseAndReleasesAfter) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    plan.files = {testsupport::wholeFile("keycode.rec", "KEY"),
                  testsupport::wholeFile("db/two.dat", "2", 2)};
    const auto set = testsupport::buildSet(scratch.path() / "set", plan);
    auto insert = [&](int n) {
        platform::MediumOptions m;
        m.root = set.disk(n);
        table.insert('a', m);
    };
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    ASSERT_TRUE(ok());
    newLogs();
    EXPECT_TRUE(asked().empty()) << "choosing the floppy drive reads nothing";

    struct Step {
        const char* what;
        std::function<void()> before;
        std::vector<std::string> asked;
        std::vector<std::string> logs;  // in this order, among others
        int step;
    };
    const std::vector<Step> walk = {
        {"a diskette that cannot be mounted is a drive that is not ready",
         [&] {
             insert(1);
             table.refuse = {'A'};
         },
         {"mount A"},
         {"Could not mount A: Not authorized", "ERROR \r\nDrive A: is not ready."},
         1},
        {"diskette 1 mounted, read, released",
         [&] { table.refuse.clear(); },
         {"mount A", "diskette A"},
         {"Mounted A:", "Unmounted A:"},
         2},
        {"the wrong diskette is released too",
         [] {},
         {"mount A", "diskette A"},
         {"Unmounted A:"},
         2},
        {"diskette 2", [&] { insert(2); }, {"mount A", "diskette A"}, {"Unmounted A:"}, 3},
        {"a card that cannot be mounted",
         [&] {
             ASSERT_TRUE(select('e'));
             table.refuse = {'E'};
         },
         {"mount E"},
         {"Could not mount E: Not authorized", "ERROR \r\nDrive E: is not ready."},
         3},
        {"the card mounted, written, released",
         [&] {
             table.refuse.clear();
             ASSERT_TRUE(select('e'));  // the failure put the list back on the last drive
         },
         {"mount E", "card E"},
         {"Mounted E:", "Copy directory", "E: can now be removed."},
         4},
    };
    for (const Step& s : walk) {
        s.before();
        ASSERT_TRUE(ok()) << s.what;
        EXPECT_EQ(asked(), s.asked) << s.what;
        const std::vector<std::string> logs = newLogs();
        size_t at = 0;
        for (const std::string& expected : s.logs) {
            while (at < logs.size() && logs[at].find(expected) == std::string::npos)
                ++at;
            EXPECT_LT(at, logs.size()) << s.what << ": " << expected;
        }
        EXPECT_EQ(app::wizardStep, static_cast<app::Step>(s.step)) << s.what;
    }

    // A write that fails leaves the card mounted, to be tried again.
    ASSERT_TRUE(ok());
    table.medium('e')->failNth(platform::OpKind::change, 1, true);
    answer(ui::Answer::yes);
    ASSERT_TRUE(select('e'));
    ASSERT_TRUE(ok());
    EXPECT_EQ(asked(), std::vector<std::string>{"mount E"});
    EXPECT_EQ(app::wizardStep, app::Step::cardDrive);
}

// The desktop tells of a change while the work runs (the mount itself is one): the list is read
// again once the work ends, not in the middle of it.
TEST_F(MountingTest, AChangeOfTheDrivesDuringWorkIsShownAfterIt) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(select('a'));
    ASSERT_TRUE(ok());
    const int16_t listed = win().driveList().listCount();
    table.whileMounting = [&] {
        table.define('d', platform::DriveType::removable, medium("d", "NEW"));
        EXPECT_TRUE(wizard::handle(wizard::Event::drivesChanged));
        EXPECT_EQ(win().driveList().listCount(), listed);
    };
    ASSERT_TRUE(wizard::handle(wizard::Event::okClick));
    EXPECT_EQ(win().driveList().listCount(), listed + 1);
    EXPECT_EQ(win().driveList().entryAt(1), "c: [SYSTEM]");
    EXPECT_EQ(win().driveList().entryAt(2), "d:");
}

}  // namespace
}  // namespace wizardtest
