// The old databases kept on this computer: folders "<card>_<date>_<time>" in the state
// folder's part for them, reached as a host folder medium (no drive holds the state folder).
#include "rebuild/kept_copies.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>

#include "fs/temp_area.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/session_log.h"
#include "platform/state_folder.h"
#include "platform/utf8_text.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

// Letters any host folder name takes; the rest become "_".
std::string folderWord(const std::string& text) {
    std::string word;
    for (unsigned char c : text) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                           (c >= 'a' && c <= 'z') || c == '-' || c >= 0x80;
        word += plain ? static_cast<char>(c) : '_';
    }
    return word;
}

// A folder as the log shows it, in the system's own separators.
std::string shownPath(std::filesystem::path path) {
    return platform::utf8Path(path.make_preferred());
}

std::optional<platform::Drive> driveOf(const std::string& drive) {
    if (drive.empty())
        return std::nullopt;
    return platform::drives().find(drive[0]);
}

// "2026-12-09_14-03-27", or "..._2" for the second copy made in that second.
std::string stamp(std::time_t when, int copy) {
    const std::string name = platform::sessionLogName(when, copy);
    return name.substr(0, name.size() - 4);
}

// Whether the folder `name` holds a copy of the card named `key`.
bool copyOfCard(const std::string& name, const std::string& key) {
    return name.size() > key.size() + 1 && name.compare(0, key.size(), key) == 0 &&
           name[key.size()] == '_' &&
           platform::isSessionLogName(name.substr(key.size() + 1) + ".log");
}

// The part of the state folder with every copy, when there is one.
std::optional<std::pair<std::filesystem::path, Tree>> existingPart() {
    const std::filesystem::path part = platform::statePart(platform::StatePart::previous);
    std::error_code ec;
    if (part.empty() || !std::filesystem::is_directory(part, ec))
        return std::nullopt;
    return std::make_pair(part, Tree{platform::openHostFolder(part), ""});
}

}  // namespace

std::string cardKey(const std::string& drive) {
    const std::optional<platform::Drive> d = driveOf(drive);
    if (d && !d->serial.empty())
        return folderWord(d->serial);
    if (d && !d->volumeName.empty())
        return folderWord(d->volumeName);
    return "card";
}

KeptCopy::KeptCopy(const std::string& drive) {
    const std::filesystem::path part = platform::makeStatePart(platform::StatePart::previous);
    part_ = Tree{platform::openHostFolder(part), ""};
    const std::string key = cardKey(drive);
    const std::time_t now = std::time(nullptr);
    for (int copy = 1;; ++copy) {
        name_ = key + "_" + stamp(now, copy);
        if (part_.medium->entry(name_))
            continue;
        part_.medium->makeFolder(name_);
        break;
    }
    tree_ = Tree{part_.medium, name_};
    shown_ = shownPath(part / platform::pathFromUtf8(name_));
}

void KeptCopy::remove() const {
    fs::removeTreeOn(*part_.medium, name_);
}

std::string keptCopiesFolder() {
    const std::filesystem::path part = platform::statePart(platform::StatePart::previous);
    return part.empty() ? std::string() : shownPath(part);
}

std::vector<std::string> keptCopies() {
    std::vector<std::string> shown;
    try {
        const auto part = existingPart();
        if (!part)
            return shown;
        for (const platform::MediumEntry& e : part->second.medium->list(""))
            if (e.folder && !e.link)
                shown.push_back(shownPath(part->first / platform::pathFromUtf8(e.name)));
    } catch (const platform::Error&) {
        // A state folder that cannot be read keeps nothing anyone could be told of.
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

void dropKeptCopiesOf(const std::string& drive) {
    const std::optional<platform::Drive> d = driveOf(drive);
    if (!d || d->serial.empty())
        return;  // no name tells this card from another
    const std::string key = folderWord(d->serial);
    try {
        const auto part = existingPart();
        if (!part)
            return;
        for (const platform::MediumEntry& e : part->second.medium->list("")) {
            if (!e.folder || e.link || !copyOfCard(e.name, key))
                continue;
            try {
                fs::removeTreeOn(*part->second.medium, e.name);
                ui::appendLog("Removed the copy of the previous database kept in " +
                              shownPath(part->first / platform::pathFromUtf8(e.name)));
            } catch (const platform::Error&) {
            }
        }
    } catch (const platform::Error&) {
    }
}

}  // namespace rebuild
