// The window's events, named once. Each front end maps its toolkit's signals onto this table
// and does nothing else with them; every event enters the logic through the boundary.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class ImageDriveTable;
}

namespace wizard {

enum class Event {
    load,              // the window is loaded
    okClick,           // buttonOK
    backClick,         // buttonBack
    exitClick,         // buttonExit
    logClick,          // buttonLog
    driveListKeyDown,  // a key pressed in the drive list
    aboutClick,        // the "About" menu entry
    aboutOkClick,      // the About box's OK button (or its close box)
    imageChosen,       // a diskette image was put into the floppy drive ("Diskette image...")
    drivesChanged,     // the machine's drives or media changed
};

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

// A dialog of the toolkit's: shown with a starting file or folder, it returns the one chosen
// ("" for none).
using Dialog = std::function<std::string(const std::string& start)>;

// The "Diskette image..." menu entry: the file dialog proposes the next image of the series
// picked last; the image chosen goes into the floppy drive of `drives`, and a file that is no
// diskette image is reported. Nothing while an event is being handled.
void chooseDisketteImage(platform::ImageDriveTable& drives, const Dialog& openFile);

// "Keep diskette images...": the folder dialog starts at the folder kept so far. Returns
// whether images are kept, for the entry's check mark.
bool chooseKeptImagesFolder(const Dialog& openFolder);

// A dialog of the toolkit's that picks one of `entries` (the drives as the drive list shows
// them), starting at `proposed`; it returns the entry picked ("" for none).
using DriveDialog = std::function<std::string(const std::vector<std::string>& entries,
                                              const std::string& proposed)>;

// "Check Compact Flash card...": the dialog proposes the card drive chosen last (else the last
// removable drive) and the card in the drive picked is checked. At any step; nothing while an
// event is being handled.
void chooseCardToCheck(const DriveDialog& pickDrive);

// True while an event is being handled: the toolkit takes no other event meanwhile.
bool busy();

}  // namespace wizard
