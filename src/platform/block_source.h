// Block sources: a diskette image file, a floppy device, or bytes in memory, read as a drive
// reads a diskette: whole 512-byte sectors at a sector number. The block reader
// (block_reader.h) reads every diskette through one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform {

constexpr uint32_t blockBytes = 512;

// A drive's geometry where the device tells it.
struct Geometry {
    uint32_t sectorsPerTrack = 0;
    uint32_t heads = 0;
};

class BlockSource {
  public:
    virtual ~BlockSource() = default;
    // The medium's size in bytes; the last sector may be short in an image file.
    virtual uint64_t bytes() const = 0;
    // The geometry the device reports, nothing when it does not (an image file).
    virtual std::optional<Geometry> geometry() const { return std::nullopt; }
    // Reads `count` sectors from sector `lba` into `out` (count * blockBytes bytes; a short
    // last sector is padded with zeros). Raises err::deviceIO when any of them cannot be read.
    virtual void read(uint64_t lba, uint32_t count, char* out) = 0;

    uint64_t sectors() const { return (bytes() + blockBytes - 1) / blockBytes; }
};

// An image file. Raises err::fileNotFound when there is no such file, err::pathFileAccess for a
// folder, err::deviceIO when it cannot be opened for reading.
std::unique_ptr<BlockSource> openImageBlocks(const std::filesystem::path& hostFile);
// Bytes held in memory.
std::unique_ptr<BlockSource> memoryBlocks(std::string bytes);
// A floppy device of this machine, read past the system's caches. Raises err::fileNotFound when
// there is no such device, err::diskNotReady when it holds no diskette, the system's reason
// otherwise.
std::unique_ptr<BlockSource> openFloppyBlocks(const std::string& device);

// A source with failing sectors, as an ageing diskette has them: each sector in `failures`
// fails that many more times before it reads (nothing: it never reads).
class FaultyBlocks : public BlockSource {
  public:
    FaultyBlocks(std::unique_ptr<BlockSource> inner,
                 std::map<uint64_t, std::optional<uint32_t>> failures)
        : inner_(std::move(inner)), failures_(std::move(failures)) {}

    uint64_t bytes() const override { return inner_->bytes(); }
    std::optional<Geometry> geometry() const override { return inner_->geometry(); }
    void read(uint64_t lba, uint32_t count, char* out) override;

  private:
    std::unique_ptr<BlockSource> inner_;
    std::map<uint64_t, std::optional<uint32_t>> failures_;
};

}  // namespace platform
