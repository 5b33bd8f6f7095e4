// Host file operations shared by the file-system layer.
#include "fs/host_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/context.h"
#include "platform/error.h"

namespace fs::hostio {

void raiseFor(const std::filesystem::path& host, int errnoValue) {
    if (errnoValue == ENOENT) {
        struct stat st {};
        bool parentThere = stat(host.parent_path().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        platform::raise(parentThere ? platform::err::fileNotFound : platform::err::pathNotFound);
    }
    if (errnoValue == EISDIR)
        platform::raise(platform::err::pathFileAccess);
    platform::raise(platform::codeForErrno(errnoValue));
}

int openFile(const std::filesystem::path& host, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(host.c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        raiseFor(host, errno);
    // A folder opens for reading on the host; as a file it is not found.
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        platform::raise(platform::err::pathFileAccess);
    }
    return fd;
}

ssize_t readSome(int fd, void* buffer, size_t size) {
    for (;;) {
        ssize_t n = ::read(fd, buffer, size);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            platform::raise(platform::codeForErrno(errno));
    }
}

namespace {

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            platform::raise(platform::codeForErrno(errno));
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close is seen.
    void close() {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            platform::raise(platform::codeForErrno(errno));
    }

  private:
    int fd_;
};

}  // namespace

void writeAdmitted(int fd, char letter, const void* data, size_t size) {
    uint64_t admitted = platform::drives().admitWrite(letter, size);
    writeAll(fd, static_cast<const char*>(data), static_cast<size_t>(admitted));
    if (admitted < size)
        platform::raise(platform::err::diskFull);
}

void copyFile(const platform::HostPath& from, const platform::HostPath& to, bool overwrite) {
    Descriptor in(openFile(from.host, O_RDONLY | O_CLOEXEC));
    bool bad = platform::drives().isBad(from.letter, from.relative);
    platform::drives().checkModify(to.letter);
    if (bad)
        platform::raise(platform::err::deviceIO);

    struct stat st {};
    if (fstat(in.get(), &st) != 0)
        platform::raise(platform::codeForErrno(errno));
    struct stat target {};
    if (stat(to.host.c_str(), &target) == 0) {
        if (st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            platform::raise(platform::err::permissionDenied);  // a file onto itself
        if (!overwrite)
            platform::raise(platform::err::fileAlreadyExists);
    }
    Descriptor out(openFile(to.host, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC));

    // Chunks keep the drive's write accounting exact while the kernel moves the bytes.
    constexpr uint64_t chunk = uint64_t{8} << 20;
    bool kernelCopy = true;
    std::vector<char> buffer;
    uint64_t remaining = static_cast<uint64_t>(st.st_size);
    while (remaining > 0) {
        uint64_t wanted = std::min(chunk, remaining);
        uint64_t admitted = platform::drives().admitWrite(to.letter, wanted);
        uint64_t left = admitted;
        while (left > 0) {
            ssize_t moved = -1;
            if (kernelCopy) {
                moved = copy_file_range(in.get(), nullptr, out.get(), nullptr,
                                        static_cast<size_t>(left), 0);
                if (moved < 0) {
                    if (errno == EINTR)
                        continue;
                    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL &&
                        errno != EOPNOTSUPP && errno != EPERM)
                        platform::raise(platform::codeForErrno(errno));
                    kernelCopy = false;
                }
            }
            if (!kernelCopy) {
                if (buffer.empty())
                    buffer.resize(static_cast<size_t>(chunk));
                moved = readSome(in.get(), buffer.data(), static_cast<size_t>(left));
                writeAll(out.get(), buffer.data(), static_cast<size_t>(moved));
            }
            if (moved == 0)
                break;  // the source ended early
            left -= static_cast<uint64_t>(moved);
        }
        if (left > 0)
            break;
        if (admitted < wanted)
            platform::raise(platform::err::diskFull);
        remaining -= wanted;
    }
    out.close();
}

}  // namespace fs::hostio
