// The About box: loaded once, filled when it loads, shown without being modal.
#include <string>

#include "state/identity.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"

namespace wizard {

namespace {

using ui::crlf;

// The dialog's load: its texts are built here, once a load.
void fillAboutBox(ui::AboutBox& box) {
    box.setCaption(std::string("About ") + app::appTitle);
    box.lblVersion().setCaption("Version " + std::to_string(app::versionMajor) + "." +
                                std::to_string(app::versionMinor) + " ( " + app::versionComments +
                                " )");
    box.lblTitle().setCaption(app::appTitle);
    std::string description =
        std::string("This tool converts the Valdrome system ") + "database from floppy ";
    description += std::string("diskettes form into Compact Flash based form.") + crlf;
    description +=
        std::string("To be used when upgrading to a PENTIUM IV based Valdrome system.") + crlf;
    description += std::string(crlf) + "By Halvex Networks.";
    box.lblDescription().setCaption(description);
}

}  // namespace

void showAbout() {
    auto& box = ui::window().aboutBox();
    if (!box.loaded()) {
        box.load();
        fillAboutBox(box);
    }
    box.show();
}

void onAbout() {
    showAbout();
}

void onAboutOk() {
    auto& box = ui::window().aboutBox();
    if (box.loaded())
        box.unload();
}

}  // namespace wizard
