// The file checksum: the known values, the failure values, and bit-identity with the steps
// of the algorithm written out literally, on random and adversarial data.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "diskset/checksum.h"
#include "diskset/diskset_support.h"
#include "platform/error.h"
#include "support/set_builder.h"

namespace {

// ---- The algorithm, step by step, in doubles ----

double literalReduce(double x) {
    return x > 4294967295.0 ? x - 4294967296.0 : x;
}

double literalBlock(const std::array<uint8_t, 4096>& buffer, int count) {
    double blockSum = 0;
    const int words = count / 4;
    for (int k = 0; k <= words - 1; ++k) {
        const double w = buffer[4 * k] * 16777216.0 + buffer[4 * k + 1] * 65536.0 +
                         buffer[4 * k + 2] * 256.0 + buffer[4 * k + 3];
        blockSum = literalReduce(blockSum + w);
    }
    for (int k = words * 4; k < count; ++k)
        blockSum = blockSum + buffer[k];
    return blockSum;
}

double literalFile(const std::string& bytes) {
    if (bytes.size() < 1)
        return 2;
    std::array<uint8_t, 4096> buffer{};
    double sum = 0;
    double remaining = static_cast<double>(bytes.size());
    size_t at = 0;
    while (remaining > 0) {
        const int n = remaining > 4096 ? 4096 : static_cast<int>(remaining);
        for (size_t k = 0; k < 4096 && at < bytes.size(); ++k, ++at)
            buffer[k] = static_cast<uint8_t>(bytes[at]);
        sum = literalReduce(sum + literalBlock(buffer, n));
        remaining = remaining - n;
    }
    return sum;
}

std::string bytesOf(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// A word near 2^32 at the start of the file's first block, then zeros up to `lastBlock`, then
// `tail` (the last block).
std::string nearWrap(size_t lastBlock, const std::string& tail) {
    std::string bytes(lastBlock, '\0');
    bytes.replace(0, 4, bytesOf({0xFF, 0xFF, 0xFF, 0xFF}));
    return bytes + tail;
}

class ChecksumTest : public disksettest::DisksetTest {
  protected:
    void TearDown() override {
        diskset::useWideVectors(true);
        DisksetTest::TearDown();
    }
    double checksumOf(const std::string& bytes) {
        return diskset::fileChecksum(onC("f.bin", bytes));
    }
    // Runs the checks with the widest vectors the processor has, and as on one without.
    template <class F>
    void onEveryPath(F checks) {
        for (bool wide : {true, false}) {
            SCOPED_TRACE(wide ? "wide vectors" : "baseline vectors");
            diskset::useWideVectors(wide);
            checks();
        }
    }
};

TEST_F(ChecksumTest, KnownValues) {
    EXPECT_EQ(checksumOf("abc"), 294);
    EXPECT_EQ(checksumOf("abcd"), 1633837924);
    EXPECT_EQ(checksumOf("abcde"), 1633838025);
    EXPECT_EQ(checksumOf(std::string(8, '\xFF')), 4294967294);
    EXPECT_EQ(checksumOf(bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1})), 0);
}

TEST_F(ChecksumTest, FailureValues) {
    EXPECT_EQ(checksumOf(""), 2);
    EXPECT_EQ(diskset::fileChecksum("C:\\missing.bin"), 1);
    EXPECT_EQ(diskset::fileChecksum("C:\\nofolder\\missing.bin"), 1);
    EXPECT_EQ(diskset::fileChecksum("Q:\\undefined.bin"), 1);  // no such drive
    drives.eject('A');
    EXPECT_EQ(diskset::fileChecksum("A:\\x.bin"), 1);  // drive not ready
}

TEST_F(ChecksumTest, UnopenableFileGivesThree) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    const std::string path = onC("locked.bin", "abcd");
    std::filesystem::permissions(scratch.path() / "c" / "locked.bin", std::filesystem::perms::none);
    EXPECT_EQ(diskset::fileChecksum(path), 3);
}

TEST_F(ChecksumTest, ReadFaultIsNotTheChecksum) {
    // 1 MiB and one byte: the fault strikes whatever the chunking.
    const std::string bytes = testsupport::noise(1 << 20 | 1, 7);
    std::filesystem::path disk = scratch.make("floppy");
    testsupport::writeFile(disk / "db" / "data.dat", bytes);
    insertDiskette(disk, {"db\\data.dat"});
    const double sum = diskset::fileChecksum("A:\\db\\data.dat");
    EXPECT_EQ(sum, 3);
    EXPECT_NE(sum, literalFile(bytes));
}

// The card check's read past the caches: the same sums, and a file it cannot read whole is
// never given a value that could pass for its checksum.
TEST_F(ChecksumTest, ReadBackGivesTheSameSumsAndRaisesWhatItCannotRead) {
    for (const std::string& bytes : {std::string(), std::string("abc"), testsupport::noise(4097, 3),
                                     testsupport::noise(1 << 20 | 5, 4)})
        EXPECT_EQ(diskset::readBackChecksum(onC("f.bin", bytes)), literalFile(bytes))
            << bytes.size();
    EXPECT_THROW(diskset::readBackChecksum("C:\\missing.bin"), platform::Error);
    std::filesystem::path disk = scratch.make("floppy");
    testsupport::writeFile(disk / "db" / "data.dat", "abcd");
    insertDiskette(disk, {"db\\data.dat"});
    EXPECT_THROW(diskset::readBackChecksum("A:\\db\\data.dat"), platform::Error);
}

// Lengths around every place the block and chunk structure could go wrong.
TEST_F(ChecksumTest, IdenticalToTheStepsOnRandomData) {
    std::vector<size_t> lengths;
    for (size_t n = 1; n <= 17; ++n)
        lengths.push_back(n);
    for (size_t base : {4096u, 8192u, 65536u, 131072u, 262144u, 524288u})
        for (size_t d = 0; d <= 9; ++d)
            lengths.push_back(base - 4 + d);
    std::mt19937 random(2005);
    for (int k = 0; k < 12; ++k)
        lengths.push_back(1 + random() % 700000);
    onEveryPath([&] {
        for (size_t length : lengths) {
            const std::string bytes = testsupport::noise(length, static_cast<unsigned>(length));
            EXPECT_EQ(checksumOf(bytes), literalFile(bytes)) << "length " << length;
        }
    });
}

TEST_F(ChecksumTest, IdenticalToTheStepsNearTheWrap) {
    const std::string ff4 = std::string(4, '\xFF');
    std::vector<std::string> cases = {
        std::string(4096, '\xFF'),
        std::string(4097, '\xFF'),
        std::string(4099, '\xFF'),
        std::string(300001, '\xFF'),
        std::string(262147, '\xFF'),
        // The sum before the last block and the last block's words both at 2^32 - 1, then
        // three trailing 0xFF: the result passes 2^32 - 1 by 764.
        nearWrap(4096, ff4 + "\xFF\xFF\xFF"),
        nearWrap(262144, ff4 + "\xFF\xFF\xFF"),
        nearWrap(262144 + 4096, std::string(4092, '\0') + ff4 + "\xFF\xFF\xFF"),
        nearWrap(4096, ff4 + "\xFF"),
        nearWrap(8192, ff4),
    };
    for (int k = 0; k < 20; ++k) {
        // Words just below 2^32 with a few random low bits.
        std::string bytes = testsupport::noise(4096 * (1 + k % 3) + static_cast<size_t>(k % 4),
                                               static_cast<unsigned>(100 + k));
        for (size_t i = 0; i + 3 < bytes.size(); i += 4)
            bytes.replace(i, 3, "\xFF\xFF\xFF");
        cases.push_back(bytes);
    }
    onEveryPath([&] {
        for (const std::string& bytes : cases) {
            EXPECT_EQ(checksumOf(bytes), literalFile(bytes)) << "length " << bytes.size();
        }
        EXPECT_EQ(checksumOf(nearWrap(4096, ff4 + "\xFF\xFF\xFF")), 4294967295.0 + 764);
    });
}

TEST_F(ChecksumTest, BlockOfEveryCountMatchesTheSteps) {
    std::array<uint8_t, 4096> buffer{};
    std::mt19937 random(77);
    for (auto& b : buffer)
        b = static_cast<uint8_t>(random() & 0xFF);
    onEveryPath([&] {
        for (int count = 1; count <= 4096; count += (count < 40 || count > 4060) ? 1 : 97) {
            EXPECT_EQ(diskset::blockChecksum(buffer.data(), static_cast<int16_t>(count)),
                      literalBlock(buffer, count))
                << "count " << count;
        }
        buffer.fill(0xFF);
        EXPECT_EQ(diskset::blockChecksum(buffer.data(), 4096), literalBlock(buffer, 4096));
        EXPECT_EQ(diskset::blockChecksum(buffer.data(), 4095), literalBlock(buffer, 4095));
    });
}

// The set builder's own sums, which every whole-set test relies on, agree with the steps.
TEST_F(ChecksumTest, SetBuilderSumsAgree) {
    for (size_t length : {1u, 3u, 4u, 4097u, 9000u}) {
        const std::string bytes = testsupport::noise(length, 3);
        EXPECT_EQ(testsupport::archivedChecksum(bytes), literalFile(bytes));
    }
    const std::string wrap = nearWrap(4096, std::string(4, '\xFF') + "\xFF\xFF\xFF");
    EXPECT_EQ(testsupport::archivedChecksum(wrap), literalFile(wrap));
}

}  // namespace
