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
#include <optional>
#include <vector>

#include "fs/file_system.h"
#include "platform/error.h"

namespace diskset {

namespace {

constexpr int64_t blockSize = 4096;
constexpr size_t chunkSize = 32 * blockSize;  // a multiple of the block size
constexpr double twoTo32 = 4294967296.0;

double reduce(double x) {
    return x > 4294967295.0 ? x - twoTo32 : x;
}

uint32_t bigEndianWord(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

#if defined(__GNUC__)
// `width` bytes of 16-bit lanes: 16 for the vectors every x86-64 has, 32 for AVX2.
template <int width>
struct LanesOf;
template <>
struct LanesOf<16> {
    using type = uint16_t __attribute__((vector_size(16)));
};
template <>
struct LanesOf<32> {
    using type = uint16_t __attribute__((vector_size(32)));
};
template <int width>
using Lanes = typename LanesOf<width>::type;

// Adds the place sums held in the lanes, weighted by their places, to `total`. An even lane
// holds places 0 (low byte) and 1 (high byte) of its words, an odd lane places 2 and 3; the
// low bytes' sum is the lane's sum less 256 times its high bytes' sum, exact because it is
// below 2^16.
template <int width>
[[gnu::always_inline]] inline void addPlaces(const Lanes<width>& all, const Lanes<width>& high,
                                             uint64_t& total) {
    const Lanes<width> low = all - (high << 8);
    uint64_t place[4] = {};
    for (int j = 0; j < width / 2; j += 2) {
        place[0] += low[j];
        place[1] += high[j];
        place[2] += low[j + 1];
        place[3] += high[j + 1];
    }
    total += (place[0] << 24) + (place[1] << 16) + (place[2] << 8) + place[3];
}

// The sum mod 2^32 of `steps` times 32 big-endian words at `p`, on a little-endian machine:
// the bytes at each of the four places of a word are summed on their own in 16-bit lanes (no
// byte swap per word), each lane summing its 16-bit values and, apart, their high bytes, and
// weighted every 256 steps, before a high-byte sum could overflow. A step is 128 bytes, in
// vectors of `width` bytes; each vector is held in its register once loaded, where the
// compiler would load it twice.
constexpr size_t stepBytes = 128;
constexpr size_t stepWords = stepBytes / 4;
constexpr size_t runSteps = 256;  // 256 high bytes of at most 255 fit a lane

template <int width>
[[gnu::always_inline]] inline uint64_t laneSum(const uint8_t* p, size_t steps) {
    constexpr int vectors = stepBytes / width;
    uint64_t total = 0;
    while (steps > 0) {
        const size_t run = std::min(runSteps, steps);
        Lanes<width> all[vectors] = {}, high[vectors] = {};
        for (size_t s = 0; s < run; ++s, p += stepBytes) {
            for (int v = 0; v < vectors; ++v) {
                Lanes<width> a;
                std::memcpy(&a, p + v * width, width);
                asm("" : "+x"(a));
                all[v] += a;
                high[v] += a >> 8;
            }
        }
        for (int v = 0; v < vectors; ++v)
            addPlaces<width>(all[v], high[v], total);
        steps -= run;
    }
    return total;
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] uint64_t laneSumAvx2(const uint8_t* p, size_t steps) {
    return laneSum<32>(p, steps);
}

const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
bool wideVectors = hasAvx2;
#endif

uint64_t stepSum(const uint8_t* p, size_t steps) {
#if defined(__x86_64__)
    if (wideVectors)
        return laneSumAvx2(p, steps);
#endif
    return laneSum<16>(p, steps);
}
#endif

// The sum mod 2^32 of the `words` big-endian words at `bytes`.
uint32_t wordSum(const uint8_t* bytes, size_t words) {
    uint64_t total = 0;
    size_t k = 0;
#if defined(__GNUC__)
    if constexpr (std::endian::native == std::endian::little) {
        total = stepSum(bytes, words / stepWords);
        k = words / stepWords * stepWords;
    }
#endif
    for (; k < words; ++k)
        total += bigEndianWord(bytes + 4 * k);
    return static_cast<uint32_t>(total);
}

}  // namespace

bool useWideVectors(bool wanted) {
#if defined(__GNUC__) && defined(__x86_64__)
    wideVectors = wanted && hasAvx2;
    return wideVectors;
#else
    (void)wanted;
    return false;
#endif
}

double blockChecksum(const uint8_t* buffer, int16_t count) {
    if (count < 1)
        return 0;
    const size_t words = static_cast<size_t>(count) / 4;
    double sum = wordSum(buffer, words);
    for (size_t k = words * 4; k < static_cast<size_t>(count); ++k)
        sum += buffer[k];
    return sum;
}

namespace {

// The checksum of the `length` bytes of `file`; nothing when the file gave fewer. A read
// fault raises platform::Error.
std::optional<double> sumOf(fs::BinaryFile& file, int64_t length) {
    // Every block before the last is whole; the last one starts here.
    const int64_t lastBlock = (length - 1) / blockSize * blockSize;
    std::vector<uint8_t> chunk(chunkSize);
    uint32_t before = 0;  // words of the blocks before the last, mod 2^32
    double last = 0;      // blockChecksum of the last block
    for (int64_t offset = 0; offset < length;) {
        const size_t want = static_cast<size_t>(
            std::min<int64_t>(static_cast<int64_t>(chunkSize), length - offset));
        // Fewer bytes than the length promised: the file changed under us, and whatever
        // would be summed is not its checksum.
        if (file.read(chunk.data(), want) != want)
            return std::nullopt;
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
    file.close();
    return reduce(before + last);
}

}  // namespace

double fileChecksum(const std::string& path) {
    int64_t length = 0;
    // A device that fails while the file is looked up or opened is no answer about the file:
    // the failure goes to the caller instead of a code that would pass as the file's.
    try {
        length = fs::fileLength(path);
    } catch (const platform::Error& e) {
        if (e.code() == platform::err::deviceIO)
            throw;
        return 1;
    }
    if (length < 1)
        return 2;

    std::unique_ptr<fs::BinaryFile> file;
    try {
        file = std::make_unique<fs::BinaryFile>(path);
    } catch (const platform::Error& e) {
        if (e.code() == platform::err::deviceIO)
            throw;
        return 3;
    }
    try {
        return sumOf(*file, length).value_or(3);
    } catch (const platform::Error&) {
        return 3;  // a read fault: no value read so far is the file's checksum
    }
}

double readBackChecksum(const std::string& path) {
    const int64_t length = fs::fileLength(path);
    if (length < 1)
        return 2;
    fs::BinaryFile file(path, true);
    const std::optional<double> sum = sumOf(file, length);
    if (!sum)
        platform::raise(platform::err::deviceIO);
    return *sum;
}

}  // namespace diskset
