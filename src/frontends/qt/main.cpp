// velt-converter: the desktop program. The instance lock is taken before anything else, and
// the private temporary folder is made only when this is the user's only instance, so that a
// second copy touches nothing of the first; it lets the start-up sequence report the other
// instance and end.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "frontends/qt/pictures.h"
#include "frontends/qt/qt_main_window.h"
#include "frontends/qt/udisks_drives.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "platform/instance_lock.h"
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

platform::LockState takeInstanceLock() {
    try {
        return platform::acquireInstanceLock(platform::instanceLockFile());
    } catch (const platform::Error&) {
        return platform::LockState::unavailable;  // no place for a lock: no check
    }
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(qtui::pictures::applicationIcon(size)));
    return icon;
}

// The toolkit's own options (QGuiApplication takes them from the command line), accepted and
// left to it; with a value or without.
constexpr const char* toolkitOptionsWithValue[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",   "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "display",       "geometry", "session",
    "style",        "stylesheet",         "title",         "icon",     "name",
    "qmljsdebugger"};
constexpr const char* toolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// --help and --version are answered, and an unknown option refused, before the toolkit looks for
// a display: the exit status then, or nothing to go on.
std::optional<int> answerCommandLine(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName("velt-converter");
    QCoreApplication::setApplicationVersion(QString::fromStdString(app::versionText()));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString::fromStdString(std::string(app::appTitle) +
                               ": moves a switching system's database from its diskettes to a "
                               "Compact Flash card."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const char* name : toolkitOptionsWithValue) {
        QCommandLineOption option(name, "", "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : toolkitFlags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && (parser.isSet(help) || parser.isSet("help-all"))) {
        std::cout << parser.helpText().toStdString();
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        std::cout << "velt-converter " << app::versionText() << "\n";
        return 0;
    }
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QString problem =
            parsed ? "no arguments are taken: " + parser.positionalArguments().join(' ')
                   : parser.errorText();
        std::cerr << "velt-converter: " << problem.toStdString() << "\n"
                  << parser.helpText().toStdString();
        return 2;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
    const platform::LockState lock = takeInstanceLock();

    QApplication application(argc, argv);
    // No display name: the toolkit would add it to every title, message boxes' included.
    QApplication::setApplicationName("velt-converter");
    QApplication::setApplicationVersion(QString::fromStdString(app::versionText()));
    QApplication::setDesktopFileName("com.halvex.VeltConverter");
    QApplication::setWindowIcon(programIcon());

    // The desktop's disk service where it runs; the block-device tree read directly where not.
    std::unique_ptr<platform::DriveTable> machine;
    qtui::UDisksDriveTable* udisks = nullptr;
    if (auto table = qtui::UDisksDriveTable::open(QDBusConnection::systemBus())) {
        udisks = table.get();
        machine = std::move(table);
    } else {
        machine = platform::machineDrives();
    }
    platform::ImageDriveTable drives(std::move(machine));
    platform::installDrives(&drives);

    std::filesystem::path tempFolder;
    if (lock != platform::LockState::heldElsewhere) {
        try {
            tempFolder = platform::privateTempFolder();
            platform::setTempFolder(platform::converterPathOnC(tempFolder));
        } catch (const platform::Error& e) {
            QMessageBox::critical(
                nullptr, "Error!",
                QString::fromStdString("The temporary folder cannot be used.\n" + e.description()));
            return 1;
        }
    }

    std::string separator = QLocale().groupSeparator().toStdString();
    wizard::setDigitGrouping(separator);

    qtui::QtMainWindow window;
    window.setInstanceCheck([lock] { return lock == platform::LockState::heldElsewhere; });
    window.setImageDrives(&drives);
    if (udisks != nullptr)
        window.watchDrives(udisks);
    ui::installWindow(&window);
    platform::setStateFolder(platform::userStateFolder());
    ui::startSessionLog(platform::sessionLogFolder());

    int status = 0;
    if (wizard::handle(wizard::Event::load))
        status = QApplication::exec();
    ui::stopSessionLog();
    // Exit has removed the areas inside; a folder still holding something is left to be seen.
    std::error_code ec;
    if (!tempFolder.empty())
        std::filesystem::remove(tempFolder, ec);
    return status;
}
