// The per-user instance lock: flock on a file opened without following links, close-on-exec so
// that no child process keeps it alive.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/error.h"
#include "platform/temp_folder.h"

namespace platform {

namespace {
int lockFd = -1;
LockState state = LockState::notTried;
}  // namespace

LockState acquireInstanceLock(const std::filesystem::path& lockFile) {
    releaseInstanceLock();
    const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return state = LockState::unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        close(fd);
        return state = (e == EWOULDBLOCK ? LockState::heldElsewhere : LockState::unavailable);
    }
    lockFd = fd;
    return state = LockState::acquired;
}

std::filesystem::path instanceLockFile() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && std::filesystem::path(runtime).is_absolute()) {
        struct stat st {};
        if (lstat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
            (st.st_mode & 077) == 0)
            return std::filesystem::path(runtime) / "velt-converter.lock";
    }
    const auto folder =
        ensurePrivateFolder(hostTempDirectory() / ("velt-" + std::to_string(geteuid()) + "-lock"));
    return folder / "instance.lock";
}

LockState instanceLockState() {
    return state;
}

void releaseInstanceLock() {
    if (lockFd >= 0)
        close(lockFd);
    lockFd = -1;
    state = LockState::notTried;
}

}  // namespace platform
