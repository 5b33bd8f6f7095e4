// The window's events, named once. The form's table says which control sends which; each front
// end maps its toolkit's signals onto them, and the wizard runs them through its boundary.
#pragma once

namespace ui {

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

}  // namespace ui
