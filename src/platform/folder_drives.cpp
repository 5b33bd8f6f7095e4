// The folder drive table: letters defined one by one by tests and scripts, each a type and,
// when ready, a host folder or image behind the fault wrapper.
#include "platform/folder_drives.h"

#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

char upper(char letter) {
    return upperLetter(letter);
}

}  // namespace

void FolderDriveTable::define(char letter, DriveType type, std::optional<MediumOptions> medium) {
    Slot s;
    s.type = type;
    if (medium) {
        s.medium = std::make_shared<FaultyMedium>(
            openMedium(medium->root, medium->faults.badSectors), medium->faults);
        s.options = std::move(medium);
    }
    slots_[upper(letter)] = std::move(s);
}

bool FolderDriveTable::defined(char letter) const {
    return slots_.count(upper(letter)) != 0;
}

void FolderDriveTable::insert(char letter, MediumOptions medium) {
    Slot* s = slot(letter);
    if (s == nullptr)
        raise(err::deviceUnavailable);
    s->medium = std::make_shared<FaultyMedium>(openMedium(medium.root, medium.faults.badSectors),
                                               medium.faults);
    s->options = std::move(medium);
}

void FolderDriveTable::eject(char letter) {
    Slot* s = slot(letter);
    if (s == nullptr)
        raise(err::deviceUnavailable);
    s->medium.reset();
    s->options.reset();
}

FaultyMedium* FolderDriveTable::medium(char letter) {
    Slot* s = slot(letter);
    return s == nullptr ? nullptr : s->medium.get();
}

FolderDriveTable::Slot* FolderDriveTable::slot(char letter) {
    auto it = slots_.find(upper(letter));
    return it == slots_.end() ? nullptr : &it->second;
}

Drive FolderDriveTable::describe(char letter, const Slot& s) const {
    Drive d;
    d.letter = letter;
    d.type = s.type;
    d.ready = s.medium != nullptr;
    if (d.ready) {
        const MediumOptions& m = *s.options;
        d.medium = s.medium;
        d.volumeName = m.label;
        d.serial = m.serial;
        try {
            if (m.label.empty())
                d.volumeName = s.medium->label();
            d.freeBytes = m.freeBytes ? *m.freeBytes : s.medium->freeBytes();
        } catch (const Error&) {
            // A damaged image shows as a diskette without a name; reading it reports the damage.
        }
    }
    d.entry = driveEntryText(letter, s.type, d.volumeName);
    return d;
}

std::vector<Drive> FolderDriveTable::list() {
    std::vector<Drive> out;
    for (const auto& [letter, s] : slots_)
        out.push_back(describe(letter, s));
    return out;
}

std::optional<Drive> FolderDriveTable::find(char letter) {
    Slot* s = slot(letter);
    if (s == nullptr)
        return std::nullopt;
    return describe(upper(letter), *s);
}

std::filesystem::path FolderDriveTable::hostRoot(char letter) {
    Slot* s = slot(letter);
    return s == nullptr || !s->options ? std::filesystem::path() : s->options->root;
}

std::shared_ptr<Medium> FolderDriveTable::mediumOf(char letter) {
    Slot* s = slot(letter);
    if (s == nullptr)
        raise(err::deviceUnavailable);
    if (!s->medium)
        raise(err::diskNotReady);
    return s->medium;
}

}  // namespace platform
