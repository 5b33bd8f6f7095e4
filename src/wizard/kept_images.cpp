// Kept diskette images: when the technician asks for it, every diskette read is saved as it was
// read, the failing ones too, so that a failing diskette need not be read again; each is named
// after its place in its set, or its serial number when its volume file does not read.
#include <filesystem>
#include <optional>
#include <string>

#include "fs/file_system.h"
#include "platform/block_reader.h"
#include "platform/error.h"
#include "platform/kept_images.h"
#include "platform/paths.h"
#include "platform/text_case.h"
#include "platform/utf8_text.h"
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

namespace {

// "archive812-disk1" for a diskette whose volume file names it diskette #1 of set 812: the
// name of its volume file (diskNNNN.dat) and the Archive ID its first line carries; nothing
// when it has none that reads.
std::optional<std::string> setName(platform::Medium& medium) {
    try {
        for (const platform::MediumEntry& e : medium.list("")) {
            const std::string name = platform::lowerAscii(e.name);
            if (e.folder || name.size() != 12 || name.rfind("disk", 0) != 0 ||
                name.substr(8) != ".dat" || name.find_first_not_of("0123456789", 4) != 8 ||
                name.substr(4, 4) == "0000")
                continue;
            auto file = medium.open(e.name, platform::OpenMode::read, false);
            std::string line(200, '\0');
            line.resize(file->read(line.data(), line.size()));
            file->close();
            line = line.substr(0, line.find_first_of("\r\n"));
            if (line.size() <= 17)
                return std::nullopt;
            const std::string id = line.substr(17);
            if (id.size() > 18 || id.find_first_not_of("0123456789") != std::string::npos)
                return std::nullopt;
            return "archive" + std::to_string(std::stoull(id)) + "-disk" +
                   std::to_string(std::stoi(name.substr(4, 4)));
        }
    } catch (const platform::Error&) {
        // A volume file that does not read names nothing.
    }
    return std::nullopt;
}

}  // namespace

namespace detail {

void keepImage(int16_t n, bool reportFailure) {
    if (keptFolder.empty())
        return;
    try {
        const platform::MediumPath at = platform::resolvePath(app::floppyDrive + "\\");
        const std::optional<platform::SectorImage> read = at.medium->sectorImage();
        if (!read)
            return;  // a folder, not a diskette
        const std::string stem =
            setName(*at.medium)
                .value_or("diskette-" +
                          platform::volumeSerialText(read->image).value_or("unknown"));
        const std::filesystem::path folder = platform::pathFromUtf8(keptFolder);
        platform::keepDisketteImage(folder, stem, *read);
    } catch (const platform::Error& e) {
        // The diskette was read all the same: the set goes on without its image. A diskette
        // too damaged to read has had its report already.
        if (reportFailure)
            ui::appendLog("Diskette #" + std::to_string(n) + " not kept: " + e.description());
    }
}

}  // namespace detail

}  // namespace wizard
