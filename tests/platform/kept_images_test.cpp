// Kept diskette images: the name each diskette gets, and what an image of the same diskette
// read again keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/kept_images.h"
#include "support/fat12_image.h"
#include "support/test_support.h"

namespace {

namespace fsys = std::filesystem;

platform::DisketteRead readOf(std::string image, std::vector<uint64_t> unread) {
    platform::DisketteRead r;
    for (uint64_t s : unread)
        image.replace(s * 512, 512, 512, '\0');
    r.image = std::move(image);
    r.unread = std::move(unread);
    r.identity = 33;
    return r;
}

std::string contents(const fsys::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(KeptImages, EachDisketteKeepsItsOwnNameAndWhatAnyAttemptRead) {
    testsupport::ScratchDir dir;
    const fsys::path kept = dir.path() / "kept";
    const std::string disk = testsupport::fat12Image(0x1A, {{"DATA    BIN", 2, 20 * 512}});
    std::string otherRoot = disk;
    otherRoot[19 * 512] = 'X';
    struct Case {
        const char* what;
        std::string image;
        std::vector<uint64_t> unread;  // by this attempt
        const char* file;              // the image written or updated
        std::vector<uint64_t> bad;     // what no attempt read
    } cases[] = {
        {"a failing diskette", disk, {40, 41}, "archive7-disk1.img", {40, 41}},
        {"the same diskette again: 40 reads now, 50 did before",
         disk,
         {41, 50},
         "archive7-disk1.img",
         {41}},
        {"another serial number",
         testsupport::fat12Image(0x1B, {}),
         {},
         "archive7-disk1~2.img",
         {}},
        {"the same serial, another root folder", otherRoot, {}, "archive7-disk1~3.img", {}},
        {"the first again, whole", disk, {}, "archive7-disk1.img", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(platform::keepDisketteImage(kept, "archive7-disk1", readOf(c.image, c.unread)),
                  kept / c.file);
        EXPECT_EQ(contents(kept / c.file), readOf(c.image, c.bad).image);
        EXPECT_EQ(platform::keptBadSectors(kept / c.file), c.bad);
        fsys::path bad = kept / c.file;
        EXPECT_EQ(fsys::exists(bad.replace_extension(".bad")), !c.bad.empty());
    }
    EXPECT_EQ(platform::volumeSerialText(disk), "0000001A");
    EXPECT_EQ(platform::volumeSerialText(std::string(512, '\0')), std::nullopt);
}

}  // namespace
