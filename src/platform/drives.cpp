// What every drive table shares: the entry text, the look-up of a drive's medium, and the
// medium a host folder or an image file opens as.
#include "platform/drives.h"

#include <algorithm>
#include <cctype>

#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/image_medium.h"

namespace platform {

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

std::string fileSystemReadNote(char letter, const std::string& reason) {
    return std::string("Drive ") + letter + ": is read through the file system (" + reason +
           "): its sectors cannot be retried, remembered or kept as an image there. " +
           deviceAccessAdvice() + ".";
}

std::shared_ptr<Medium> openMedium(const std::filesystem::path& root,
                                   const std::map<uint64_t, std::optional<uint32_t>>& badSectors) {
    std::error_code ec;
    const bool device = std::filesystem::is_block_file(root, ec);
    if (!device && !std::filesystem::is_regular_file(root, ec))
        return openHostFolder(root);
    try {
        if (device) {
            // A diskette in a drive of this machine, read as the desktop reads the floppy.
            std::unique_ptr<BlockSource> source = openFloppyBlocks(root.string());
            if (!badSectors.empty())
                source = std::make_unique<FaultyBlocks>(std::move(source), badSectors);
            return openDisketteBlocks(std::move(source));
        }
        return openDisketteImage(root, badSectors);
    } catch (const Error& e) {
        if (e.code() != err::deviceIO)
            throw;
        return std::make_shared<UnreadableMedium>(e);
    }
}

}  // namespace platform
