// A file read back past the caches: whole aligned blocks from the device into an aligned
// buffer, the tail cut off at the file's length. Each OS supplies only the read of one block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/medium.h"

namespace platform {

class UncachedFile : public MediumFile {
  public:
    explicit UncachedFile(uint64_t length);
    // A read of a whole block or more into memory aligned as `alignment` goes straight there.
    size_t read(void* out, size_t size) override;
    void write(const void* data, size_t size) override;

    // The buffer's alignment and the block read: multiples of every sector size.
    static constexpr size_t alignment = 4096;
    static constexpr size_t block = size_t{1} << 20;

  protected:
    // Reads up to `block` bytes from `offset` (the blocks come in order) into `buffer`; 0 at
    // the end of the file. Raises the platform error of a failed read.
    virtual size_t readBlock(char* buffer, uint64_t offset) = 0;

  private:
    struct Free {
        void operator()(char* p) const;
    };
    uint64_t length_;
    std::unique_ptr<char, Free> buffer_;
    uint64_t filled_ = 0, position_ = 0;
    size_t bufferPos_ = 0, bufferLen_ = 0;
};

}  // namespace platform
