// A diskette image as a read-only medium: files and folders of a FAT12/FAT16 volume.
#pragma once

#include <filesystem>
#include <istream>
#include <memory>
#include <string>

#include "platform/medium.h"

namespace platform::fat {

class Volume;

class FatImage : public Medium {
  public:
    // The image in a host file or device node; raises as openDisketteImage does.
    explicit FatImage(const std::filesystem::path& hostFile);
    explicit FatImage(std::unique_ptr<std::istream> image);

    std::vector<MediumEntry> list(const std::string& folder) override;
    std::optional<MediumEntry> entry(const std::string& path) override;
    std::string resolve(const std::string& path) override;
    std::unique_ptr<MediumFile> open(const std::string& path, OpenMode mode, bool create) override;
    void makeFolder(const std::string& path) override;
    void removeFolder(const std::string& path) override;
    void deleteFile(const std::string& path) override;
    void rename(const std::string& from, const std::string& to) override;
    void copyFileFrom(Medium& source, const std::string& from, const std::string& to) override;
    uint64_t freeBytes() override;
    uint64_t clusterBytes() override;
    std::string label() override;
    void flushTree(const std::string& folder) override;

  private:
    std::shared_ptr<Volume> volume_;  // shared with the open files, which may outlive this
};

}  // namespace platform::fat
