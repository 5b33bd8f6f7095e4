// The archived checksum: the file's big-endian 32-bit words summed below 2^32, and the last
// one to three bytes added singly after the last word without a reduction of their own.
//
// Reducing by 2^32 after every word is arithmetic mod 2^32 as long as the sum stays below
// 2^32, which it does everywhere but after the trailing bytes of the last 4096-byte block. So
// the words are summed in wrapping 32-bit arithmetic over large chunks, and only the last
// block, the one that can hold trailing bytes, is kept apart for the final reduction.
#include "diskset/checksum.h"

#include <algorithm>
#include <bit>
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

uint32_t bigEndianWord(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

#if defined(__GNUC__) && defined(__x86_64__)
#define VELT_WORD_SUM_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VELT_WORD_SUM_CLONES
#endif

// The sum mod 2^32 of the `words` big-endian words at `bytes`. On a little-endian machine the
// bytes at each of the four places of a word are summed on their own in 16-bit lanes (no byte
// swap per word): each lane sums its 16-bit values and, apart, their high bytes; the low
// bytes' sum is the difference. The places are weighted every 256 steps, before a high-byte
// sum could overflow.
#if defined(__GNUC__)
VELT_WORD_SUM_CLONES
uint32_t wordSum(const uint8_t* bytes, size_t words) {
    using Lanes = uint16_t __attribute__((vector_size(32)));  // 16 lanes, 8 words
    constexpr int vectors = 4;                                // a step: 32 words
    constexpr size_t stepWords = 8 * vectors;
    constexpr size_t runSteps = 256;  // 256 high bytes of at most 255 fit a lane
    uint64_t total = 0;
    size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const uint8_t* p = bytes;
        for (size_t steps = words / stepWords; steps > 0;) {
            const size_t run = std::min(runSteps, steps);
            Lanes all[vectors] = {}, high[vectors] = {};
            for (size_t s = 0; s < run; ++s, p += 4 * stepWords) {
                for (int v = 0; v < vectors; ++v) {
                    Lanes a;
                    std::memcpy(&a, p + v * sizeof a, sizeof a);
                    all[v] += a;
                    high[v] += a >> 8;
                }
            }
            // An even lane holds places 0 (low byte) and 1 (high byte) of its words, an odd
            // lane places 2 and 3. The low bytes' sum is below 2^16, so the wrap is exact.
            uint64_t place[4] = {};
            for (int v = 0; v < vectors; ++v) {
                const Lanes low = all[v] - (high[v] << 8);
                for (int j = 0; j < 16; j += 2) {
                    place[0] += low[j];
                    place[1] += high[v][j];
                    place[2] += low[j + 1];
                    place[3] += high[v][j + 1];
                }
            }
            total += (place[0] << 24) + (place[1] << 16) + (place[2] << 8) + place[3];
            steps -= run;
        }
        k = words / stepWords * stepWords;
    }
    for (; k < words; ++k)
        total += bigEndianWord(bytes + 4 * k);
    return static_cast<uint32_t>(total);
}
#else
uint32_t wordSum(const uint8_t* bytes, size_t words) {
    uint32_t total = 0;
    for (size_t k = 0; k < words; ++k)
        total += bigEndianWord(bytes + 4 * k);
    return total;
}
#endif

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
