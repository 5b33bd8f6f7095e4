// The table of the window's events and the handlers they run.
#include "wizard/events.h"

#include <functional>

#include "platform/error.h"
#include "platform/image_drives.h"
#include "ui/main_window.h"
#include "ui/util_module.h"
#include "wizard/form1.h"

namespace wizard {

namespace {

std::function<void()> handlerOf(Event event) {
    switch (event) {
        case Event::load:
            return Form1::Form_Load;
        case Event::okClick:
            return Form1::buttonOK_Click;
        case Event::backClick:
            return Form1::buttonBack_Click;
        case Event::exitClick:
            return Form1::buttonExit_Click;
        case Event::logClick:
            return Form1::buttonLog_Click;
        case Event::driveListKeyDown:
            return Form1::DriveList_KeyDown;
        case Event::aboutClick:
            return Form1::About_Click;
        case Event::aboutOkClick:
            return frmAbout::cmdOK_Click;
        case Event::imageChosen:
        case Event::drivesChanged:
            return Form1::Drives_Changed;
    }
    return [] {};
}

// An event that arrives while another is being handled (the toolkit let the window breathe
// during long work) is dropped: no click is taken before the work ends.
// A change of the drives that arrives meanwhile (a card mounted or released by the work itself)
// is not lost: the list is read again once the work ends.
bool drivesPending = false;

bool run(const std::function<void()>& handler) {
    bool alive = Form1::dispatch(handler);
    while (alive && drivesPending) {
        drivesPending = false;
        alive = Form1::dispatch(Form1::Drives_Changed);
    }
    return alive;
}

}  // namespace

bool handle(Event event) {
    if (Form1::busy()) {
        if (event == Event::drivesChanged)
            drivesPending = true;
        return !Form1::ended();
    }
    return run(handlerOf(event));
}

bool handleDrivePicked(int16_t index) {
    if (Form1::busy())
        return !Form1::ended();
    return run([index] { ui::window().driveList().setListIndex(index); });
}

bool busy() {
    return Form1::busy();
}

bool handleCloseRequest() {
    if (Form1::ended())
        return true;
    // The close box in the middle of long work is ignored; the user may close once it ends.
    if (Form1::busy())
        return false;
    bool cancel = false;
    return !run([&cancel] { Form1::Form_QueryUnload(cancel); });
}

void chooseDisketteImage(platform::ImageDriveTable& drives, const Dialog& openFile) {
    static std::string lastImage;  // UTF-8, for the next proposal
    if (busy())
        return;
    const std::string file =
        openFile(lastImage.empty() ? std::string() : platform::nextInSeries(lastImage));
    if (file.empty())
        return;
    run([&] {
        try {
            drives.putImage(file);
        } catch (const platform::Error& e) {
            UtilModule::report(e.description(), "ERROR ");
            return;
        }
        lastImage = file;
        Form1::Drives_Changed();
    });
}

bool chooseKeptImagesFolder(const Dialog& openFolder) {
    if (!busy()) {
        const std::string folder = openFolder(Form1::keptImagesFolder());
        if (!folder.empty())
            Form1::keepImagesIn(folder);
    }
    return !Form1::keptImagesFolder().empty();
}

}  // namespace wizard
