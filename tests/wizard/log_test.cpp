// The status line, the log and its panel, the message boxes and the number texts.
#include <gtest/gtest.h>

#include "platform/context.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "state/identity.h"
#include "state/state.h"
#include "ui/messages.h"
#include "ui/recording_window.h"
#include "wizard/wizard.h"

namespace {

using ui::appendLog;
using ui::setStatus;

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::resetState();
        platform::installDrives(&drives);
        window = std::make_unique<ui::RecordingWindow>();
        ui::installWindow(window.get());
        wizard::logShown = false;
    }
    void TearDown() override {
        ui::installWindow(nullptr);
        platform::resetContext();
    }
    // The log box shown, as the Log button leaves it.
    void showLog() {
        wizard::onLog();
        ASSERT_TRUE(window->logText().visible());
    }

    platform::FolderDriveTable drives;
    std::unique_ptr<ui::RecordingWindow> window;
};

TEST_F(LogTest, SetStatusWithTheLogHiddenLeavesTheSelection) {
    appendLog("x");
    window->logText().setSelection(1, 2);
    const int refreshes = window->recordingMainText().refreshCount();

    setStatus("abc");

    EXPECT_EQ(window->mainText().text(), "abc\r\n");
    EXPECT_GT(window->recordingMainText().refreshCount(), refreshes);
    EXPECT_EQ(window->logText().text(), "x\r\nabc\r\n");
    EXPECT_EQ(window->logText().selStart(), 1);
    EXPECT_EQ(window->logText().selLength(), 2);
    // The status event comes first, then the log line.
    ASSERT_EQ(window->record().size(), 3u);
    EXPECT_EQ(window->record()[1], "status: abc");
    EXPECT_EQ(window->record()[2], "log: abc");
}

TEST_F(LogTest, SetStatusReplacesTheStatusButKeepsTheWholeLog) {
    setStatus("first");
    setStatus("second");
    EXPECT_EQ(window->mainText().text(), "second\r\n");
    EXPECT_EQ(window->logText().text(), "first\r\nsecond\r\n");
    EXPECT_EQ(window->statuses(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(window->logs(), (std::vector<std::string>{"first", "second"}));
}

TEST_F(LogTest, AppendWhileShownSelectsTheNewMessage) {
    appendLog("x");
    showLog();

    appendLog("abc");

    EXPECT_EQ(window->logText().text(), "x\r\nabc\r\n");
    EXPECT_EQ(window->logText().length(), 8);
    EXPECT_EQ(window->logText().selStart(), 3);
    EXPECT_EQ(window->logText().selLength(), 3);
}

TEST_F(LogTest, MultiLineMessageIsSelectedWhole) {
    showLog();
    appendLog("ERROR \r\nDrive A: is not ready.");
    EXPECT_EQ(window->logText().selStart(), 0);
    EXPECT_EQ(window->logText().selLength(), 30);
    appendLog("");  // an empty message selects nothing, right after the previous line
    EXPECT_EQ(window->logText().selStart(), 32);
    EXPECT_EQ(window->logText().selLength(), 0);
}

TEST_F(LogTest, SelectionCountsUtf16Units) {
    showLog();
    appendLog(
        "Gr\xC3\xB6\xC3\x9F"
        "e");  // 5 units in 7 bytes
    appendLog(
        "\xE2\x82\xAC"
        "1 \xF0\x9F\x98\x80");  // euro, "1 ", one code point above U+FFFF
    EXPECT_EQ(window->logText().length(), 5 + 2 + 5 + 2);
    EXPECT_EQ(window->logText().selStart(), 7);
    EXPECT_EQ(window->logText().selLength(), 5);

    // A byte that is not UTF-8 counts as one unit, in the message and in the box alike.
    appendLog(
        "a\xFF"
        "b\xE2\x82");
    EXPECT_EQ(window->logText().selStart(), 14);
    EXPECT_EQ(window->logText().selLength(), 5);
    EXPECT_EQ(window->logText().length(), 21);
}

TEST_F(LogTest, PromptForDisketteWritesTheNumberPlain) {
    ui::promptForDiskette(12);
    EXPECT_EQ(window->mainText().text(), "Please insert diskette #12 and press the OK button\r\n");
    EXPECT_EQ(window->logs().back(), "Please insert diskette #12 and press the OK button");
}

TEST_F(LogTest, LogButtonGrowsAndShrinksTheWindowAndItsFrame) {
    appendLog("x");
    window->logText().setSelection(0, 1);

    wizard::onLog();
    EXPECT_TRUE(wizard::logShown);
    EXPECT_TRUE(window->logText().visible());
    EXPECT_EQ(window->height(), 9935);
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::hideLog);
    EXPECT_EQ(window->frameLine(3).y1(), 9080);
    EXPECT_EQ(window->frameLine(3).y2(), 9080);
    EXPECT_EQ(window->frameLine(2).y2(), 9080);
    EXPECT_EQ(window->frameLine(4).y2(), 9080);
    // Upper ends and the horizontal extent stay.
    EXPECT_EQ(window->frameLine(2).y1(), 120);
    EXPECT_EQ(window->frameLine(4).y1(), 120);
    EXPECT_EQ(window->frameLine(3).x1(), 120);
    EXPECT_EQ(window->frameLine(3).x2(), 8040);

    wizard::onLog();
    EXPECT_FALSE(wizard::logShown);
    EXPECT_FALSE(window->logText().visible());
    EXPECT_EQ(window->height(), 6990);
    EXPECT_EQ(window->buttonLog().picture(), ui::Picture::showLog);
    EXPECT_EQ(window->frameLine(3).y1(), 6240);
    EXPECT_EQ(window->frameLine(3).y2(), 6240);
    EXPECT_EQ(window->frameLine(2).y2(), 6240);
    EXPECT_EQ(window->frameLine(4).y2(), 6240);

    // The toggle neither moves nor selects text.
    EXPECT_EQ(window->logText().selStart(), 0);
    EXPECT_EQ(window->logText().selLength(), 1);
    EXPECT_EQ(window->logText().text(), "x\r\n");
}

TEST_F(LogTest, MessageBoxesAndReports) {
    ui::msgBox("Unknown type Drive Q:", ui::Buttons::ok, ui::Icon::critical);
    ui::report("\r\nDrive A: is not ready.", "ERROR ");

    ASSERT_EQ(window->messageBoxes().size(), 2u);
    EXPECT_EQ(window->messageBoxes()[0].title, app::appTitle);
    const auto& box = window->messageBoxes()[1];
    EXPECT_EQ(box.text, "\r\nDrive A: is not ready.");
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.icon, ui::Icon::critical);
    EXPECT_EQ(box.buttons, ui::Buttons::ok);
    EXPECT_EQ(app::errorText, "\r\nDrive A: is not ready.");
    EXPECT_EQ(window->logs().back(), "ERROR \r\nDrive A: is not ready.");
    // The log line is written before the box is shown.
    EXPECT_EQ(window->record().back().substr(0, 8), "msgbox: ");
}

TEST_F(LogTest, EndProgramUnwinds) {
    bool after = false;
    EXPECT_THROW(
        {
            ui::endProgram();
            after = true;
        },
        ui::ProgramEnded);
    EXPECT_FALSE(after);
}

TEST(NumberText, ShortestPlainDecimal) {
    using ui::numberText;
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(12), "12");
    EXPECT_EQ(numberText(-7), "-7");
    EXPECT_EQ(numberText(123456789012.0), "123456789012");
    EXPECT_EQ(numberText(1e20), "100000000000000000000");
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(1e-7), "0.0000001");
    EXPECT_EQ(numberText(2.5), "2.5");
}

}  // namespace
