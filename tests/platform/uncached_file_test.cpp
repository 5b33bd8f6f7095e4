// The block loop of a read past the caches: whatever blocks the device gives, the reader gets
// the file's bytes, exactly its length, in any size of read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/uncached_file.h"

namespace {

constexpr size_t blockSize = size_t{1} << 20;

// A device holding `device` bytes (a file's bytes, then what lies after it in its last
// sectors) that hands out at most `most` bytes a block.
class FakeDevice : public platform::UncachedFile {
  public:
    FakeDevice(std::string device, uint64_t length, size_t most)
        : UncachedFile(length), device_(std::move(device)), most_(most) {}
    void close() override {}
    size_t calls = 0;
    bool aligned = true;
    bool inOrder = true;

  protected:
    size_t readBlock(char* buffer, uint64_t offset) override {
        ++calls;
        aligned = aligned && reinterpret_cast<uintptr_t>(buffer) % 4096 == 0;
        inOrder = inOrder && offset == next_;
        const size_t n =
            offset >= device_.size() ? 0 : std::min({most_, block, device_.size() - offset});
        device_.copy(buffer, n, offset);
        next_ = offset + n;
        return n;
    }

  private:
    std::string device_;
    size_t most_;
    uint64_t next_ = 0;
};

std::string pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    return s;
}

TEST(UncachedFileTest, ReadsTheFileWholeWhateverTheBlocks) {
    struct Case {
        const char* name;
        size_t length;         // the file's
        size_t device;         // bytes the device gives in all
        size_t most;           // the most it gives a block
        size_t chunk;          // the caller's read size
        size_t got;            // bytes the reads give in all
        bool aligned = false;  // the caller's memory aligned as the device's (read into at once)
    } cases[] = {
        {"empty", 0, 4096, blockSize, 100, 0},
        {"one byte in a whole sector", 1, 4096, blockSize, 100, 1},
        {"tail cut off the last block", blockSize + 5, 2 * blockSize, blockSize, 4096,
         blockSize + 5},
        {"reads across blocks", 3 * 4096 + 17, 4 * 4096, 4096, 5000, 3 * 4096 + 17},
        {"one read for everything", 2 * blockSize + 7, 3 * blockSize, blockSize, 3 * blockSize,
         2 * blockSize + 7},
        {"short blocks", 10000, 12288, 512, 777, 10000},
        {"device shorter than the length", 9000, 8192, 4096, 1000, 8192},
        {"whole blocks straight into the caller's memory", 2 * blockSize + 7, 3 * blockSize,
         blockSize, blockSize, 2 * blockSize + 7, true},
        {"a short block, then through the buffer", 10000, 12288, 512, blockSize, 10000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string device = pattern(c.device);
        FakeDevice file(device, c.length, c.most);
        std::string got;
        // One byte past the alignment unless the case wants it aligned.
        std::vector<char> memory(c.chunk + 2 * 4096);
        char* chunk = memory.data() + (4096 - reinterpret_cast<uintptr_t>(memory.data()) % 4096) +
                      (c.aligned ? 0 : 1);
        for (;;) {
            const size_t n = file.read(chunk, c.chunk);
            got.append(chunk, n);
            if (n == 0)
                break;
        }
        EXPECT_EQ(got.size(), c.got);
        EXPECT_EQ(got, device.substr(0, c.got));
        EXPECT_TRUE(file.aligned);
        EXPECT_TRUE(file.inOrder);
        // No block is asked for past the length.
        EXPECT_LE(file.calls, (c.length + c.most - 1) / c.most + 1);
    }
}

TEST(UncachedFileTest, WritingIsRefused) {
    FakeDevice file("abc", 3, blockSize);
    try {
        file.write("x", 1);
        FAIL() << "a read-back file took a write";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.code(), platform::err::badFileMode);
    }
}

}  // namespace
