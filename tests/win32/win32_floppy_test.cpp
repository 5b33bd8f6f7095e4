// The Windows floppy block source: its sector-aligned reads without buffering, over an image
// file opened as the raw drive is (Wine gives no raw floppy drive), and a raw open refused.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/block_reader.h"
#include "platform/error.h"
#include "platform/image_medium.h"
#include "platform/win32/floppy_blocks.h"
#include "support/test_support.h"

namespace {

const std::filesystem::path sample =
    std::filesystem::path(__FILE__).parent_path() / "../../samples/site42";

TEST(Win32Floppy, ReadsADisketteInAlignedSectorsWithoutBuffering) {
    platform::forgetDiskettes();
    const std::filesystem::path image = sample / "images" / "disk1.img";
    HANDLE handle =
        CreateFileW(image.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DISK_GEOMETRY g{};
    g.Cylinders.QuadPart = 80;
    g.MediaType = F3_1Pt44_512;
    g.TracksPerCylinder = 2;
    g.SectorsPerTrack = 18;
    g.BytesPerSector = 512;
    auto source = platform::win32::floppyBlocksOver(handle, g);
    EXPECT_EQ(source->bytes(), 1474560u);
    ASSERT_TRUE(source->geometry());
    EXPECT_EQ(source->geometry()->sectorsPerTrack, 18u);

    auto medium = platform::openDisketteBlocks(std::move(source));
    EXPECT_EQ(medium->label(), "DISK1");
    auto file = medium->open("disk0001.dat", platform::OpenMode::read, false);
    std::string text(100, '\0');
    text.resize(file->read(text.data(), text.size()));
    EXPECT_EQ(text, testsupport::readFile(sample / "disk1" / "disk0001.dat"));
    const auto read = medium->sectorImage();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->unread.empty());
    EXPECT_EQ(read->image, testsupport::readFile(image));
    platform::forgetDiskettes();
}

TEST(Win32Floppy, ARawOpenOfNoDriveIsRefused) {
    try {
        platform::openFloppyBlocks("\\\\.\\Q:");
        ADD_FAILURE() << "opened";
    } catch (const platform::Error& e) {
        EXPECT_NE(e.code(), 0);
    }
}

}  // namespace
