// The running main window that the wizard's procedures work on, installed by the front end.
#include <stdexcept>

#include "ui/main_window.h"

namespace ui {

namespace {
MainWindow* installed = nullptr;
}

void installWindow(MainWindow* w) {
    installed = w;
}

MainWindow& window() {
    if (installed == nullptr)
        throw std::logic_error("no main window installed");
    return *installed;
}

bool hasWindow() {
    return installed != nullptr;
}

void keepAlive() {
    if (hasWindow())
        window().keepAlive();
}

}  // namespace ui
