// The About box: loaded once, filled when it loads, unloaded by its OK button.
#include <gtest/gtest.h>

#include "wizard/wizard.h"
#include "wizard/wizard_support.h"

namespace wizardtest {
namespace {

const std::string description =
    "This tool converts the Valdrome system database from floppy diskettes form into Compact "
    "Flash based form.\r\nTo be used when upgrading to a PENTIUM IV based Valdrome system."
    "\r\n\r\nBy Halvex Networks.";

class AboutTest : public WizardTest {
  protected:
    void SetUp() override {
        WizardTest::SetUp();
        defineUsualDrives();
        ASSERT_TRUE(start());
    }
    void expectTexts() {
        auto& box = win().recordingAboutBox();
        EXPECT_EQ(box.caption(), "About VELT Database Media Converter");
        EXPECT_EQ(box.lblTitle().caption(), "VELT Database Media Converter");
        EXPECT_EQ(box.lblVersion().caption(), "Version 1.0 ( Mar 24, 2005 )");
        EXPECT_EQ(box.lblDescription().caption(), description);
    }
};

TEST_F(AboutTest, SecondOpeningBringsTheSameDialogForward) {
    auto& box = win().recordingAboutBox();
    ASSERT_TRUE(about());
    ASSERT_TRUE(about());
    EXPECT_EQ(box.loadCount(), 1);
    EXPECT_EQ(box.showCount(), 2);
    EXPECT_TRUE(box.shown());
    expectTexts();
}

TEST_F(AboutTest, OkUnloadsAndTheNextOpeningBuildsTheTextsAfresh) {
    auto& box = win().recordingAboutBox();
    ASSERT_TRUE(about());
    ASSERT_TRUE(aboutOk());
    EXPECT_FALSE(box.loaded());
    ASSERT_TRUE(about());
    EXPECT_EQ(box.loadCount(), 2);
    expectTexts();
}

TEST_F(AboutTest, LeavesTheWizardAlone) {
    const auto logsBefore = win().logs().size();
    ASSERT_TRUE(about());
    EXPECT_EQ(win().logs().size(), logsBefore);
    EXPECT_TRUE(newBoxes().empty());
    EXPECT_EQ(win().caption(), "VELT Database Media Converter");
    ASSERT_TRUE(aboutOk());
    EXPECT_TRUE(aboutOk());  // a second OK with the box gone is harmless
}

}  // namespace
}  // namespace wizardtest
