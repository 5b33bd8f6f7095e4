// The store of diskette attempts in a state folder: what a crash leaves, the bound, and what
// tells one diskette from another.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/block_reader.h"
#include "platform/block_source.h"
#include "platform/diskette_store.h"
#include "platform/image_medium.h"
#include "platform/state_folder.h"
#include "support/fat12_image.h"

namespace {

namespace fsys = std::filesystem;
using platform::blockBytes;

// A diskette with one file over clusters 2-40 (sectors 33-71).
std::string diskette(uint8_t serial) {
    return testsupport::fat12Image(serial, {{"DATA    BIN", 2, 39 * 512}});
}

// Counts requests; the nth (from 1) ends the program as a crash would.
class Counting : public platform::BlockSource {
  public:
    Counting(std::string bytes, std::vector<uint64_t>& log, size_t crashAt = 0)
        : inner_(platform::memoryBlocks(std::move(bytes))), log_(log), crashAt_(crashAt) {}
    uint64_t bytes() const override { return inner_->bytes(); }
    void read(uint64_t lba, uint32_t count, char* out) override {
        log_.push_back(lba);
        if (log_.size() == crashAt_)
            throw std::runtime_error("the program dies");
        inner_->read(lba, count, out);
    }

  private:
    std::unique_ptr<platform::BlockSource> inner_;
    std::vector<uint64_t>& log_;
    size_t crashAt_;
};

class DisketteStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fsys::temp_directory_path() /
                  ("velt-store-test-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fsys::remove_all(folder_);
        platform::setStateFolder(folder_);
        platform::forgetDiskettes();
    }
    void TearDown() override {
        platform::readWholeDiskettes(false);
        platform::setStateFolder({});
        platform::forgetDiskettes();
        fsys::remove_all(folder_);
    }
    std::shared_ptr<platform::Medium> open(const std::string& bytes, size_t crashAt = 0) {
        return platform::openDisketteBlocks(std::make_unique<Counting>(bytes, log, crashAt));
    }
    std::vector<fsys::path> stored(const char* ext) const {
        std::vector<fsys::path> out;
        for (const auto& e : fsys::directory_iterator(
                 folder_ / platform::statePartName(platform::StatePart::diskettes)))
            if (e.path().extension() == ext)
                out.push_back(e.path());
        return out;
    }
    fsys::path folder_;
    std::vector<uint64_t> log;
};

std::string fileBytes(const fsys::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST_F(DisketteStoreTest, ACrashLosesAtMostTheTrackBeingReadAndTheNextRunReadsTheRest) {
    const std::string disk = diskette(7);
    platform::readWholeDiskettes(true);
    auto dying = open(disk, 50);
    EXPECT_THROW(dying->disketteRead(), std::runtime_error);
    dying.reset();
    platform::forgetDiskettes();  // a new run remembers only what the files hold

    // The map claims no sector that the image does not hold as the diskette has it.
    ASSERT_EQ(stored(".map").size(), 1u);
    const std::string map = fileBytes(stored(".map")[0]);
    const std::string image = fileBytes(stored(".img")[0]);
    std::istringstream lines(map);
    std::string line;
    uint64_t held = 0;
    while (std::getline(lines, line)) {
        uint64_t first = 0, count = 0;
        char mark = 0;
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0])))
            continue;
        std::istringstream(line) >> first >> count >> mark;
        if (mark != '+')
            continue;
        held += count;
        EXPECT_EQ(image.substr(first * blockBytes, count * blockBytes),
                  disk.substr(first * blockBytes, count * blockBytes));
    }
    EXPECT_EQ(held, 49u * 18) << map;

    log.clear();
    auto again = open(disk);
    EXPECT_FALSE(again->disketteReadBefore());
    EXPECT_EQ(again->disketteRead()->image, disk);
    ASSERT_EQ(log.size(), 2u + (160 - 49));
    EXPECT_EQ(log[2], 49u * 18) << "after the start that tells the diskette, the lost track on";

    platform::forgetDiskettes();
    log.clear();
    EXPECT_TRUE(open(disk)->disketteReadBefore());
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(DisketteStoreTest, TheNewestDiskettesAreKeptTheOldestRemoved) {
    for (int serial = 0; serial <= static_cast<int>(platform::storedDiskettes); ++serial)
        open(diskette(static_cast<uint8_t>(serial)))->disketteRead();
    EXPECT_EQ(stored(".map").size(), platform::storedDiskettes);
    EXPECT_EQ(stored(".img").size(), platform::storedDiskettes);
    platform::forgetDiskettes();
    EXPECT_FALSE(open(diskette(0))->disketteReadBefore()) << "the oldest is gone";
    EXPECT_TRUE(
        open(diskette(static_cast<uint8_t>(platform::storedDiskettes)))->disketteReadBefore());
}

TEST_F(DisketteStoreTest, TheStartReadInBothAttemptsTellsTheDiskette) {
    const std::string disk = diskette(9);
    open(disk)->disketteRead();
    std::string otherRoot = disk;
    otherRoot[19 * 512] = 'X';
    std::string otherSecondFat = disk;
    otherSecondFat[10 * 512 + 100] = 1;
    struct Case {
        const char* what;
        std::string bytes;
        std::map<uint64_t, std::optional<uint32_t>> failures;
        bool same;
    } cases[] = {
        {"the same diskette", disk, {}, true},
        {"a first-FAT sector read only from the second FAT", disk, {{1, std::nullopt}}, true},
        {"a root sector that does not read", disk, {{20, std::nullopt}}, true},
        {"another root folder", otherRoot, {}, false},
        {"another second FAT", otherSecondFat, {}, false},
        {"another serial number", diskette(10), {}, false},
        {"a boot sector that does not read", disk, {{0, std::nullopt}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<platform::BlockSource> source = platform::memoryBlocks(c.bytes);
        if (!c.failures.empty())
            source = std::make_unique<platform::FaultyBlocks>(std::move(source), c.failures);
        try {
            auto m = platform::openDisketteBlocks(std::move(source));
            EXPECT_EQ(m->disketteReadBefore(), c.same);
        } catch (const std::exception&) {
            EXPECT_FALSE(c.same) << "only a diskette that cannot be read at all fails here";
        }
    }
}

}  // namespace
