// A floppy device as a block source, read past the kernel's block cache (O_DIRECT where the
// device takes it), so that a diskette swapped since the last look is never served from what
// was cached of the one before, and a failing sector is reported, not hidden by read-ahead.
#include <fcntl.h>
#include <linux/fd.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/block_source.h"
#include "platform/error.h"

namespace platform {

namespace {

class FloppyBlocks : public BlockSource {
  public:
    FloppyBlocks(int fd, bool direct, uint64_t size, std::optional<Geometry> geometry)
        : fd_(fd), direct_(direct), size_(size), geometry_(geometry) {}
    ~FloppyBlocks() override { ::close(fd_); }

    uint64_t bytes() const override { return size_; }
    std::optional<Geometry> geometry() const override { return geometry_; }

    void read(uint64_t lba, uint32_t count, char* out) override {
        const size_t want = size_t{count} * blockBytes;
        if (lba + count > sectors())
            raise(err::deviceIO);
        // O_DIRECT wants a buffer aligned to the logical block; 4096 covers every device.
        void* p = nullptr;
        if (posix_memalign(&p, 4096, want) != 0)
            raise(err::outOfMemory);
        std::unique_ptr<char, Free> buffer(static_cast<char*>(p));
        size_t got = 0;
        while (got < want) {
            const ssize_t n = ::pread(fd_, buffer.get() + got, want - got,
                                      static_cast<off_t>(lba * blockBytes + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && direct_ && errno == EINVAL) {
                // The device refuses direct reads after all: read what it gives.
                ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_DIRECT);
                direct_ = false;
                continue;
            }
            if (n <= 0)
                raise(err::deviceIO);
            got += static_cast<size_t>(n);
        }
        std::memcpy(out, buffer.get(), want);
    }

  private:
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    int fd_;
    bool direct_;
    uint64_t size_;
    std::optional<Geometry> geometry_;
};

}  // namespace

std::unique_ptr<BlockSource> openFloppyBlocks(const std::string& device) {
    bool direct = true;
    int fd = ::open(device.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECT);
    if (fd < 0 && errno == EINVAL) {
        direct = false;
        fd = ::open(device.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0)
        raise(errno == ENOENT                        ? err::fileNotFound
              : errno == ENOMEDIUM || errno == ENXIO ? err::diskNotReady
                                                     : codeForErrno(errno));
    struct stat st {};
    uint64_t size = 0;
    std::optional<Geometry> geometry;
    if (::fstat(fd, &st) == 0 && S_ISBLK(st.st_mode)) {
        if (::ioctl(fd, BLKGETSIZE64, &size) != 0)
            size = 0;
        floppy_struct params{};
        if (::ioctl(fd, FDGETPRM, &params) == 0 && params.sect != 0)
            geometry = Geometry{params.sect, params.head};
    } else {
        size = static_cast<uint64_t>(st.st_size);
    }
    return std::make_unique<FloppyBlocks>(fd, direct, size, geometry);
}

}  // namespace platform
