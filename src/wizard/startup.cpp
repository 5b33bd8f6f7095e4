// Start-up: the single-instance check, the window's first state, the log banner and the move
// into the floppy drive step.
#include <string>

#include "rebuild/kept_copies.h"
#include "state/identity.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

using detail::crlf;

void onLoad() {
    auto& w = ui::window();
    auto& list = w.driveList();
    // Raised by code and by the user alike, and never through the boundary a second time.
    list.setChangeHandler(onDriveChange);

    // Runs before the caption is set, so that this window cannot find itself.
    if (w.anotherInstanceRunning()) {
        ui::errorBox(std::string("Can not run muliply instances of VELT Database") + crlf +
                     "Media Converter application");
        ui::endProgram();
    }
    w.show();
    app::currentDisk = 0;

    // The second entry, as on a machine whose first drive is the floppy; with a single drive
    // that one, and with none the list stays without a choice.
    if (list.listCount() >= 2)
        list.setListIndex(1);
    else if (list.listCount() == 1)
        list.setListIndex(0);
    savedListIndex = list.listIndex();
    list.setFocus();

    w.setCaption(app::appTitle);
    w.mainText().setLocked(true);
    w.mainText().setText("");
    w.mainText().setFontSize(11);
    ui::appendLog(std::string(crlf) + std::string(31, '=') + crlf + app::appTitle + " Version " +
                  app::versionText());
    // Old databases that only this computer may still hold: the technician must know of them.
    for (const std::string& copy : rebuild::keptCopies())
        ui::appendLog("An earlier write kept the previous database of a card in " + copy);
    ui::setProgressMin(0);
    promptFloppyDrive();
    if (list.listCount() > 0)
        showDriveInfo();

    logShown = false;
    w.buttonLog().setPicture(ui::Picture::showLog);
    w.logText().setVisible(false);
    w.buttonBack().setEnabled(false);
    w.logText().setBackColor(ui::Color{213, 200, 187});
}

}  // namespace wizard
