// The Log button: shows or hides the log box, growing or shrinking the window and its frame.
#include "ui/main_window.h"
#include "wizard/wizard.h"

namespace wizard {

namespace {

// Moves the frame's bottom edge, and the lower ends of its side edges, to `bottom`.
void setFrameBottom(ui::MainWindow& w, int bottom) {
    auto& right = w.frameLine(2);
    auto& lower = w.frameLine(3);
    auto& left = w.frameLine(4);
    lower.setEnds(lower.x1(), bottom, lower.x2(), bottom);
    right.setEnds(right.x1(), right.y1(), right.x2(), bottom);
    left.setEnds(left.x1(), left.y1(), left.x2(), bottom);
}

}  // namespace

void onLog() {
    auto& w = ui::window();
    if (logShown) {
        logShown = false;
        w.buttonLog().setPicture(ui::Picture::showLog);
        w.logText().setVisible(false);
        w.setHeight(6990);
        setFrameBottom(w, 6240);
    } else {
        logShown = true;
        w.buttonLog().setPicture(ui::Picture::hideLog);
        w.logText().setVisible(true);
        w.setHeight(9935);
        setFrameBottom(w, 9080);
    }
}

}  // namespace wizard
