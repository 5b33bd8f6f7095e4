// Block sources that are the same on every machine: image files, bytes in memory, and the
// failing diskette that tests and scripts plant.
#include "platform/block_source.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/error.h"
#include "platform/utf8_text.h"

namespace platform {

namespace {

class MemoryBlocks : public BlockSource {
  public:
    explicit MemoryBlocks(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t bytes() const override { return bytes_.size(); }
    void read(uint64_t lba, uint32_t count, char* out) override {
        const uint64_t from = lba * blockBytes;
        const uint64_t want = uint64_t{count} * blockBytes;
        if (lba + count > sectors())
            raise(err::deviceIO);
        const uint64_t have = std::min<uint64_t>(want, bytes_.size() - from);
        std::memcpy(out, bytes_.data() + from, have);
        std::memset(out + have, 0, want - have);
    }

  private:
    std::string bytes_;
};

class ImageFileBlocks : public BlockSource {
  public:
    ImageFileBlocks(std::ifstream file, uint64_t size) : file_(std::move(file)), size_(size) {}
    uint64_t bytes() const override { return size_; }
    void read(uint64_t lba, uint32_t count, char* out) override {
        const uint64_t from = lba * blockBytes;
        const uint64_t want = uint64_t{count} * blockBytes;
        if (lba + count > sectors())
            raise(err::deviceIO);
        const auto have = static_cast<std::streamsize>(std::min<uint64_t>(want, size_ - from));
        file_.clear();
        if (!file_.seekg(static_cast<std::streamoff>(from)) || !file_.read(out, have))
            throw Error(err::deviceIO, "Diskette image unreadable at byte " + std::to_string(from));
        std::memset(out + have, 0, static_cast<size_t>(want - static_cast<uint64_t>(have)));
    }

  private:
    std::ifstream file_;
    uint64_t size_;
};

}  // namespace

std::unique_ptr<BlockSource> memoryBlocks(std::string bytes) {
    return std::make_unique<MemoryBlocks>(std::move(bytes));
}

// Opened by its path as such: a narrow name would be read in the Windows code page there.
std::unique_ptr<BlockSource> openImageBlocks(const std::filesystem::path& hostFile) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(hostFile, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        raise(err::fileNotFound);
    if (status.type() == std::filesystem::file_type::directory)
        raise(err::pathFileAccess);
    std::ifstream in(hostFile, std::ios::binary);
    const uint64_t size = std::filesystem::file_size(hostFile, ec);
    if (!in || ec)
        throw Error(err::deviceIO, "Cannot read the diskette image " + utf8Path(hostFile));
    return std::make_unique<ImageFileBlocks>(std::move(in), size);
}

void FaultyBlocks::read(uint64_t lba, uint32_t count, char* out) {
    bool failed = false;
    for (auto it = failures_.lower_bound(lba); it != failures_.end() && it->first < lba + count;
         ++it) {
        if (!it->second) {
            failed = true;
        } else if (*it->second > 0) {
            --*it->second;  // a marginal sector: this try counts whether or not it reads
            failed = true;
        }
    }
    if (failed)
        raise(err::deviceIO);
    inner_->read(lba, count, out);
}

}  // namespace platform
