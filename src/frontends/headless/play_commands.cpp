// The playing commands: the window loads, the user clicks, picks drives and answers, media go
// in and out, and the state is written.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "frontends/headless/commands.h"
#include "frontends/headless/json.h"
#include "frontends/headless/state_event.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/state_folder.h"
#include "wizard/events.h"
#include "wizard/wizard.h"

namespace script {

namespace {

// One window event through the wizard's boundary; the script stops once the program ended.
void raiseEvent(Session& s, wizard::Event event) {
    if (!wizard::handle(event))
        s.ended = true;
}

std::string driveText(char letter) {
    return std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":";
}

// The letter of a drive word naming a defined drive.
char definedDrive(Session& s, const std::string& command, const std::string& word) {
    const char letter = parseDriveWord(command, word);
    if (!s.drives.defined(letter))
        throw ScriptError(command + ": drive " + driveText(letter) + " is not defined");
    return letter;
}

// A script that names no state folder gets one of its own for the run, in the host's temporary
// directory, so that one run never sees what another left.
void makeOwnStateFolder(Session& s) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    std::random_device random;
    for (int tries = 0; !ec && tries < 100; ++tries) {
        const std::filesystem::path folder =
            base / ("velt-headless-state-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder, ec) && !ec) {
            s.ownStateFolder = folder;
            platform::setStateFolder(folder);
            return;
        }
    }
    throw ScriptError("start: no state folder could be made in the temporary directory");
}

// The temporary folder must lie on a defined, ready drive; its host folder is made if missing.
void prepareTemp(Session& s) {
    const std::string& temp = *s.temp;
    const char letter = parseDriveWord("temp", temp.substr(0, 2));
    const auto drive = s.drives.find(letter);
    if (!drive)
        throw ScriptError("temp: drive " + driveText(letter) + " is not defined", s.tempLine);
    if (!drive->ready)
        throw ScriptError("temp: drive " + driveText(letter) + " is not ready (it has no medium)",
                          s.tempLine);
    std::filesystem::path host;
    try {
        platform::MediumPath mp = platform::resolvePath(temp.size() == 2 ? temp + "\\" : temp);
        std::string relative = mp.relative;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        host = s.drives.hostRoot(letter) / hostPathOf(relative);
    } catch (const platform::Error& e) {
        throw ScriptError("temp: " + headless::jsonString(temp) + ": " + e.description(),
                          s.tempLine);
    }
    std::error_code ec;
    std::filesystem::create_directories(host, ec);
    if (ec || !std::filesystem::is_directory(host))
        throw ScriptError("temp: cannot make the folder " + headless::jsonString(utf8Of(host)) +
                              (ec ? ": " + ec.message() : std::string()),
                          s.tempLine);
    platform::setTempFolder(temp);
}

}  // namespace

void startCommand(Session& s, const Words& w) {
    expectWords(w, 1, "start");
    if (s.started)
        throw ScriptError("start: the window has already been loaded");
    if (!s.temp)
        throw ScriptError("start: no temporary folder was given (temp PATH)");
    prepareTemp(s);
    if (platform::stateFolder().empty())
        makeOwnStateFolder(s);
    s.started = true;
    s.window->setAnotherInstance(s.anotherInstance);
    s.window->driveList().refreshDrives();
    wizard::setDigitGrouping(",");
    raiseEvent(s, wizard::Event::load);
}

void selectCommand(Session& s, const Words& w) {
    expectWords(w, 2, "select L:");
    const char letter = definedDrive(s, "select", w[1]);
    auto& list = s.window->driveList();
    for (int16_t i = 0; i < list.listCount(); ++i) {
        if (platform::driveNameOf(list.entryAt(i)) == driveText(letter)) {
            if (!wizard::handleDrivePicked(i))
                s.ended = true;
            return;
        }
    }
    throw ScriptError("select: drive " + driveText(letter) + " is not in the drive list");
}

void insertCommand(Session& s, const Words& w) {
    if (w.size() < 3)
        throw ScriptError("insert: expected \"insert L: [OPTION ...] PATH\"");
    const char letter = definedDrive(s, "insert", w[1]);
    platform::MediumOptions medium = *parseMedium("insert", w, 2, false);
    try {
        s.drives.insert(letter, medium);
    } catch (const platform::Error& e) {
        throw ScriptError("insert: " + headless::jsonString(utf8Of(medium.root)) + ": " +
                          e.description());
    }
}

void ejectCommand(Session& s, const Words& w) {
    expectWords(w, 2, "eject L:");
    s.drives.eject(definedDrive(s, "eject", w[1]));
}

void clickCommand(Session& s, const Words& w) {
    expectWords(w, 1, w[0]);
    const std::string& name = w[0];
    if (name == "key") {
        raiseEvent(s, wizard::Event::driveListKeyDown);
    } else if (name == "ok") {
        raiseEvent(s, wizard::Event::okClick);
    } else if (name == "back") {
        raiseEvent(s, wizard::Event::backClick);
    } else if (name == "exit") {
        raiseEvent(s, wizard::Event::exitClick);
    } else if (name == "log") {
        raiseEvent(s, wizard::Event::logClick);
    } else if (name == "about") {
        raiseEvent(s, wizard::Event::aboutClick);
    } else if (name == "about-ok") {
        // There is no OK button to press while the box is closed.
        if (s.window->aboutBox().loaded())
            raiseEvent(s, wizard::Event::aboutOkClick);
    }
}

// The menu entry "Check Compact Flash card...", with the drive picked in its dialog.
void checkCardCommand(Session& s, const Words& w) {
    expectWords(w, 2, "check-card L:");
    const char letter = definedDrive(s, "check-card", w[1]);
    wizard::chooseCardToCheck([&](const std::vector<std::string>& entries, const std::string&) {
        for (const std::string& entry : entries) {
            if (platform::driveNameOf(entry) == driveText(letter))
                return entry;
        }
        throw ScriptError("check-card: drive " + driveText(letter) + " is not in the dialog");
    });
    if (wizard::ended())
        s.ended = true;
}

void closeCommand(Session& s, const Words& w) {
    expectWords(w, 1, "close");
    if (wizard::handleCloseRequest())
        s.ended = true;
}

void answerCommand(Session& s, const Words& w) {
    expectWords(w, 2, "answer yes|no");
    if (w[1] == "yes") {
        s.window->queueAnswer(ui::Answer::yes);
    } else if (w[1] == "no") {
        s.window->queueAnswer(ui::Answer::no);
    } else {
        throw ScriptError("answer: " + headless::jsonString(w[1]) + " is neither yes nor no");
    }
    s.answerLines.push_back(s.line);
}

void stateCommand(Session& s, const Words& w) {
    expectWords(w, 1, "state");
    s.window->writeEvent(stateEvent(*s.window));
}

}  // namespace script
