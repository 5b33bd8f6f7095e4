// The event boundary every window event enters through, the OK button's dispatch by step, and
// the About entry.
#include "wizard/wizard.h"

#include <new>
#include <stdexcept>
#include <string>

#include "platform/error.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard_internal.h"

namespace wizard {

namespace {
bool programEnded = false;
int depth = 0;  // events being handled

void reportUnhandled(const platform::Error& e) {
    detail::reportError(e.description() + " (error " + std::to_string(e.code()) + ")");
}
}  // namespace

bool dispatch(const std::function<void()>& handler) {
    if (programEnded)
        return false;
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    try {
        handler();
    } catch (const ui::ProgramEnded&) {
        programEnded = true;
        ui::window().quit();
        return false;
    } catch (const platform::Error& e) {
        // Nothing reported this failure: show it, and the program goes on.
        reportUnhandled(e);
    } catch (const std::bad_alloc&) {
        reportUnhandled(platform::Error(platform::err::outOfMemory));
    } catch (const std::out_of_range&) {
        reportUnhandled(platform::Error(platform::err::subscriptOutOfRange));
    }
    return true;
}

bool ended() {
    return programEnded;
}

bool busy() {
    return depth > 0;
}

void resetForm() {
    programEnded = false;
    savedListIndex = 0;
    logShown = false;
    keepImagesIn("");
}

void onOk() {
    switch (app::wizardStep) {
        case app::Step::floppyDrive:
            acceptFloppyDrive();
            break;
        case app::Step::firstDiskette:
            readFirstDiskette();
            break;
        case app::Step::nextDiskette:
            readNextDiskette();
            break;
        case app::Step::cardDrive:
            acceptFlashDrive();
            break;
        case app::Step::done:
            startAnotherCopy();
            break;
    }
}

void onAbout() {
    wizard::showAbout();
}

}  // namespace wizard
