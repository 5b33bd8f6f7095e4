// The one entry of the window's events into the logic, and the menu's flows. Each front end maps
// its toolkit's signals onto the events and does nothing else with them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/events.h"
#include "ui/form.h"

namespace platform {
class ImageDriveTable;
}

namespace wizard {

using Event = ui::Event;

// Runs the event through the boundary. Returns false once the program has ended: the toolkit
// then quits and delivers no more events. A change of the drives during another event is run
// after it; any other event during another is dropped.
bool handle(Event event);

// The user picked entry `index` of the drive list: its list index is set, which raises the
// change handling. Returns false once the program has ended.
bool handleDrivePicked(int16_t index);

// The window's close box. Returns true when the window is to close (the program has ended);
// false when it stays: the user declined, or a failure was shown and the program goes on.
bool handleCloseRequest();

// A dialog of the toolkit's that picks one of `entries` (the drives as the drive list shows
// them), starting at `proposed`; it returns the entry picked ("" for none).
using DriveDialog = std::function<std::string(const std::vector<std::string>& entries,
                                              const std::string& proposed)>;

// "Check Compact Flash card...": the dialog proposes the card drive chosen last (else the last
// removable drive) and the card in the drive picked is checked. At any step; nothing while an
// event is being handled.
void chooseCardToCheck(const DriveDialog& pickDrive);

// What a toolkit hands the menu: its own dialogs, the desktop's opening of a local file or
// folder, and an entry's text. What each entry does is the wizard's (menuChosen).
class MenuToolkit {
  public:
    virtual ~MenuToolkit() = default;
    // The drives whose floppy drive takes a chosen image; nullptr when there are none.
    virtual platform::ImageDriveTable* imageDrives() = 0;
    // The file and folder dialogs, starting at a file or folder; "" when cancelled.
    virtual std::string openImageFile(const std::string& proposal) = 0;
    virtual std::string openFolder(const std::string& current) = 0;
    virtual std::string pickCardDrive(const std::vector<std::string>& entries,
                                      const std::string& proposed) = 0;
    virtual bool openLocal(const std::filesystem::path& path) = 0;
    // The mark a checked entry wears before its text (a menu bar draws no check of its own).
    virtual std::string_view checkMark() const = 0;
    virtual void setMenuText(ui::form::Menu entry, const std::string& text) = 0;
};

// A menu entry was chosen: its flow runs with the toolkit's dialogs. "Diskette image...": the
// file dialog proposes the next image of the series picked last; the image chosen goes into
// the floppy drive, and a file that is no diskette image is reported. "Keep diskette
// images...": the folder dialog starts at the folder kept so far, and the entry wears the check
// mark while images are kept. Nothing while an event is being handled.
void menuChosen(ui::form::Menu entry, MenuToolkit& toolkit);

// True while an event is being handled: the toolkit takes no other event meanwhile.
bool busy();

}  // namespace wizard
