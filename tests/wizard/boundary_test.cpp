// The event boundary: unreported failures are shown and the program goes on; the end of the
// program quits the window and silences every later event.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

class BoundaryTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
        openWindow();
    }
};

TEST_F(BoundaryTest, UnreportedFailureIsShownLoggedAndTheProgramGoesOn) {
    bool after = false;
    EXPECT_TRUE(wizard::dispatch([&] {
        platform::raise(platform::err::pathNotFound);
        after = true;
    }));
    EXPECT_FALSE(after);
    const auto boxes = newBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error!");
    EXPECT_EQ(boxes[0].icon, ui::Icon::critical);
    EXPECT_EQ(boxes[0].buttons, ui::Buttons::ok);
    EXPECT_NE(boxes[0].text.find("Path not found"), std::string::npos);
    EXPECT_EQ(newLogs(), std::vector<std::string>{"ERROR " + boxes[0].text});
    EXPECT_FALSE(wizard::ended());
    EXPECT_FALSE(win().quitCalled());

    bool ran = false;
    EXPECT_TRUE(wizard::dispatch([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST_F(BoundaryTest, EndingQuitsOnceAndLaterEventsDoNothing) {
    bool after = false;
    EXPECT_FALSE(wizard::dispatch([&] {
        ui::endProgram();
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(wizard::ended());
    EXPECT_TRUE(win().quitCalled());
    EXPECT_TRUE(newBoxes().empty());

    bool ran = false;
    EXPECT_FALSE(wizard::dispatch([&] { ran = true; }));
    EXPECT_FALSE(ran);
    bool cancelled = true;
    EXPECT_FALSE(close(&cancelled));
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_TRUE(win().quitCalled());
}

TEST_F(BoundaryTest, OtherExceptionsPassToTheFrontEnd) {
    EXPECT_THROW(wizard::dispatch([] { ui::msgBox("q", ui::Buttons::yesNo, ui::Icon::question); }),
                 ui::NoAnswerQueued);
    EXPECT_FALSE(wizard::ended());
    EXPECT_TRUE(newBoxes().empty());
}

}  // namespace
}  // namespace wizardtest
