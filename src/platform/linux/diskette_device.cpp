// A floppy device read past the kernel's block cache: aligned blocks with O_DIRECT where the
// device takes them, behind a stream the FAT reader reads as it would an image file.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <memory>
#include <streambuf>

#include "platform/error.h"
#include "platform/image_medium.h"

namespace platform {

namespace {

class DeviceBuffer : public std::streambuf {
  public:
    static constexpr size_t block = 64 * 1024;  // a multiple of every sector size

    DeviceBuffer(int fd, bool direct, uint64_t size) : fd_(fd), direct_(direct), size_(size) {
        void* p = nullptr;
        if (posix_memalign(&p, 4096, block) != 0)
            raise(err::outOfMemory);
        buffer_.reset(static_cast<char*>(p));
        setg(buffer_.get(), buffer_.get(), buffer_.get());
    }
    ~DeviceBuffer() override { ::close(fd_); }

  protected:
    int_type underflow() override {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        const uint64_t next = start_ + static_cast<uint64_t>(egptr() - eback());
        return load(next) ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }

    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        const uint64_t here = start_ + static_cast<uint64_t>(gptr() - eback());
        const int64_t base = dir == std::ios_base::beg   ? 0
                             : dir == std::ios_base::end ? static_cast<int64_t>(size_)
                                                         : static_cast<int64_t>(here);
        return seekpos(pos_type(base + off), std::ios_base::in);
    }

    pos_type seekpos(pos_type pos, std::ios_base::openmode) override {
        const auto p = static_cast<int64_t>(pos);
        if (p < 0 || static_cast<uint64_t>(p) > size_)
            return pos_type(off_type(-1));
        const auto target = static_cast<uint64_t>(p);
        if (target >= start_ && target < start_ + static_cast<uint64_t>(egptr() - eback())) {
            setg(eback(), eback() + (target - start_), egptr());
            return pos;
        }
        // Loaded lazily at the next read; an empty window that starts there until then.
        start_ = target;
        setg(buffer_.get(), buffer_.get(), buffer_.get());
        return pos;
    }

  private:
    // Loads the aligned block that holds `at`, positioned at `at`. False at the end.
    bool load(uint64_t at) {
        if (at >= size_)
            return false;
        const uint64_t aligned = at / block * block;
        ssize_t n;
        do {
            n = ::pread(fd_, buffer_.get(), block, static_cast<off_t>(aligned));
        } while (n < 0 && errno == EINTR);
        if (n < 0 && direct_ && errno == EINVAL) {
            // The device refuses direct reads after all: read what it gives.
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_DIRECT);
            direct_ = false;
            return load(at);
        }
        if (n <= 0 || static_cast<uint64_t>(n) <= at - aligned)
            return false;
        start_ = aligned;
        setg(buffer_.get(), buffer_.get() + (at - aligned), buffer_.get() + n);
        return true;
    }

    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    int fd_;
    bool direct_;
    uint64_t size_;
    uint64_t start_ = 0;  // the offset of the buffer's first byte
    std::unique_ptr<char, Free> buffer_;
};

class DeviceStream : public std::istream {
  public:
    explicit DeviceStream(std::unique_ptr<DeviceBuffer> buffer)
        : std::istream(buffer.get()), buffer_(std::move(buffer)) {}

  private:
    std::unique_ptr<DeviceBuffer> buffer_;
};

}  // namespace

std::shared_ptr<Medium> openDisketteDevice(const std::string& device) {
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
    if (::fstat(fd, &st) == 0 && S_ISBLK(st.st_mode)) {
        if (::ioctl(fd, BLKGETSIZE64, &size) != 0)
            size = 0;
    } else {
        size = static_cast<uint64_t>(st.st_size);
    }
    auto buffer = std::make_unique<DeviceBuffer>(fd, direct, size);
    return openDisketteImageStream(std::make_unique<DeviceStream>(std::move(buffer)));
}

}  // namespace platform
