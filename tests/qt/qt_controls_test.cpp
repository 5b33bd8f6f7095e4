// The control adapters on their own: texts counted as the logic counts them (a CR LF pair two
// units) while the widget shows one line break, and the controls' refusals.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextCursor>

#include "frontends/qt/qt_controls.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"

namespace {

using qtui::QtTextBox;
using qtui::ShownText;

using testsupport::codeOf;

TEST(QtShownText, OffsetsMapBetweenUnitsAndTheShownText) {
    ShownText t;
    EXPECT_EQ(t.append(QString("ab\r\ncd\re\nf\r")), QString("ab\ncd\ne\nf\n"));
    EXPECT_EQ(t.length(), 11);
    // Units:  a0 b1 CR2 LF3 c4 d5 CR6 e7 LF8 f9 CR10; shown: a0 b1 \n2 c3 d4 \n5 e6 \n7 f8 \n9
    EXPECT_EQ(t.toShown(2), 2);
    EXPECT_EQ(t.toShown(4), 3);
    EXPECT_EQ(t.toShown(3), 3);  // between CR and LF: after the break
    EXPECT_EQ(t.toShown(7), 6);
    EXPECT_EQ(t.toUnits(2), 2);
    EXPECT_EQ(t.toUnits(3), 4);
    EXPECT_EQ(t.toUnits(9), 10);
    // A pair split over two appends shows one break.
    EXPECT_EQ(t.append(QString("\ng")), QString("g"));
    EXPECT_EQ(t.length(), 13);
    EXPECT_EQ(t.toUnits(10), 12);
    EXPECT_EQ(t.toShown(12), 10);
}

TEST(QtTextBoxTest, SelectionIsCountedWithCrLfAsTwoUnits) {
    QPlainTextEdit edit;
    QtTextBox box(&edit);
    box.setText("x\r\n");
    box.appendText("abc\r\n");
    EXPECT_EQ(box.text(), "x\r\nabc\r\n");
    EXPECT_EQ(box.length(), 8);
    EXPECT_EQ(edit.toPlainText(), "x\nabc\n");
    box.setSelection(3, 3);
    EXPECT_EQ(edit.textCursor().selectedText(), "abc");
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 3);

    // Appending leaves the selection alone, even one that reaches the end; a new text clears it.
    box.setSelection(0, 100);
    EXPECT_EQ(box.selLength(), 8);
    box.appendText("d\r\n");
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 8);
    box.setSelection(-5, 2);  // clipped, and ending between CR and LF
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 2);
    // A selection the user makes with the mouse is read back from the widget.
    QTextCursor user(edit.document());
    user.setPosition(2);
    user.setPosition(5, QTextCursor::KeepAnchor);
    edit.setTextCursor(user);
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 3);
    box.setText("\xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80");  // UTF-8: two accents and an emoji
    EXPECT_EQ(box.length(), 6);
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 0);
}

TEST(QtTextBoxTest, LockedSizeAndColourReachTheWidget) {
    QPlainTextEdit edit;
    QtTextBox box(&edit);
    box.setLocked(true);
    EXPECT_TRUE(edit.isReadOnly());
    box.setFontSize(11);
    EXPECT_EQ(box.fontSize(), 11);
    box.setBackColor({213, 200, 187});
    EXPECT_EQ(box.backColor(), (ui::Color{213, 200, 187}));
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Highlight),
              edit.palette().color(QPalette::Active, QPalette::Highlight));
}

TEST(QtControls, ListIndexAndProgressValueAreChecked) {
    platform::FolderDriveTable drives;
    drives.define('A', platform::DriveType::removable, std::nullopt);
    platform::MediumOptions system;
    system.root = "/";
    system.label = "SYS";
    drives.define('C', platform::DriveType::fixed, system);
    platform::installDrives(&drives);
    QComboBox combo;
    qtui::QtDriveList list(&combo);
    int changes = 0;
    list.setChangeHandler([&] { ++changes; });
    EXPECT_EQ(list.listCount(), 2);
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.drive(), "");
    EXPECT_EQ(codeOf([&] { list.setListIndex(2); }), platform::err::invalidPropertyValue);
    EXPECT_EQ(codeOf([&] { list.entryAt(-1); }), platform::err::subscriptOutOfRange);
    list.setListIndex(1);
    list.setListIndex(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.drive(), "c: [SYS]");
    EXPECT_EQ(combo.currentText(), "c: [SYS]");
    // A drive that appears before the chosen one does not change the choice.
    drives.define('B', platform::DriveType::removable, std::nullopt);
    list.refreshDrives();
    EXPECT_EQ(list.listCount(), 3);
    EXPECT_EQ(list.listIndex(), 2);
    EXPECT_EQ(list.drive(), "c: [SYS]");
    EXPECT_EQ(combo.currentText(), "c: [SYS]");
    EXPECT_EQ(changes, 1);
    platform::resetContext();

    QProgressBar widget;
    qtui::QtProgressBar bar(&widget);
    bar.setMax(300);
    bar.setValue(150.5f);
    EXPECT_EQ(bar.value(), 150.5f);
    EXPECT_EQ(widget.value(), 151);
    EXPECT_EQ(codeOf([&] { bar.setValue(301); }), platform::err::invalidPropertyValue);
    EXPECT_EQ(codeOf([&] { bar.setValue(-1); }), platform::err::invalidPropertyValue);
    EXPECT_EQ(bar.value(), 150.5f);
}

}  // namespace
