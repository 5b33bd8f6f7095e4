// A diskette image as a read-only medium: files and folders of a FAT12/FAT16 volume.
#pragma once

#include <memory>
#include <string>

#include "platform/block_source.h"
#include "platform/medium.h"

namespace platform::fat {

class Volume;

class FatImage : public Medium {
  public:
    // The diskette in the source, read through the block reader; raises 57 when it holds no
    // usable FAT12/FAT16 file system.
    explicit FatImage(std::unique_ptr<BlockSource> source);

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
    std::optional<DisketteRead> disketteRead() override;
    bool disketteReadBefore() override;

  private:
    std::shared_ptr<Volume> volume_;  // shared with the open files, which may outlive this
};

}  // namespace platform::fat
