// What the Qt window tests share: a fresh program state with folder drives, the Qt window
// installed with its message boxes answered by the test, and screenshots.
#pragma once

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frontends/qt/qt_main_window.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"
#include "support/window_drives.h"

namespace qttest {

using testsupport::medium;

class QtWindowTest : public ::testing::Test {
  protected:
    // Drives: a: removable without a diskette, c: fixed "SYSTEM" holding the temporary
    // folder C:\Temp, e: removable "CF".
    void SetUp() override;
    void TearDown() override;

    // onLoad through the boundary; the window is shown and exposed afterwards.
    void start();
    // Picks the drive list entry that begins with `letter` ("e:") as a user does.
    void pick(const std::string& letter);
    void click(const char* button);
    // The widget of a control, by its object name.
    template <typename W>
    W* child(const char* name) const {
        W* w = window->widget()->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The rectangle in pixels of twips on the window's screen.
    QRect px(int left, int top, int width, int height) const;
    // Saves a picture of `widget` as NAME.png in the screenshot folder.
    static void screenshot(QWidget* widget, const std::string& name);

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;
    std::unique_ptr<qtui::QtMainWindow> window;
    // The message boxes as the window showed them, and a picture of the first of each icon.
    std::vector<QMessageBox::Icon> shownIcons;
    std::vector<QString> shownTitles;
};

}  // namespace qttest
