// The folder drive table: letters bound to host folders, with the faults a medium can carry.
#include "platform/drives.h"

#include <algorithm>
#include <cctype>

#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/image_medium.h"
#include "platform/text_case.h"

namespace platform {

namespace {

char upper(char letter) {
    return platform::upperLetter(letter);
}

}  // namespace

std::string driveEntryText(char letter, int type, const std::string& volumeName) {
    std::string entry;
    entry += static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    entry += ':';
    if (!volumeName.empty() && type != driveRemovable)
        entry += " [" + volumeName + "]";
    return entry;
}

std::shared_ptr<Medium> DriveTable::mediumOf(char letter) {
    std::optional<Drive> drive = find(letter);
    if (!drive)
        raise(err::deviceUnavailable);
    if (!drive->ready || !drive->medium)
        raise(err::diskNotReady);
    return drive->medium;
}

namespace {

// An image too damaged to open is still a diskette in the drive: whatever reads it meets the
// damage, as a drive meets a diskette it cannot read.
class UnreadableMedium : public Medium {
  public:
    explicit UnreadableMedium(Error error) : error_(std::move(error)) {}
    std::vector<MediumEntry> list(const std::string&) override { throw error_; }
    std::optional<MediumEntry> entry(const std::string&) override { throw error_; }
    std::string resolve(const std::string&) override { throw error_; }
    std::unique_ptr<MediumFile> open(const std::string&, OpenMode, bool) override { throw error_; }
    void makeFolder(const std::string&) override { raise(err::permissionDenied); }
    void removeFolder(const std::string&) override { raise(err::permissionDenied); }
    void deleteFile(const std::string&) override { raise(err::permissionDenied); }
    void rename(const std::string&, const std::string&) override { raise(err::permissionDenied); }
    uint64_t freeBytes() override { return 0; }
    void flushTree(const std::string&) override {}

  private:
    Error error_;
};

}  // namespace

std::shared_ptr<Medium> openMedium(const std::filesystem::path& root,
                                   const std::map<uint64_t, std::optional<uint32_t>>& badSectors) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(root, ec))
        return openHostFolder(root);
    try {
        return openDisketteImage(root, badSectors);
    } catch (const Error& e) {
        if (e.code() != err::deviceIO)
            throw;
        return std::make_shared<UnreadableMedium>(e);
    }
}

void FolderDriveTable::define(char letter, int type, std::optional<MediumOptions> medium) {
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
