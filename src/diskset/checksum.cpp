// The archived checksum: the file's big-endian 32-bit words summed below 2^32, and the last
// one to three bytes added singly after the last word without a reduction of their own.
//
// Reducing by 2^32 after every word is arithmetic mod 2^32 as long as the sum stays below
// 2^32, which it does everywhere but after the trailing bytes of the last 4096-byte block. So
// the words are summed in wrapping 32-bit arithmetic over large chunks, and only the last
// block, the one that can hold trailing bytes, is kept apart for the final reduction.
#include "diskset/checksum.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "fs/file_system.h"
#include "platform/error.h"

namespace checksum {

namespace {

constexpr int64_t blockSize = 4096;
constexpr size_t chunkSize = 64 * blockSize;  // a multiple of the block size
constexpr double twoTo32 = 4294967296.0;

double reduce(double x) {
    return x > 4294967295.0 ? x - twoTo32 : x;
}

// The sum mod 2^32 of the `words` big-endian words at `bytes`.
uint32_t wordSum(const uint8_t* bytes, size_t words) {
    uint32_t sum = 0;
    for (size_t k = 0; k < words; ++k) {
        uint32_t word;
        std::memcpy(&word, bytes + 4 * k, sizeof word);
        sum += __builtin_bswap32(word);
    }
    return sum;
}

}  // namespace

double blockChecksum(const uint8_t* buffer, int16_t count) {
    if (count < 1)
        return 0;
    const size_t words = static_cast<size_t>(count) / 4;
    double sum = wordSum(buffer, words);
    for (size_t k = words * 4; k < static_cast<size_t>(count); ++k)
        sum += buffer[k];
    return sum;
}

double fileChecksum(const std::string& path) {
    int64_t length = 0;
    try {
        length = fs::fileLength(path);
    } catch (const platform::Error&) {
        return 1;
    }
    if (length < 1)
        return 2;

    std::unique_ptr<fs::BinaryFile> file;
    try {
        file = std::make_unique<fs::BinaryFile>(path);
    } catch (const platform::Error&) {
        return 3;
    }

    // Every block before the last is whole; the last one starts here.
    const int64_t lastBlock = (length - 1) / blockSize * blockSize;
    std::vector<uint8_t> chunk(chunkSize);
    uint32_t before = 0;  // words of the blocks before the last, mod 2^32
    double last = 0;      // blockChecksum of the last block
    try {
        for (int64_t offset = 0; offset < length;) {
            const size_t want = static_cast<size_t>(
                std::min<int64_t>(static_cast<int64_t>(chunkSize), length - offset));
            // Fewer bytes than the length promised: the file changed under us, and whatever
            // would be summed is not its checksum.
            if (file->read(chunk.data(), want) != want)
                return 3;
            const int64_t end = offset + static_cast<int64_t>(want);
            if (end <= lastBlock) {
                before += wordSum(chunk.data(), want / 4);
            } else {
                const size_t head = static_cast<size_t>(lastBlock - offset);
                before += wordSum(chunk.data(), head / 4);
                last = blockChecksum(chunk.data() + head, static_cast<int16_t>(want - head));
            }
            offset = end;
        }
        file->close();
    } catch (const platform::Error&) {
        return 3;  // a read fault: no value read so far is the file's checksum
    }
    return reduce(before + last);
}

}  // namespace checksum
