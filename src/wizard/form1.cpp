// The event boundary every window event enters through, the OK button's dispatch by step, and
// the About entry.
#include "wizard/form1.h"

#include <string>

#include "app/state.h"
#include "platform/error.h"
#include "wizard/form1_internal.h"
#include "wizard/main_window.h"
#include "wizard/util_module.h"

namespace Form1 {

namespace {
bool programEnded = false;
}

bool dispatch(const std::function<void()>& handler) {
    if (programEnded)
        return false;
    try {
        handler();
    } catch (const UtilModule::ProgramEnded&) {
        programEnded = true;
        wizard::window().quit();
        return false;
    } catch (const platform::Error& e) {
        // Nothing reported this failure: show it, and the program goes on.
        detail::reportError(e.description() + " (error " + std::to_string(e.code()) + ")");
    }
    return true;
}

bool ended() {
    return programEnded;
}

void resetForm() {
    programEnded = false;
    savedListIndex = 0;
    logShown = false;
}

void buttonOK_Click() {
    switch (app::wizardStep) {
        case 0:
            acceptFloppyDrive();
            break;
        case 1:
            readFirstDiskette();
            break;
        case 2:
            readNextDiskette();
            break;
        case 3:
            acceptFlashDrive();
            break;
        case 4:
            startAnotherCopy();
            break;
        default:
            break;
    }
}

void About_Click() {
    frmAbout::showAbout();
}

}  // namespace Form1
