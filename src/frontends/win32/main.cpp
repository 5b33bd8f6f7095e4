// velt-converter.exe: the desktop program on Windows. The temporary area lies in the user's own
// temporary folder, as on the designed-for platform, so nothing is made before the start-up
// sequence has checked for another instance.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "frontends/win32/win32_controls.h"
#include "frontends/win32/win32_main_window.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "platform/machine_drives.h"
#include "platform/session_log.h"
#include "platform/state_folder.h"
#include "platform/temp_folder.h"
#include "state/identity.h"
#include "ui/main_window.h"
#include "ui/session_log.h"
#include "wizard/events.h"
#include "wizard/wizard.h"

namespace {

// The user's digit grouping symbol, for the free space the drive information shows.
std::string groupSeparator() {
    wchar_t symbol[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, symbol, 8) == 0)
        return ",";
    return win32ui::utf8(symbol);
}

// Text for the output the program was started with (a redirection, or the console it was
// started from); a message box when it has none, as when started from the desktop.
void tell(const std::string& text, DWORD which) {
    HANDLE out = GetStdHandle(which);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr);
    DWORD written = 0;
    if (out == nullptr || out == INVALID_HANDLE_VALUE ||
        !WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        MessageBoxW(nullptr, win32ui::wide(text).c_str(), L"velt-converter", MB_OK);
}

std::string usage() {
    return std::string("Usage: velt-converter [options]\r\n") + app::appTitle +
           ": moves a switching system's database from its diskettes to a Compact Flash "
           "card.\r\n\r\nOptions:\r\n"
           "  -h, --help     Displays help on commandline options.\r\n"
           "  -v, --version  Displays version information.\r\n";
}

// --help and --version are answered, and anything else on the command line refused, before a
// window is made: the exit status then, or nothing to go on.
std::optional<int> answerCommandLine() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr)
        return std::nullopt;
    std::optional<int> status;
    for (int i = 1; i < count && !status; ++i) {
        const std::wstring word = words[i];
        if (word == L"--help" || word == L"-h" || word == L"/?") {
            tell(usage(), STD_OUTPUT_HANDLE);
            status = 0;
        } else if (word == L"--version" || word == L"-v") {
            tell("velt-converter " + app::versionText() + "\r\n", STD_OUTPUT_HANDLE);
            status = 0;
        } else {
            const std::string what =
                word.starts_with(L"-") ? "unknown option " : "no arguments are taken: ";
            tell("velt-converter: " + what + win32ui::utf8(word.c_str()) + "\r\n" + usage(),
                 STD_ERROR_HANDLE);
            status = 2;
        }
    }
    LocalFree(words);
    return status;
}

}  // namespace

int main() {
    if (const std::optional<int> status = answerCommandLine())
        return *status;
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
    wizard::setDigitGrouping(groupSeparator());

    win32ui::Win32MainWindow window;
    window.setImageDrives(&drives);
    ui::installWindow(&window);
    platform::setStateFolder(platform::userStateFolder());
    ui::startSessionLog(platform::sessionLogFolder());
    int status = 0;
    if (wizard::handle(wizard::Event::load))
        status = window.run();
    ui::stopSessionLog();
    ui::installWindow(nullptr);
    return status;
}
