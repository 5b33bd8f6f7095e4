// velt-converter.exe: the desktop program on Windows. The temporary area lies in the user's own
// temporary folder, as on the designed-for platform, so nothing is made before the start-up
// sequence has checked for another instance.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "frontends/win32/win32_controls.h"
#include "frontends/win32/win32_main_window.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "platform/machine_drives.h"
#include "platform/temp_folder.h"
#include "ui/main_window.h"
#include "wizard/events.h"
#include "wizard/form1.h"

namespace {

// The user's digit grouping symbol, for the free space the drive information shows.
std::string groupSeparator() {
    wchar_t symbol[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, symbol, 8) == 0)
        return ",";
    return win32ui::utf8(symbol);
}

}  // namespace

int main() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    platform::ImageDriveTable drives(platform::machineDrives());
    platform::installDrives(&drives);
    try {
        platform::setTempFolder(platform::converterPathOnC(platform::hostTempDirectory()));
    } catch (const platform::Error& e) {
        MessageBoxW(
            nullptr,
            win32ui::wide("The temporary folder cannot be used.\r\n" + e.description()).c_str(),
            L"Error!", MB_OK | MB_ICONERROR);
        return 1;
    }
    Form1::setDigitGrouping(groupSeparator());

    win32ui::Win32MainWindow window;
    window.setImageDrives(&drives);
    ui::installWindow(&window);
    int status = 0;
    if (wizard::handle(wizard::Event::load))
        status = window.run();
    ui::installWindow(nullptr);
    return status;
}
