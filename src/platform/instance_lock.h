// One instance of the desktop program per user: an advisory lock (flock) on a file of the
// user's own, held for the life of the process. The kernel drops it when the process ends,
// however it ends, so a crash never blocks the next start.
#pragma once

#include <filesystem>

namespace platform {

enum class LockState {
    notTried,       // acquireInstanceLock has not run
    acquired,       // this process is the user's only instance
    heldElsewhere,  // another process of the user holds the lock
    unavailable,    // the lock file could not be made: no instance check is possible
};

// Takes the lock on `lockFile` (created mode 0600 when missing) and keeps it until
// releaseInstanceLock or the end of the process. Returns the resulting state, which
// instanceLockState reports from then on.
LockState acquireInstanceLock(const std::filesystem::path& lockFile);

// The user's lock file: $XDG_RUNTIME_DIR/velt-converter.lock when that folder is the user's
// own, else instance.lock in the private folder <host temp>/velt-<uid>-lock (created 0700).
// Raises platform::Error when neither can be had.
std::filesystem::path instanceLockFile();

// The state of the last acquireInstanceLock.
LockState instanceLockState();

// Lets the lock go (tests).
void releaseInstanceLock();

}  // namespace platform
