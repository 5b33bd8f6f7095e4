// The per-user instance lock on Windows: a named mutex in the session's namespace, named after
// the lock file's path. The system drops it when the process ends, however it ends. (The desktop
// program's own check is the window-class check of its front end.)
#include "platform/instance_lock.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/temp_folder.h"

namespace platform {

namespace {
HANDLE mutex = nullptr;
LockState state = LockState::notTried;
}  // namespace

LockState acquireInstanceLock(const std::filesystem::path& lockFile) {
    releaseInstanceLock();
    // A "\" is the namespace's separator; no other is allowed in the name.
    std::wstring name = L"Local\\velt-" + lockFile.wstring();
    for (size_t i = 6; i < name.size(); ++i) {
        if (name[i] == L'\\' || name[i] == L'/' || name[i] == L':')
            name[i] = L'_';
    }
    HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
    if (h == nullptr)
        return state = LockState::unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return state = LockState::heldElsewhere;
    }
    mutex = h;
    return state = LockState::acquired;
}

std::filesystem::path instanceLockFile() {
    return hostTempDirectory() / L"velt-converter.lock";
}

LockState instanceLockState() {
    return state;
}

void releaseInstanceLock() {
    if (mutex != nullptr)
        CloseHandle(mutex);
    mutex = nullptr;
    state = LockState::notTried;
}

}  // namespace platform
