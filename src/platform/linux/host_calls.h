// The calls the Linux host folder medium is built on: descriptors, paths opened beneath the
// medium's root (never through a link, never above the root), flushing, and reads past the
// page cache.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/error.h"
#include "platform/medium.h"

namespace platform {

// A descriptor closed when it goes.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = other.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

[[noreturn]] inline void raiseErrno(int e) {
    raise(codeForErrno(e));
}

// A converter path ("\\" between names) as a host path below the root ("." for the root).
std::string hostRelative(const std::string& path);
// Opens `rel`, a host path ("/" between names, "." for the folder itself), beneath `rootFd`.
// -1 with errno set when it cannot.
int openHostBeneath(int rootFd, const std::string& rel, int flags, mode_t mode = 0);
// The same for a converter path.
int openBeneath(int rootFd, const std::string& path, int flags, mode_t mode = 0);
// The folder that holds `path`, opened to work on its entry by name. Raises err::pathNotFound when
// there is no such folder.
Fd openParent(int rootFd, const std::string& path);

// Flushes one file or folder; a folder its file system cannot flush is passed over.
void syncFd(int fd, bool folder);
// Flushes the tree at `rel` beneath `topFd`: files first, then folders, then the folder itself.
void syncBelow(int topFd, const std::string& rel);
// True when no page of the file is in the page cache.
bool noPageCached(int fd, uint64_t length);
// The file `fd`, opened with O_DIRECT, read block by block from the device.
std::unique_ptr<MediumFile> readDirect(Fd fd, uint64_t length);

}  // namespace platform
