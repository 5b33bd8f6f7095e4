// The machine's drives with a diskette image put into the floppy drive: the technician picks an
// image file, and drive a: holds it until another one is picked.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace platform {

class ImageDriveTable : public DriveTable {
  public:
    explicit ImageDriveTable(std::unique_ptr<DriveTable> machine) : machine_(std::move(machine)) {}

    // Drive a: holds the image in `hostFile` (UTF-8) from now on (read-only, its label the volume
    // name). An image too damaged to read is still put in: reading it reports the damage.
    void putImage(const std::string& hostFile);
    // The image in the drive, "" when none was picked.
    const std::string& image() const { return image_; }

    std::vector<Drive> list() override;
    std::optional<Drive> find(char letter) override;
    std::shared_ptr<Medium> mediumOf(char letter) override;
    // The machine's drives mount and release; an image needs neither.
    std::string mountForUse(char letter) override;
    std::string releaseDiskette(char letter) override;
    std::string releaseCard(char letter) override;

  private:
    Drive imageDrive() const;
    bool holdsImage(char letter) const;

    std::unique_ptr<DriveTable> machine_;
    std::string image_;
    std::shared_ptr<Medium> medium_;
};

// The next file of a numbered series, to propose after `hostFile`: "disk2.img" after
// "disk1.img", "set-010.img" after "set-009.img"; the same name when it carries no number.
std::string nextInSeries(const std::string& hostFile);

}  // namespace platform
