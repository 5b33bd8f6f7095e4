// The Log button: shows or hides the log box, growing or shrinking the window and its frame.
#include "ui/form.h"
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
    logShown = !logShown;
    const ui::form::Height& height = logShown ? ui::form::logShown : ui::form::logHidden;
    w.buttonLog().setPicture(logShown ? ui::Picture::hideLog : ui::Picture::showLog);
    w.logText().setVisible(logShown);
    w.setHeight(height.window);
    setFrameBottom(w, height.frameBottom);
}

}  // namespace wizard
