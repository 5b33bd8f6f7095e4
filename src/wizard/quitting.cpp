// Back, Exit and the close request: going back to the floppy drive or to diskette #1, and the
// orderly end that removes the temporary area first.
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

// Back to diskette #1; from the Compact Flash steps the drive choice is put away as well.
void restartDiskettes() {
    auto& w = ui::window();
    const bool fromFlashStep =
        app::wizardStep == app::Step::cardDrive || app::wizardStep == app::Step::done;
    ui::appendLog(std::string("Going back to 1st diskette") + crlf);
    app::currentDisk = 1;
    ui::promptForDiskette(1);
    w.progressBar().setVisible(false);
    if (fromFlashStep) {
        w.driveList().setVisible(false);
        w.driveSize().setVisible(false);
    }
    w.progressBar().setValue(0);
    w.summaryLabel().setCaption("");
    app::wizardStep = app::Step::firstDiskette;
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

void onBack() {
    switch (app::wizardStep) {
        case app::Step::floppyDrive:
            promptFloppyDrive();
            break;
        case app::Step::firstDiskette:
            ui::appendLog(std::string("Going back to select floppy drive") + crlf);
            promptFloppyDrive();
            break;
        case app::Step::nextDiskette:
            restartDiskettes();
            break;
        case app::Step::cardDrive:
        case app::Step::done:
            if (ui::msgBox("Start over reading from the first diskette?", ui::Buttons::yesNo,
                           ui::Icon::question, "Restart") == ui::Answer::yes)
                restartDiskettes();
            break;
    }
}

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
