// The table of the window's events and the handlers they run.
#include "wizard/events.h"

#include <functional>

#include "platform/context.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/session_log.h"
#include "wizard/wizard.h"

namespace wizard {

namespace {

std::function<void()> handlerOf(Event event) {
    switch (event) {
        case Event::load:
            return wizard::onLoad;
        case Event::okClick:
            return wizard::onOk;
        case Event::backClick:
            return wizard::onBack;
        case Event::exitClick:
            return wizard::onExit;
        case Event::logClick:
            return wizard::onLog;
        case Event::driveListKeyDown:
            return wizard::onDriveListKey;
        case Event::aboutClick:
            return wizard::onAbout;
        case Event::aboutOkClick:
            return wizard::onAboutOk;
        case Event::imageChosen:
        case Event::drivesChanged:
            return wizard::onDrivesChanged;
    }
    return [] {};
}

// An event that arrives while another is being handled (the toolkit let the window breathe
// during long work) is dropped: no click is taken before the work ends.
// A change of the drives that arrives meanwhile (a card mounted or released by the work itself)
// is not lost: the list is read again once the work ends.
bool drivesPending = false;

bool run(const std::function<void()>& handler) {
    bool alive = wizard::dispatch(handler);
    while (alive && drivesPending) {
        drivesPending = false;
        alive = wizard::dispatch(wizard::onDrivesChanged);
    }
    return alive;
}

}  // namespace

bool handle(Event event) {
    if (wizard::busy()) {
        if (event == Event::drivesChanged)
            drivesPending = true;
        return !wizard::ended();
    }
    return run(handlerOf(event));
}

bool handleDrivePicked(int16_t index) {
    if (wizard::busy())
        return !wizard::ended();
    return run([index] { ui::window().driveList().setListIndex(index); });
}

bool handleCloseRequest() {
    if (wizard::ended())
        return true;
    // The close box in the middle of long work is ignored; the user may close once it ends.
    if (wizard::busy())
        return false;
    bool cancel = false;
    return !run([&cancel] { wizard::onCloseRequest(cancel); });
}

void chooseCardToCheck(const DriveDialog& pickDrive) {
    if (busy())
        return;
    std::vector<std::string> entries;
    std::string proposed;
    const bool alive = run([&] {
        for (const platform::Drive& d : platform::drives().list()) {
            entries.push_back(d.entry);
            const bool chosenBefore = !app::flashDrive.empty() && d.letter == app::flashDrive[0];
            const bool aCard = d.type == platform::DriveType::removable && d.letter > 'B';
            if (chosenBefore || (app::flashDrive.empty() && aCard))
                proposed = d.entry;
        }
    });
    if (!alive || entries.empty())
        return;
    const std::string entry = pickDrive(entries, proposed.empty() ? entries.front() : proposed);
    if (!entry.empty())
        run([&] { wizard::checkCard(entry); });
}

namespace {

void chooseDisketteImage(platform::ImageDriveTable& drives, MenuToolkit& toolkit) {
    static std::string lastImage;  // UTF-8, for the next proposal
    if (busy())
        return;
    const std::string file = toolkit.openImageFile(
        lastImage.empty() ? std::string() : platform::nextInSeries(lastImage));
    if (file.empty())
        return;
    run([&] {
        try {
            drives.putImage(file);
        } catch (const platform::Error& e) {
            ui::report(e.description(), "ERROR ");
            return;
        }
        lastImage = file;
        wizard::onDrivesChanged();
    });
}

bool chooseKeptImagesFolder(MenuToolkit& toolkit) {
    if (!busy()) {
        const std::string folder = toolkit.openFolder(wizard::keptImagesFolder());
        if (!folder.empty())
            wizard::keepImagesIn(folder);
    }
    return !wizard::keptImagesFolder().empty();
}

}  // namespace

void menuChosen(ui::form::Menu entry, MenuToolkit& toolkit) {
    using enum ui::form::Menu;
    const auto open = [&toolkit](const std::filesystem::path& p) { return toolkit.openLocal(p); };
    switch (entry) {
        case disketteImage:
            if (platform::ImageDriveTable* drives = toolkit.imageDrives())
                chooseDisketteImage(*drives, toolkit);
            break;
        case keepImages: {
            const bool on = chooseKeptImagesFolder(toolkit);
            toolkit.setMenuText(keepImages,
                                ui::form::menuText(keepImages, on, toolkit.checkMark()));
            break;
        }
        case checkCard:
            chooseCardToCheck(
                [&toolkit](const std::vector<std::string>& entries, const std::string& proposed) {
                    return toolkit.pickCardDrive(entries, proposed);
                });
            break;
        case logFolder:
            ui::showLogFolder(open);
            break;
        case guide:
            ui::showGuide(open);
            break;
        case about:
            handle(Event::aboutClick);
            break;
    }
}

}  // namespace wizard
