// The session log behind the log panel: a file that cannot be kept is told once, and the
// conversion goes on as without it. (The file's lines: the shared window suite.)
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/session_log.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "ui/session_log.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

using testsupport::readFile;

class SessionLogTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
    }
    void TearDown() override {
        ui::stopSessionLog();
        WizardTest::TearDown();
    }
    // A two-diskette set converted onto e:, as a user clicks it.
    void convert() {
        testsupport::SetPlan plan;
        plan.disks = 2;
        plan.files = {testsupport::wholeFile("keycode.rec", "KEY"),
                      testsupport::spreadFile("db/big.dat", testsupport::noise(400, 3),
                                              {{1, 150}, {2, 250}})};
        const auto set = testsupport::buildSet(scratch.path() / "set", plan);
        ASSERT_TRUE(start());
        ASSERT_TRUE(select('a'));
        ASSERT_TRUE(ok());
        for (int n = 1; n <= 2; ++n) {
            platform::MediumOptions m;
            m.root = set.disk(n);
            drives.insert('a', m);
            ASSERT_TRUE(ok());
        }
        ASSERT_TRUE(select('e'));
        ASSERT_TRUE(ok());
        ASSERT_EQ(app::wizardStep, app::Step::done);
        EXPECT_EQ(readFile(scratch.path() / "cf" / "backup" / "single" / "db" / "big.dat"),
                  testsupport::noise(400, 3));
        EXPECT_TRUE(newBoxes().empty());
    }
};

TEST_F(SessionLogTest, AFolderThatCannotBeWrittenIsToldOnceAndTheConversionGoesOn) {
    testsupport::writeFile(scratch.path() / "state", "a file where the folder would be");
    ui::startSessionLog(scratch.path() / "state" / "logs");
    convert();

    const std::vector<std::string> logs = newLogs();
    const auto told = std::count_if(logs.begin(), logs.end(), [](const std::string& text) {
        return text.starts_with(ui::sessionLogFailureText(""));
    });
    EXPECT_EQ(told, 1);
    ASSERT_GE(logs.size(), 2u);
    EXPECT_EQ(logs[1].substr(0, ui::sessionLogFailureText("").size()),
              ui::sessionLogFailureText(""));
    EXPECT_NE(logs[1].find("state"), std::string::npos) << logs[1];
    EXPECT_EQ(ui::sessionLog(), nullptr);
    EXPECT_EQ(readFile(scratch.path() / "state"), "a file where the folder would be");
}

}  // namespace
}  // namespace wizardtest
