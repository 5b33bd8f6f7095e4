// Kept diskette images: when the technician asks for it, every diskette accepted as #N of the
// set is saved as it was read, so that a failing diskette need not be read again.
#include <filesystem>

#include "fs/file_system.h"
#include "platform/block_reader.h"
#include "platform/error.h"
#include "platform/kept_images.h"
#include "state/state.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

namespace {
std::string keptFolder;  // UTF-8; empty while off
}

void keepImagesIn(const std::string& hostFolder) {
    keptFolder = hostFolder;
    // An image is only whole when every track was read, in use or not.
    platform::readWholeDiskettes(!keptFolder.empty());
}

const std::string& keptImagesFolder() {
    return keptFolder;
}

namespace detail {

void keepImage(int16_t n) {
    if (keptFolder.empty())
        return;
    try {
        const std::optional<platform::DisketteRead> read =
            fs::disketteRead(app::floppyDrive + "\\");
        if (!read)
            return;  // a folder, not a diskette
        const std::string stem =
            "archive" + ui::numberText(app::archiveId) + "-disk" + std::to_string(n);
        const std::filesystem::path folder(std::u8string(keptFolder.begin(), keptFolder.end()));
        platform::keepDisketteImage(folder, stem, *read);
    } catch (const platform::Error& e) {
        // The diskette was read all the same: the set goes on without its image.
        ui::appendLog("Diskette #" + std::to_string(n) + " not kept: " + e.description());
    }
}

}  // namespace detail

}  // namespace wizard
