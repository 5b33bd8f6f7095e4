// Reading one diskette: the checks that it is the one asked for and of the same set, the
// descriptor of diskette 1, the copy of its tree into its diskette area, and the outcome for
// the wizard. Every rejection is reported here; the housekeeping steps (removal of an old area,
// the count, the copied volume file) are passed over when they fail, each on its own.
#include "diskset/reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diskset/archive.h"
#include "fs/card_names.h"
#include "fs/copy.h"
#include "fs/diskette_log.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/block_reader.h"
#include "platform/error.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"

namespace archive {

namespace {

using ui::crlf;

std::string volumeFileName(int16_t n) {
    return (n <= 9 ? "disk000" : "disk00") + std::to_string(n) + ".dat";
}

// Reports a wrong or unusable diskette and asks for it again before the box.
DisketteRead refuse(const std::string& text, int16_t n) {
    app::errorText = text;
    ui::appendLog("ERROR " + text);
    ui::promptForDiskette(n);
    ui::errorBox(text);
    return DisketteRead::refused;
}

// The status then says what the next OK does: read the same diskette again.
DisketteRead failedToCreate(const std::string& folder, const std::string& letter, int16_t n) {
    ui::report("Failed to create directory: " + folder + crlf +
               "Ensure there is enough free space available on drive " + letter + ":\\");
    ui::promptForDiskette(n);
    return DisketteRead::refused;
}

// A file of the diskette whose sectors did not read: that, not a wrong diskette, is the cause.
DisketteRead unreadable(const std::string& path, const std::string& why, int16_t n) {
    refuse("Cannot read " + path + crlf + why + crlf + fs::unreadableAdvice(n), n);
    return DisketteRead::unreadable;
}

std::string insertText(int16_t n) {
    return std::string(crlf) + "Insert diskette #" + std::to_string(n);
}

// Empties the area: an old one is removed (passed over when that fails) and it is made anew.
bool makeArea(const std::string& folder) {
    try {
        if (fs::entryExists(folder + "\\"))
            fs::removeFolderTree(folder + "\\");
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
    return archive::parseNumber(digits, static_cast<int>(text.size()), 0) == app::archiveId;
}

std::string getTemp() {
    try {
        return fs::getTempFolder();
    } catch (const platform::Error&) {
        return "";
    }
}

// Two files of the set whose names the card folds into one ("\\db\\Main.dat on diskette #1 and
// \\db\\main.dat on diskette #2"): the merge would join them, and the card would list both.
std::optional<std::string> caseTwins() {
    std::vector<std::string> names;
    for (int16_t i = 1; i <= app::fileCount; ++i) {
        const std::string& name = app::fileTable(i).name;
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    const auto twins = fs::cardTwins(names);
    if (!twins)
        return std::nullopt;
    const auto where = [](const std::string& name) {
        for (int16_t i = 1; i <= app::fileCount; ++i)
            if (app::fileTable(i).name == name)
                return name + " on diskette #" + std::to_string(app::fileTable(i).disk);
        return name;
    };
    return where(twins->first) + " and " + where(twins->second);
}

// Diskette 1 starts a set: the flat area is emptied and the descriptor parsed into the set.
std::optional<DisketteRead> startSet(const std::string& temp, const std::string& letter) {
    const std::string flat = fs::flatArea(temp);
    if (!makeArea(flat))
        return failedToCreate(flat, letter, 1);
    // A new set is judged on its own keycode file.
    app::keycodeRecFound = false;
    const std::string descriptor = app::floppyDrive + "\\" + "archive.dat";
    const int code = parseArchive(descriptor);
    if (code == platform::err::fileNotFound)
        return refuse(descriptor + " " + platform::errorDescription(code) + insertText(1), 1);
    if (code == platform::err::deviceIO)
        return unreadable(descriptor, "Some of its sectors on the diskette could not be read.", 1);
    if (code == parseFault::tooManyEntries)
        return refuse(descriptor + " lists " + std::to_string(descriptorEntries()) +
                          " files; the converter can check at most " +
                          std::to_string(app::FileTable::capacity) + " files of a set." + crlf +
                          "This set cannot be converted: ask support.",
                      1);
    if (code != 0)
        return refuse("Wrong diskette!" + insertText(1), 1);
    if (auto twins = caseTwins())
        return refuse("Names differ only in letter case: " + *twins + crlf +
                          "The card would hold them as one file: this set cannot be converted. "
                          "Ask support.",
                      1);
    return std::nullopt;
}

// Only diskette 1's volume file belongs in the image. One that is gone already is no matter;
// one that stays would reach the card beside the single volume.
void dropVolumeFile(const std::string& path) {
    try {
        fs::FileSystemObject().GetFile(path).Delete();
    } catch (const platform::Error& e) {
        if (e.code() != platform::err::fileNotFound)
            throw;
    }
}

}  // namespace

// The window is kept alive while the diskette is read, track by track.
DisketteReader::DisketteReader(int16_t n, std::string listLetter)
    : n_(n), listLetter_(std::move(listLetter)) {
    platform::observeDisketteReads([](uint64_t, uint64_t) { ui::keepAlive(); });
}

DisketteReader::~DisketteReader() {
    platform::observeDisketteReads({});
}

std::optional<DisketteRead> DisketteReader::open() {
    if (n_ > fs::lastDiskette) {
        ui::report(std::string("Too many diskettes!") + crlf, "ERROR ");
        ui::endProgram();
    }
    volumeName_ = volumeFileName(n_);
    volumePath_ = app::floppyDrive + "\\" + volumeName_;

    // The first look at the diskette reads its start: the boot sector, the FATs, the root.
    if (!fs::FileSystemObject().FileExists(volumePath_))
        return refuse("Wrong diskette!" + insertText(n_), n_);
    if (fs::disketteReadBefore(app::floppyDrive + "\\"))
        ui::appendLog("Diskette #" + std::to_string(n_) + " was read before; it is not read again");
    try {
        firstLine_ = firstLineOf(volumePath_, lineEnded_);
    } catch (const platform::Error& e) {
        if (e.code() == platform::err::deviceIO)
            return unreadable(volumePath_, e.description(), n_);
        ui::report("Failed to open " + volumePath_);
        ui::promptForDiskette(n_);
        return DisketteRead::refused;
    }

    const std::string temp = getTemp();
    area_ = fs::diskArea(temp, n_);
    if (!makeArea(area_))
        return failedToCreate(area_, listLetter_, n_);
    if (n_ == 1)
        return startSet(temp, listLetter_);
    return std::nullopt;
}

DisketteRead DisketteReader::copy() {
    const std::string idText =
        firstLine_.size() >= labelLength ? firstLine_.substr(labelLength) : std::string();
    if (!lineEnded_ || !sameArchiveId(idText)) {
        ui::report(std::string(crlf) + "Wrong Archive ID at diskette #" + std::to_string(n_) +
                       crlf + "Expected " + ui::numberText(app::archiveId) + " found " +
                       excerpt(idText, lineEnded_),
                   "ERROR ");
        // The next OK starts the set again: it asks for diskette #1.
        ui::setStatus(std::string("Please press the OK button") + crlf +
                      "to read the set again from diskette #1");
        return DisketteRead::otherSet;
    }

    try {
        app::diskEntryCount = fs::countFolderEntries(app::floppyDrive + "\\");
    } catch (const platform::Error&) {
    }
    // No entries: the division by zero is passed over and the bar does not move.
    const int16_t step =
        app::diskEntryCount != 0 ? static_cast<int16_t>(100 / app::diskEntryCount) : int16_t{0};

    // A failure the copy does not report itself reaches the event boundary: the diskette has
    // not been read.
    if (fs::copyFileChecked(app::floppyDrive + "\\", area_ + "\\", step) == -1)
        return DisketteRead::copyFailed;
    fs::logUnreadSectors(app::floppyDrive + "\\", n_);
    if (n_ > 1)
        dropVolumeFile(area_ + "\\" + volumeName_);
    return app::currentDisk == app::totalDisks ? DisketteRead::last : DisketteRead::more;
}

std::string setSummary() {
    return std::string(crlf) + "Archive ID = " + ui::numberText(app::archiveId) + crlf +
           "Total diskettes num = " + std::to_string(app::totalDisks);
}

}  // namespace archive
