// The headless window: the controls' recorded states, the answer queue, the transcript and its
// JSON text.
#include <gtest/gtest.h>

#include <sstream>

#include "frontends/headless/headless_window.h"
#include "frontends/headless/json.h"
#include "platform/context.h"
#include "platform/drives.h"
#include "platform/error.h"
#include "platform/folder_drives.h"
#include "platform/utf8_text.h"
#include "support/test_support.h"

namespace {

using headless::HeadlessWindow;
using headless::jsonString;

class HeadlessWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        drives.define('A', platform::DriveType::removable, std::nullopt);
        platform::MediumOptions medium;
        medium.root = scratch.path();
        medium.label = "SYSTEM";
        drives.define('C', platform::DriveType::fixed, medium);
        platform::installDrives(&drives);
    }
    void TearDown() override { platform::resetContext(); }

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;
};

TEST(Json, EscapesWhatJsonNeedsAndKeepsUtf8) {
    EXPECT_EQ(jsonString(""), R"("")");
    EXPECT_EQ(jsonString("a \"b\" \\c"), R"("a \"b\" \\c")");
    EXPECT_EQ(jsonString("one\r\ntwo"), R"("one\r\ntwo")");
    EXPECT_EQ(jsonString(std::string("\t\x01\x1f\b\f\x7f", 6) + std::string(1, '\0')),
              "\"\\t\\u0001\\u001f\\b\\f\x7f\\u0000\"");
    EXPECT_EQ(jsonString("Gr\xC3\xB6\xC3\x9F"
                         "e \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "\"Gr\xC3\xB6\xC3\x9F"
              "e \xE2\x82\xAC \xF0\x9F\x98\x80\"");
}

TEST(Json, BytesThatAreNotUtf8BecomeLatin1) {
    EXPECT_EQ(jsonString("\xFF"), "\"\xC3\xBF\"");
    EXPECT_EQ(jsonString("a\xE9z"), "\"a\xC3\xA9z\"");  // a Latin-1 e acute
    EXPECT_EQ(jsonString("\x80"), "\"\xC2\x80\"");      // a C1 control, as any other
    // A cut-off sequence, an overlong form and an encoded surrogate: byte by byte.
    EXPECT_EQ(jsonString("\xE2\x82"), "\"\xC3\xA2\xC2\x82\"");
    EXPECT_EQ(jsonString("\xC0\xAF"), "\"\xC3\x80\xC2\xAF\"");
    EXPECT_EQ(jsonString("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xC2\x80\"");
}

TEST(Utf16Length, CountsUnitsAndBadBytes) {
    EXPECT_EQ(platform::utf16Length(""), 0);
    EXPECT_EQ(platform::utf16Length("abc\r\n"), 5);
    EXPECT_EQ(platform::utf16Length("\xC3\xB6\xE2\x82\xAC"), 2);
    EXPECT_EQ(platform::utf16Length("\xF0\x9F\x98\x80"), 2);
    EXPECT_EQ(platform::utf16Length("\xFF\xFE"), 2);
    EXPECT_EQ(platform::utf16Length("\xF0\x9F\x98"), 3);      // cut off: three bad bytes
    EXPECT_EQ(platform::utf16Length("\xF4\x90\x80\x80"), 4);  // above U+10FFFF
}

TEST_F(HeadlessWindowTest, InitialStates) {
    HeadlessWindow w;
    EXPECT_EQ(w.mainText().text(), "Please wait...");
    EXPECT_TRUE(w.mainText().visible());
    EXPECT_FALSE(w.logText().visible());
    EXPECT_EQ(w.logText().text(), "");
    EXPECT_EQ(w.driveSize().caption(), "");
    EXPECT_EQ(w.summaryLabel().caption(), "");
    EXPECT_TRUE(w.progressBar().visible());
    EXPECT_TRUE(w.buttonOK().enabled());
    EXPECT_TRUE(w.buttonBack().enabled());
    EXPECT_TRUE(w.buttonExit().enabled());
    EXPECT_TRUE(w.driveList().visible());
    EXPECT_TRUE(w.driveList().enabled());
    EXPECT_EQ(w.height(), 6990);
    EXPECT_EQ(w.caption(), "");
    EXPECT_EQ(w.focus(), "");
    EXPECT_FALSE(w.aboutBox().loaded());
    EXPECT_EQ(w.frameLine(1).y2(), 120);
    EXPECT_EQ(w.frameLine(3).y1(), 6240);
    EXPECT_EQ(w.frameLine(2).x1(), 8040);
    EXPECT_EQ(w.frameLine(4).x2(), 120);
    EXPECT_THROW(w.frameLine(5), platform::Error);
    EXPECT_EQ(w.driveList().listIndex(), -1);
    EXPECT_EQ(w.driveList().drive(), "");
}

TEST_F(HeadlessWindowTest, DriveListRaisesItsHandlerOnlyWhenTheIndexChanges) {
    HeadlessWindow w;
    int changes = 0;
    w.driveList().setChangeHandler([&] { ++changes; });
    w.driveList().setListIndex(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.driveList().drive(), "c: [SYSTEM]");
    w.driveList().setListIndex(1);
    EXPECT_EQ(changes, 1);
    w.driveList().setListIndex(0);
    EXPECT_EQ(changes, 2);
    try {
        w.driveList().setListIndex(2);
        FAIL() << "index outside the list accepted";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.code(), 380);
    }
    EXPECT_EQ(w.driveList().listIndex(), 0);

    // A handler that sets the index again (the fall-back of a not-ready drive) nests.
    std::vector<int16_t> seen;
    w.driveList().setChangeHandler([&] {
        seen.push_back(w.driveList().listIndex());
        if (w.driveList().listIndex() == 1)
            w.driveList().setListIndex(0);
    });
    w.driveList().setListIndex(1);
    EXPECT_EQ(seen, (std::vector<int16_t>{1, 0}));

    w.driveList().setFocus();
    EXPECT_EQ(w.focus(), "DriveList");
    w.buttonBack().setFocus();
    EXPECT_EQ(w.focus(), "buttonBack");
}

TEST_F(HeadlessWindowTest, ProgressBarRefusesValuesOutsideItsRange) {
    HeadlessWindow w;
    auto& bar = w.progressBar();
    bar.setMax(200);
    bar.setValue(200);
    for (float bad : {200.5f, -1.0f}) {
        try {
            bar.setValue(bad);
            FAIL() << bad << " accepted";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.code(), 380);
        }
    }
    EXPECT_EQ(bar.value(), 200);
}

TEST_F(HeadlessWindowTest, TextBoxCountsAppendsIncrementally) {
    HeadlessWindow w;
    auto& box = w.logText();
    box.appendText("x\xE2");  // a sequence cut off by the end of this append ...
    EXPECT_EQ(box.length(), 2);
    box.appendText("\x82\xAC\r\n");  // ... and completed by the next one: one euro sign
    EXPECT_EQ(box.length(), 4);
    box.appendText("\xE2");
    box.appendText("z");  // this time it stays a bad byte
    EXPECT_EQ(box.length(), 6);
    EXPECT_EQ(box.length(), platform::utf16Length(box.text()));

    box.setSelection(3, 100);
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 3);
    box.setSelection(-4, 2);
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 2);
    box.appendText("more");
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 2);
    box.setText("new");
    EXPECT_EQ(box.length(), 3);
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 0);
}

TEST_F(HeadlessWindowTest, MessageBoxesAnswerFromTheQueueAndAreWrittenWhenShown) {
    HeadlessWindow w;
    std::ostringstream out;
    w.setTranscript(&out);

    EXPECT_EQ(w.msgBox("Done\r\n", ui::Buttons::ok, ui::Icon::information, "T"), ui::Answer::ok);
    w.queueAnswer(ui::Answer::no);
    w.queueAnswer(ui::Answer::yes);
    EXPECT_EQ(w.msgBox("Q1", ui::Buttons::yesNo, ui::Icon::question, "Restart"), ui::Answer::no);
    // An OK box leaves the queue alone.
    w.msgBox("E", ui::Buttons::ok, ui::Icon::critical, "Error!");
    EXPECT_EQ(w.queuedAnswers(), 1u);
    EXPECT_EQ(w.msgBox("Q2", ui::Buttons::yesNo, ui::Icon::exclamation, "warning!"),
              ui::Answer::yes);
    EXPECT_THROW(w.msgBox("Q3", ui::Buttons::yesNo, ui::Icon::none, "x"), ui::NoAnswerQueued);

    const std::vector<std::string> expected{
        R"({"event":"msgbox","title":"T","icon":"information","buttons":"ok","text":"Done\r\n","answer":"ok"})",
        R"({"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Q1","answer":"no"})",
        R"({"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"E","answer":"ok"})",
        R"({"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Q2","answer":"yes"})",
    };
    EXPECT_EQ(w.events(), expected);
    EXPECT_EQ(w.messageBoxes().size(), 4u);
    EXPECT_EQ(out.str(),
              expected[0] + "\n" + expected[1] + "\n" + expected[2] + "\n" + expected[3] + "\n");
}

TEST_F(HeadlessWindowTest, StatusLogAndEndEvents) {
    HeadlessWindow w;
    w.statusShown("s \"1\"");
    w.logAppended("l\\1");
    w.quit();
    w.quit();
    EXPECT_TRUE(w.quitCalled());
    EXPECT_EQ(w.events(),
              (std::vector<std::string>{R"({"event":"status","text":"s \"1\""})",
                                        R"({"event":"log","text":"l\\1"})", R"({"event":"end"})"}));
}

TEST_F(HeadlessWindowTest, AboutBoxStartsEmptyAtEveryLoad) {
    HeadlessWindow w;
    auto& about = w.recordingAboutBox();
    about.load();
    about.setCaption("About X");
    about.lblTitle().setCaption("X");
    about.show();
    about.show();
    EXPECT_TRUE(about.shown());
    EXPECT_EQ(about.showCount(), 2);
    about.unload();
    EXPECT_FALSE(about.loaded());
    EXPECT_FALSE(about.shown());
    about.load();
    EXPECT_EQ(about.caption(), "");
    EXPECT_EQ(about.lblTitle().caption(), "");
    EXPECT_EQ(about.loadCount(), 2);
}

}  // namespace
