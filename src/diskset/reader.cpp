// Reading one diskette: the checks that it is the one asked for and of the same set, the
// descriptor of diskette 1, the copy of its tree into its diskette area, and the result for
// the wizard. Every rejection is reported here; the housekeeping steps (drive lookup, removal
// of an old area, the count, the progress bar, the caption, the copied volume file) are passed
// over when they fail, each on its own.
#include "diskset/reader.h"

#include <algorithm>
#include <string>

#include "diskset/archive.h"
#include "fs/copy.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/block_reader.h"
#include "platform/error.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/util_module.h"

namespace archive {

namespace {

using UtilModule::crlf;

std::string volumeFileName(int16_t n) {
    return (n <= 9 ? "disk000" : "disk00") + std::to_string(n) + ".dat";
}

// Reports a wrong or unusable diskette and asks for it again before the box.
int16_t refuse(const std::string& text, int16_t n) {
    app::errorText = text;
    UtilModule::appendLog("ERROR " + text);
    UtilModule::promptForDiskette(n);
    UtilModule::errorBox(text);
    return -1;
}

int16_t failedToCreate(const std::string& folder, const std::string& letter) {
    UtilModule::report("Failed to create directory: " + folder + crlf +
                       "Ensure there is enough free space available on drive " + letter + ":\\");
    return -1;
}

// Empties the area: an old one is removed (passed over when that fails) and it is made anew.
bool makeArea(const std::string& folder) {
    try {
        if (fs::entryExists(folder + "\\"))
            UtilModule::removeFolderTree(folder + "\\");
    } catch (const platform::Error&) {
    }
    try {
        fs::makeFolder(folder);
    } catch (const platform::Error&) {
        return false;
    }
    return true;
}

constexpr size_t labelLength = 17;
// The longest Archive ID text compared, leading zeros and all.
constexpr size_t idLimit = 32767;
// The most of a wrong Archive ID text a report shows.
constexpr size_t excerptLength = 100;

// The first line of a volume file without its line end (LF, or CR LF), reading no more of the
// file than an Archive ID line can take; `ended` is false for a line longer than that, which
// is then cut. Raises for an empty file, as reading past its end does.
std::string firstLineOf(const std::string& path, bool& ended) {
    std::string line(labelLength + idLimit + 2, '\0');
    fs::BinaryFile file(path);
    const size_t got = file.read(reinterpret_cast<uint8_t*>(line.data()), line.size());
    file.close();
    if (got == 0)
        platform::raise(platform::err::inputPastEnd);
    const size_t lf = line.find('\n');
    ended = lf < got || got < line.size();
    line.resize(std::min(lf, got));
    if (ended && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// What a report shows of a wrong Archive ID text: all of a short one, the start of a long one.
std::string excerpt(const std::string& text, bool whole) {
    if (whole && text.size() <= excerptLength)
        return text;
    return text.substr(0, excerptLength) + "...";
}

// The Archive ID text of a volume file matches the set's when it is all digits and reads as
// the same number; leading zeros carry no meaning.
bool sameArchiveId(const std::string& text) {
    if (text.empty() || text.size() > idLimit)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    const auto* digits = reinterpret_cast<const uint8_t*>(text.data());
    return UtilModule::parseNumber(digits, static_cast<int>(text.size()), 0) == app::archiveId;
}

// The most sector numbers the log line lists before it cuts them short.
constexpr size_t listedSectors = 10;

// One log line for a diskette with sectors that never read: how many, and what they cost. A
// folder among them makes the diskette damaged: that fails the read here, before a copy walk
// could pass over the folder it cannot list.
void logUnreadSectors(int16_t n) {
    const std::optional<platform::DisketteRead> read = fs::disketteRead(app::floppyDrive + "\\");
    if (!read || read->unread.empty())
        return;
    const size_t count = read->unread.size();
    std::string text = "Diskette #" + std::to_string(n) + ": " + std::to_string(count) +
                       (count == 1 ? " sector" : " sectors") + " could not be read (";
    for (size_t i = 0; i < count && i < listedSectors; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(read->unread[i]);
    text += count > listedSectors ? ", ...)" : ")";
    if (read->unneeded != 0)
        text += "; " + std::to_string(read->unneeded) +
                " in free space or after the end of a file, not needed";
    if (read->fromOtherFat != 0)
        text += "; " + std::to_string(read->fromOtherFat) + " of a FAT, read from its other copy";
    if (read->filesHit.empty()) {
        text += "; no file hit";
    } else {
        text += "; files hit:";
        for (const std::string& file : read->filesHit)
            text += " " + app::floppyDrive + "\\" + file;
    }
    UtilModule::appendLog(text);
}

// Keeps the window alive while the diskette is read, track by track.
struct ObserveRead {
    ObserveRead() {
        platform::observeDisketteReads([](uint64_t, uint64_t) { ui::keepAlive(); });
    }
    ~ObserveRead() { platform::observeDisketteReads({}); }
    ObserveRead(const ObserveRead&) = delete;
    ObserveRead& operator=(const ObserveRead&) = delete;
};

}  // namespace

int16_t readDiskette(int16_t n) {
    if (n > UtilModule::lastDiskette) {
        UtilModule::report(std::string("Too many diskettes!") + crlf, "ERROR ");
        UtilModule::endProgram();
    }
    const std::string volumeName = volumeFileName(n);
    const std::string volumePath = app::floppyDrive + "\\" + volumeName;
    const std::string number = std::to_string(n);
    fs::FileSystemObject fso;
    const ObserveRead observe;

    // The first look at the diskette reads it whole.
    if (!fso.FileExists(volumePath))
        return refuse(std::string("Wrong diskette!") + crlf + "Insert diskette #" + number, n);
    logUnreadSectors(n);

    std::string firstLine;
    bool lineEnded = true;
    try {
        firstLine = firstLineOf(volumePath, lineEnded);
    } catch (const platform::Error&) {
        UtilModule::report("Failed to open " + volumePath);
        return -1;
    }

    std::string letter;
    try {
        const std::string entry = ui::window().driveList().drive();
        letter = fso.GetDrive(fso.GetDriveName(entry)).DriveLetter();
    } catch (const platform::Error&) {
    }
    std::string temp;
    try {
        temp = UtilModule::getTempFolder();
    } catch (const platform::Error&) {
    }

    const std::string area = UtilModule::diskArea(temp, n);
    if (!makeArea(area))
        return failedToCreate(area, letter);

    if (n == 1) {
        const std::string flat = UtilModule::flatArea(temp);
        if (!makeArea(flat))
            return failedToCreate(flat, letter);
        // A new set is judged on its own keycode file.
        app::keycodeRecFound = false;
        const std::string descriptor = app::floppyDrive + "\\" + "archive.dat";
        const int code = parseArchive(descriptor);
        if (code == platform::err::fileNotFound) {
            return refuse(descriptor + " " + platform::errorDescription(code) + crlf +
                              "Insert diskette #" + number,
                          n);
        }
        if (code != 0)
            return refuse(std::string("Wrong diskette!") + crlf + "Insert diskette #" + number, n);
        try {
            ui::window().progressBar1().setMax(static_cast<float>(app::totalDisks * 100));
        } catch (const platform::Error&) {
        }
    }

    const std::string idText =
        firstLine.size() >= labelLength ? firstLine.substr(labelLength) : std::string();
    if (!lineEnded || !sameArchiveId(idText)) {
        app::wizardStep = 0;
        UtilModule::report(std::string(crlf) + "Wrong Archive ID at diskette #" + number + crlf +
                               "Expected " + UtilModule::numberText(app::archiveId) + " found " +
                               excerpt(idText, lineEnded),
                           "ERROR ");
        UtilModule::promptForDiskette(n);
        return -1;
    }

    try {
        app::diskEntryCount = UtilModule::countFolderEntries(app::floppyDrive + "\\");
    } catch (const platform::Error&) {
    }
    // No entries: the division by zero is passed over and the bar does not move.
    const int16_t step =
        app::diskEntryCount != 0 ? static_cast<int16_t>(100 / app::diskEntryCount) : int16_t{0};

    // A failure the copy does not report itself reaches the event boundary: the diskette has
    // not been read.
    if (UtilModule::copyFileChecked(app::floppyDrive + "\\", area + "\\", step) == -1)
        return -2;

    // Only diskette 1's volume file belongs in the image. One that is gone already is no
    // matter; one that stays would reach the card beside the single volume.
    if (n > 1) {
        try {
            fso.GetFile(area + "\\" + volumeName).Delete();
        } catch (const platform::Error& e) {
            if (e.code() != platform::err::fileNotFound)
                throw;
        }
    }

    const int16_t result = app::currentDisk == app::totalDisks ? 1 : 0;

    if (n == 1) {
        app::errorText = std::string(crlf) +
                         "Archive ID = " + UtilModule::numberText(app::archiveId) + crlf +
                         "Total diskettes num = " + std::to_string(app::totalDisks);
        try {
            ui::window().label2().setCaption(app::errorText);
        } catch (const platform::Error&) {
        }
        UtilModule::appendLog(app::errorText);
    }
    return result;
}

}  // namespace archive
