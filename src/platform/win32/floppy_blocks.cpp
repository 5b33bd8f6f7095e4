// A floppy drive read raw through \\.\A:, past the file system and its caches: the diskette as
// the drive gives it, sector by sector, so that the block reader decides what a failing sector
// costs. Reads go in whole sectors into a buffer aligned to the sector, as
// FILE_FLAG_NO_BUFFERING wants them.
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <memory>

#include "platform/block_source.h"
#include "platform/error.h"
#include "platform/win32/floppy_blocks.h"
#include "platform/win32/win32_text.h"

namespace platform {

namespace {

class FloppyBlocks : public BlockSource {
  public:
    FloppyBlocks(HANDLE handle, const DISK_GEOMETRY& g)
        : handle_(handle), geometry_(Geometry{g.SectorsPerTrack, g.TracksPerCylinder}) {
        bytes_ = static_cast<uint64_t>(g.Cylinders.QuadPart) * g.TracksPerCylinder *
                 g.SectorsPerTrack * g.BytesPerSector;
    }
    // A drive that tells its size but not its geometry: the boot sector tells the tracks.
    FloppyBlocks(HANDLE handle, uint64_t bytes) : handle_(handle), bytes_(bytes) {}
    ~FloppyBlocks() override { CloseHandle(handle_); }

    uint64_t bytes() const override { return bytes_; }
    std::optional<Geometry> geometry() const override { return geometry_; }

    void read(uint64_t lba, uint32_t count, char* out) override {
        if (lba + count > sectors())
            raise(err::deviceIO);
        const size_t want = size_t{count} * blockBytes;
        // VirtualAlloc gives page-aligned memory, aligned for every sector size.
        std::unique_ptr<void, Release> buffer(
            VirtualAlloc(nullptr, want, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!buffer)
            raise(err::outOfMemory);
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(lba * blockBytes);
        DWORD got = 0;
        if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN) ||
            !ReadFile(handle_, buffer.get(), static_cast<DWORD>(want), &got, nullptr) ||
            got != want)
            raise(err::deviceIO);
        std::memcpy(out, buffer.get(), want);
    }

  private:
    struct Release {
        void operator()(void* p) const { VirtualFree(p, 0, MEM_RELEASE); }
    };
    HANDLE handle_;
    std::optional<Geometry> geometry_;
    uint64_t bytes_ = 0;
};

// The sizes of the standard diskette formats, 160 KB to 2.88 MB.
bool disketteSize(uint64_t bytes) {
    for (uint64_t sectors : {320, 360, 640, 720, 1440, 2400, 2880, 3360, 5760})
        if (bytes == sectors * blockBytes)
            return true;
    return false;
}

}  // namespace

std::unique_ptr<BlockSource> openFloppyBlocks(const std::string& device) {
    const std::wstring name = win32::widen(device);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        raise(e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? err::fileNotFound
              : e == ERROR_NOT_READY                                 ? err::diskNotReady
              : e == ERROR_ACCESS_DENIED                             ? err::permissionDenied
                                                                     : err::deviceIO);
    }
    // The geometry also tells a floppy drive from a USB stick or a card reader.
    DISK_GEOMETRY g{};
    DWORD returned = 0;
    if (DeviceIoControl(handle, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &g, sizeof g, &returned,
                        nullptr)) {
        if (g.MediaType != Unknown && g.MediaType != RemovableMedia && g.MediaType != FixedMedia &&
            g.BytesPerSector == blockBytes && g.SectorsPerTrack != 0)
            return win32::floppyBlocksOver(handle, g);
        CloseHandle(handle);
        raise(err::deviceUnavailable);
    }
    const DWORD e = GetLastError();
    // A driver without that request (Wine's, over an image file or a block device): a medium
    // of a diskette's size is taken as one, its geometry from the boot sector.
    LARGE_INTEGER size{};
    if ((e == ERROR_NOT_SUPPORTED || e == ERROR_INVALID_FUNCTION) && GetFileSizeEx(handle, &size) &&
        disketteSize(static_cast<uint64_t>(size.QuadPart)))
        return std::make_unique<FloppyBlocks>(handle, static_cast<uint64_t>(size.QuadPart));
    CloseHandle(handle);
    raise(e == ERROR_NOT_READY ? err::diskNotReady : err::deviceUnavailable);
}

std::unique_ptr<BlockSource> win32::floppyBlocksOver(HANDLE handle, const DISK_GEOMETRY& geometry) {
    return std::make_unique<FloppyBlocks>(handle, geometry);
}

}  // namespace platform
