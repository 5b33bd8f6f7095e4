// "Check Compact Flash card...": a card checked at any step, with no diskette, in one box. The
// wizard's state, its step and its window stay as they were.
#include <string>

#include "fs/file_system.h"
#include "platform/context.h"
#include "platform/error.h"
#include "rebuild/card_check.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

using detail::crlf;

namespace {

constexpr const char* checkTitle = "Check Compact Flash card";

// The desktop mounts a card that is in its reader but not mounted; one it cannot mount is not
// ready, with the reason in the log.
bool mountedAndReady(const fs::DriveObject& drive) {
    try {
        const std::string done = platform::drives().mountForUse(drive.DriveLetter()[0]);
        if (!done.empty())
            ui::appendLog(done);
    } catch (const platform::Error& e) {
        ui::appendLog(e.description());
        return false;
    }
    return drive.IsReady();
}

std::string lines(const char* what, const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& p : paths)
        text += std::string(crlf) + what + p;
    return text;
}

// The finding, logged and shown: information for a whole database, critical otherwise.
void tell(const std::string& text, bool whole) {
    ui::appendLog(whole ? text : "ERROR " + text);
    ui::msgBox(text, ui::Buttons::ok, whole ? ui::Icon::information : ui::Icon::critical,
               checkTitle);
}

std::string filesMatch(int n) {
    return n == 1 ? "1 file matches its checksum"
                  : std::to_string(n) + " files match their checksums";
}

}  // namespace

void checkCard(const std::string& entry) {
    const fs::FileSystemObject fso;
    const fs::DriveObject drive = fso.GetDrive(fso.GetDriveName(entry));
    const std::string letter = drive.DriveLetter();
    const std::string name = letter + ":";
    ui::appendLog("Checking the Compact Flash card in " + name);
    if (!mountedAndReady(drive)) {
        detail::reportError(detail::notReadyText(letter));
        return;
    }

    const rebuild::CardCheck check = rebuild::checkCard(name);
    const std::string single = name + "\\backup\\single\\";
    switch (check.outcome) {
        case rebuild::CardCheck::Outcome::unfinished: {
            std::string folders;
            for (const std::string& f : check.unfinished)
                folders += std::string(crlf) + f;
            detail::reportError("An earlier write on " + name +
                                " was cut short and cannot be finished on this card:" + folders +
                                crlf + "Ensure the Compact Flash drive " + name +
                                " is not write protected, then check the card again");
            return;
        }
        case rebuild::CardCheck::Outcome::noDatabase:
            tell("No database: " + single + " does not exist", false);
            return;
        case rebuild::CardCheck::Outcome::damagedDescriptor:
            tell(single + "archive.dat is damaged: the files of the database cannot be checked" +
                     crlf + "Write the database to this card again, or use another card.",
                 false);
            return;
        case rebuild::CardCheck::Outcome::checked:
            break;
    }
    if (check.whole()) {
        tell(single + " holds a whole database: " + filesMatch(check.matched), true);
        return;
    }
    tell(single + " does not hold a whole database:" + lines("Missing: ", check.missing) +
             lines("Unreadable: ", check.unreadable) + lines("Changed: ", check.changed) + crlf +
             crlf + "Write the database to this card again, or use another card.",
         false);
}

}  // namespace wizard
