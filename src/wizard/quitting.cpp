// Exit and the close request: the quit question, and the orderly end that removes the temporary
// area first.
#include <string>

#include "fs/temp_area.h"
#include "platform/error.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

using detail::crlf;

namespace {

const std::string& quitQuestion() {
    static const std::string q = std::string("Database conversion is not complete! ") + crlf +
                                 "Are you sure you want to quit?";
    return q;
}

// Logs the quit question and asks it; true on Yes.
bool askQuit() {
    ui::appendLog("QUERY " + quitQuestion());
    return ui::msgBox(quitQuestion(), ui::Buttons::yesNo, ui::Icon::exclamation, "warning!") ==
           ui::Answer::yes;
}

}  // namespace

namespace detail {

void endWithCleanUp() {
    try {
        fs::removeTempArea();
    } catch (const platform::Error& e) {
        // The user asked to end: say what was left behind, and end all the same.
        reportError(std::string("Failed to remove the temporary directory") + crlf +
                    e.description());
    }
    ui::endProgram();
}

}  // namespace detail

void onExit() {
    switch (app::wizardStep) {
        case app::Step::floppyDrive:
        case app::Step::firstDiskette:
        case app::Step::nextDiskette:
        case app::Step::cardDrive:
            confirmQuit();
            break;
        case app::Step::done:
            detail::endWithCleanUp();
            break;
    }
}

void confirmQuit() {
    if (askQuit())
        detail::endWithCleanUp();
}

void onCloseRequest(bool& cancel) {
    // Once the database is written there is nothing to lose; otherwise the user decides.
    if (app::wizardStep == app::Step::done || askQuit())
        detail::endWithCleanUp();
    cancel = true;
}

}  // namespace wizard
