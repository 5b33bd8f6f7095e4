// A whole two-diskette conversion clicked through the Windows window, the progress bar of the
// common controls showing the reading, the success in the status box and the card written.
#include <windows.h>

#include <commctrl.h>

#include "capture.h"
#include "state/state.h"
#include "support/set_builder.h"
#include "window_fixture.h"

namespace win32test {
namespace {

using Win32Conversion = Win32WindowTest;

TEST_F(Win32Conversion, TwoDiskettesOntoTheCard) {
    testsupport::SetPlan plan;
    plan.disks = 2;
    const std::string data = testsupport::noise(3000, 7);
    plan.files = {testsupport::wholeFile("keycode.rec", "KEY-42"),
                  testsupport::spreadFile("db/data.dat", data, {{1, 1800}, {2, 1200}})};
    const auto set = testsupport::buildSet(scratch.path() / "set", plan);
    platform::MediumOptions disk;
    disk.root = set.disk(1);
    drives.insert('A', disk);

    start();
    pick("a:");
    click("buttonOK");
    click("buttonOK");
    ASSERT_EQ(app::wizardStep, 2);
    HWND bar = control("ProgressBar1");
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 200);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0),
              static_cast<LRESULT>(window->progressBar1().value()));
    EXPECT_GT(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

    disk.root = set.disk(2);
    drives.insert('A', disk);
    click("buttonOK");
    ASSERT_EQ(app::wizardStep, 3);
    pick("e:");
    click("buttonOK");
    ASSERT_EQ(app::wizardStep, 4);
    wchar_t status[256] = {};
    GetWindowTextW(control("mainText"), status, 256);
    EXPECT_STREQ(status,
                 L"Successful database convert\r\nTotal 2 diskettes\r\n"
                 L"Press OK for another copy or Exit\r\n");
    EXPECT_TRUE(window->messageBoxes().empty());
    const auto card = scratch.path() / "e/backup/single";
    EXPECT_EQ(testsupport::readFile(card / "keycode.rec"), "KEY-42");
    EXPECT_EQ(testsupport::readFile(card / "db/data.dat"), data);
    screenshot(window->handle(), "success");
}

}  // namespace
}  // namespace win32test
