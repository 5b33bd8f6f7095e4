// Opening paths beneath a host folder medium's root: openat2 confines the whole resolution,
// and a kernel without it gets a walk name by name, none of them followed as a link.
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>

#include "platform/linux/host_calls.h"

namespace platform {

std::string hostRelative(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out.empty() ? "." : out;
}

namespace {

// openat2 confines the whole resolution; kernels without it get a walk name by name.
bool haveOpenat2 = true;
// openat2 takes no path of PATH_MAX bytes or more: a longer one is opened a part at a time,
// each part beneath the folder the part before it opened.
constexpr size_t partLimit = PATH_MAX / 2;

}  // namespace

int openHostBeneath(int rootFd, const std::string& rel, int flags, mode_t mode) {
    if (haveOpenat2 && rel.size() > partLimit) {
        const size_t cut = rel.rfind('/', partLimit);
        if (cut != std::string::npos && cut > 0) {
            Fd part(openHostBeneath(rootFd, rel.substr(0, cut), O_PATH | O_DIRECTORY));
            if (part.get() < 0)
                return -1;
            const int fd = openHostBeneath(part.get(), rel.substr(cut + 1), flags, mode);
            const int e = errno;
            part = Fd();
            errno = e;
            return fd;
        }
    }
    if (haveOpenat2) {
        open_how how{};
        how.flags = static_cast<uint64_t>(flags | O_CLOEXEC);
        how.mode = (flags & O_CREAT) != 0 ? mode : 0;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        for (;;) {
            long fd = ::syscall(SYS_openat2, rootFd, rel.c_str(), &how, sizeof how);
            if (fd >= 0)
                return static_cast<int>(fd);
            if (errno == EINTR || errno == EAGAIN)
                continue;
            if (errno != ENOSYS && errno != EPERM)
                return -1;
            break;
        }
        haveOpenat2 = false;
    }
    // Name by name, each opened without following a link.
    Fd dir(::dup(rootFd));
    if (dir.get() < 0)
        return -1;
    size_t start = 0;
    for (;;) {
        size_t slash = rel.find('/', start);
        std::string name =
            rel.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (name == "..") {
            errno = EXDEV;
            return -1;
        }
        if (slash == std::string::npos)
            return ::openat(dir.get(), name.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, mode);
        Fd next(::openat(dir.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0)
            return -1;
        dir = std::move(next);
        start = slash + 1;
    }
}

int openBeneath(int rootFd, const std::string& path, int flags, mode_t mode) {
    return openHostBeneath(rootFd, hostRelative(path), flags, mode);
}

Fd openParent(int rootFd, const std::string& path) {
    Fd fd(openBeneath(rootFd, parentOf(path), O_PATH | O_DIRECTORY));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP || errno == EXDEV)
            raise(err::pathNotFound);
        raiseErrno(errno);
    }
    return fd;
}

}  // namespace platform
