// The window's events, named once. Each front end maps its toolkit's signals onto this table
// and does nothing else with them; every event enters the logic through the boundary.
#pragma once

#include <cstdint>

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

// True while an event is being handled: the toolkit takes no other event meanwhile.
bool busy();

}  // namespace wizard
